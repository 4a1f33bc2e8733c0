#include "format/sun_alignment.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "run/hourly_table.h"
#include "run/time_base_check.h"

namespace kestrum {
namespace {

// A clear year of global horizontal radiation (W/m2) whose sun stands where the site's
// clock puts it `earlyHours` later: hour i holds the sun of hour i + whole hours (wrapping
// around the year), seen by a clock running in the zone timeZone - the rest (at most half
// an hour).
std::vector<float> ClearYear(double latitude, double longitudeWest, double timeZone,
                             double earlyHours) {
  const long whole = std::lround(earlyHours);
  std::vector<double> sun(kHoursPerYear);
  HourlySunHeights(latitude, longitudeWest, timeZone - (earlyHours - whole), sun);
  std::vector<float> global(kHoursPerYear);
  for (long i = 0; i < kHoursPerYear; ++i) {
    global[static_cast<size_t>(i)] =
        static_cast<float>(1000.0 * sun[static_cast<size_t>((i + whole + kHoursPerYear) % kHoursPerYear)]);
  }
  return global;
}

struct ShiftCase {
  const char* name;
  double latitude, longitudeWest, timeZone;
  double earlyHours;  // how far the data's sun runs ahead of the clock
  int shift;          // the whole-hour shift that aligns it
};

TEST(AlignWithSun, FindsTheWholeHourShiftOfAClearYear) {
  const ShiftCase cases[] = {
      {"aligned", 39.74, 105.18, -7, 0.0, 0},
      {"a third of an hour early stays aligned", 39.74, 105.18, -7, 0.3, 0},
      {"a third of an hour late stays aligned", 39.74, 105.18, -7, -0.3, 0},
      {"0.7 h early rounds to 1", 45.0, -8.0, 1, 0.7, 1},
      {"0.7 h late rounds to -1", 45.0, -8.0, 1, -0.7, -1},
      {"one hour early", 41.98, 87.92, -6, 1.0, 1},
      {"two hours late", 41.98, 87.92, -6, -2.0, -2},
      {"five hours early (UTC for US Eastern)", 36.1, 79.95, -5, 5.0, 5},
      {"ten and a half", 36.1, 79.95, -5, 10.6, 11},
      {"twelve late, the end of the range", 36.1, 79.95, -5, -12.0, -12},
      {"southern site", -33.95, -151.18, 10, -1.0, -1},
      {"beyond the polar circle", 69.65, -18.96, 1, 2.0, 2},
  };
  for (const ShiftCase& c : cases) {
    const auto global = ClearYear(c.latitude, c.longitudeWest, c.timeZone, c.earlyHours);
    const auto a = AlignWithSun(global, c.latitude, c.longitudeWest, c.timeZone);
    ASSERT_TRUE(a.has_value()) << c.name;
    EXPECT_EQ(a->shiftHours, c.shift) << c.name;
    EXPECT_NEAR(a->exactShiftHours, c.earlyHours, 0.06) << c.name;
    EXPECT_GT(a->correlation, 0.95) << c.name;
  }
}

TEST(AlignWithSun, TheShiftNamedMovesEveryRowToWhereTheSunIs) {
  // A year stamped in UTC at a site one hour east of Greenwich: its sun runs one hour
  // early. Moving the row of hour s to hour s + 1 (what --time-shift 1 does) aligns it.
  const auto utc = ClearYear(45.0, -8.0, 0.0, 0.0);
  const auto a = AlignWithSun(utc, 45.0, -8.0, 1.0);
  ASSERT_TRUE(a.has_value());
  ASSERT_EQ(a->shiftHours, 1);
  std::vector<float> moved(kHoursPerYear);
  for (size_t s = 0; s < moved.size(); ++s) moved[(s + 1) % moved.size()] = utc[s];
  const auto after = AlignWithSun(moved, 45.0, -8.0, 1.0);
  ASSERT_TRUE(after.has_value());
  EXPECT_EQ(after->shiftHours, 0);
}

TEST(AlignWithSun, OnlyTheMeasuredHoursAreSetAgainstTheSun) {
  // The first 3000 hours measured and aligned; the rest made up by the cleaning pass from
  // a sun three hours early. Counting every hour names a shift; counting the measured
  // ones does not.
  auto global = ClearYear(39.74, 105.18, -7, 0.0);
  const auto early = ClearYear(39.74, 105.18, -7, 3.0);
  std::copy(early.begin() + 3000, early.end(), global.begin() + 3000);
  auto measured = std::make_unique<bool[]>(kHoursPerYear);
  for (int i = 0; i < kHoursPerYear; ++i) measured[static_cast<size_t>(i)] = i < 3000;
  const std::span<const bool> mask(measured.get(), static_cast<size_t>(kHoursPerYear));

  const auto all = AlignWithSun(global, 39.74, 105.18, -7);
  ASSERT_TRUE(all.has_value());
  EXPECT_GE(all->shiftHours, 2);
  const auto read = AlignWithSun(global, 39.74, 105.18, -7, mask);
  ASSERT_TRUE(read.has_value());
  EXPECT_EQ(read->shiftHours, 0);
  EXPECT_NEAR(read->exactShiftHours, 0.0, 0.06);

  // Fewer measured hours than a month: nothing to tell.
  for (int i = 0; i < kHoursPerYear; ++i) measured[static_cast<size_t>(i)] = i < kMinSunHours - 1;
  EXPECT_FALSE(AlignWithSun(global, 39.74, 105.18, -7, mask).has_value());
}

TEST(AlignWithSun, NoSunToAlignGivesNoShift) {
  const std::vector<float> dark(kHoursPerYear, 0.0f);
  const std::vector<float> flat(kHoursPerYear, 500.0f);
  // A column of something else: values with no daily course.
  std::vector<float> noise(kHoursPerYear);
  uint32_t state = 12345;
  for (float& v : noise) {
    state = state * 1664525u + 1013904223u;
    v = static_cast<float>(state >> 16) / 65536.0f * 1000.0f;
  }
  const std::vector<float> shortYear(kHoursPerYear - 24, 100.0f);
  const std::vector<float>* years[] = {&dark, &flat, &noise, &shortYear};
  for (const std::vector<float>* global : years) {
    EXPECT_FALSE(AlignWithSun(*global, 39.74, 105.18, -7).has_value());
  }
}

TEST(TimeZoneFarFromLongitude, MoreThanThreeHoursFromLongitudeOver15) {
  const struct {
    double timeZone, longitude;
    bool far;
  } cases[] = {
      {-7, -105.18, false}, {1, 8, false},   {0, -79.95, true},   {-5, -79.95, false},
      {5, 30, false},       {6, 30, true},   {-3, 0, false},      {3.5, 0, true},
      {12, 178.4, false},   {13, -171.8, true},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(TimeZoneFarFromLongitude(c.timeZone, c.longitude), c.far)
        << c.timeZone << " at " << c.longitude;
  }
}

TEST(SunShiftWarning, EarlyOrLateWithTheShiftThatAlignsIt) {
  EXPECT_EQ(SunShiftWarning("pvgis.csv", 1, 8.0, 1.0),
            "The sun in pvgis.csv runs 1 h early against the clock at longitude 8, time zone "
            "1: the file may be stamped in UTC or at the start of each hour; --time-shift 1 "
            "aligns it.");
  EXPECT_EQ(SunShiftWarning("Golden.epw", -2, -105.18, -9.0),
            "The sun in Golden.epw runs 2 h late against the clock at longitude -105.18, time "
            "zone -9: the file may be stamped in UTC or at the start of each hour; "
            "--time-shift -2 aligns it.");
  EXPECT_EQ(TimeZoneWarning("723170TYA.CSV", 0.0, -79.95),
            "The time zone 0 of 723170TYA.CSV is more than 3 hours away from its longitude "
            "-79.95 / 15 = -5.33: check the site's time zone and longitude.");
}

}  // namespace
}  // namespace kestrum
