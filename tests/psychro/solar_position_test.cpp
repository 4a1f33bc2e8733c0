#include "format/solar_position.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace kestrum {
namespace {

// Golden, Colorado: 39.75 N, 104.87 W, US Mountain time.
constexpr double kLat = 39.75;
constexpr double kLonW = 104.87;
constexpr double kTz = -7.0;

double Golden(int day, int hour) { return HourlyCosZenith(day, hour, kLat, kLonW, kTz); }

TEST(HourlyCosZenith, WorkedValuesForGolden) {
  EXPECT_NEAR(Golden(172, 13), 0.9541, 0.00005);
  EXPECT_NEAR(Golden(172, 5), 0.0343, 0.00005);   // sunrise inside the hour
  EXPECT_NEAR(Golden(172, 6), 0.1597, 0.00005);
  EXPECT_EQ(Golden(172, 21), 0.0);
  EXPECT_NEAR(Golden(1, 17), 0.0568, 0.00005);    // sunset inside the hour
}

TEST(HourlyCosZenith, HoursZeroAndTwentyFiveAreHourTwentyFour) {
  for (int day : {1, 100, 172, 365}) {
    EXPECT_EQ(Golden(day, 0), Golden(day, 24)) << day;
    EXPECT_EQ(Golden(day, 25), Golden(day, 24)) << day;
    EXPECT_EQ(Golden(day, 24), 0.0) << day;  // the sun is down at midnight
  }
}

TEST(HourlyCosZenith, NeverNegativeAndZeroAtNight) {
  for (double lat : {-66.0, -45.0, -10.0, 0.0, 23.0, 39.75, 60.0, 66.0}) {
    for (int day = 1; day <= 365; ++day) {
      for (int hour = 0; hour <= 25; ++hour) {
        const double c = HourlyCosZenith(day, hour, lat, kLonW, kTz);
        ASSERT_GE(c, 0.0) << lat << " " << day << " " << hour;
        ASSERT_LE(c, 1.0) << lat << " " << day << " " << hour;
      }
      if (std::fabs(lat) <= 45.0) {
        EXPECT_EQ(HourlyCosZenith(day, 2, lat, kLonW, kTz), 0.0) << lat << " " << day;
      }
    }
  }
}

TEST(HourlyCosZenith, HourTwelveIsJudgedByItsStart) {
  // 66 N on the time-zone meridian at midwinter: the sun is up for about 50 minutes around
  // noon (11:58). Hour 12 (11:00 to 12:00) counts as an afternoon hour, so its edge nearer
  // to noon is taken to be its start, 11:00, when the sun is still down: it gives 0 although
  // the sun is up in its second half. Hour 13 is judged by its start, 12:00, and is lit.
  const double lat = 66.0;
  const double lonW = 105.0;
  EXPECT_EQ(HourlyCosZenith(355, 11, lat, lonW, kTz), 0.0);
  EXPECT_EQ(HourlyCosZenith(355, 12, lat, lonW, kTz), 0.0);
  EXPECT_GT(HourlyCosZenith(355, 13, lat, lonW, kTz), 0.0);
  EXPECT_EQ(HourlyCosZenith(355, 14, lat, lonW, kTz), 0.0);
}

TEST(HourlyCosZenith, PolarDayKeepsTheSunUpEveryHour) {
  // Hammerfest, 70.66 N, 23.68 E, UTC+1, at midsummer; and the mirror case in the south.
  for (int hour = 0; hour <= 25; ++hour) {
    const double c = HourlyCosZenith(172, hour, 70.66, -23.68, 1.0);
    EXPECT_GT(c, 0.0) << hour;
    EXPECT_LT(c, 0.75) << hour;
    EXPECT_GT(HourlyCosZenith(355, hour, -75.0, -166.7, 12.0), 0.0) << hour;
  }
  // Highest near local noon, lowest near midnight.
  EXPECT_GT(HourlyCosZenith(172, 12, 70.66, -23.68, 1.0), HourlyCosZenith(172, 1, 70.66, -23.68, 1.0));
}

TEST(HourlyCosZenith, PolarNightKeepsTheSunDownEveryHour) {
  for (int hour = 0; hour <= 25; ++hour) {
    EXPECT_EQ(HourlyCosZenith(355, hour, 70.66, -23.68, 1.0), 0.0) << hour;
    EXPECT_EQ(HourlyCosZenith(172, hour, -75.0, -166.7, 12.0), 0.0) << hour;
    EXPECT_EQ(HourlyCosZenith(1, hour, 90.0, 0.0, 0.0), 0.0) << hour;
  }
}

TEST(HourlyCosZenith, ThePolesHaveAFiniteAnswer) {
  for (int hour = 1; hour <= 24; ++hour) {
    const double c = HourlyCosZenith(172, hour, 90.0, 0.0, 0.0);
    EXPECT_TRUE(std::isfinite(c));
    EXPECT_NEAR(c, std::sin(0.4092797 * std::sin((172 + 284) * 2.0 * std::numbers::pi / 365.0)),
                1e-9);
  }
}

}  // namespace
}  // namespace kestrum
