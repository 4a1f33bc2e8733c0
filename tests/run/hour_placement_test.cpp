#include "run/hour_placement.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

namespace kestrum {
namespace {

TEST(ShiftedHour, MovesWholeHoursAndWrapsAroundTheYear) {
  const struct {
    int32_t h;
    int shift;
    int32_t expected;
  } cases[] = {
      {1, 0, 1},       {8760, 0, 8760},  {8, -7, 1},      {7, -7, 8760},   {1, -1, 8760},
      {8760, 1, 1},    {8760, 23, 23},   {1, -23, 8738},  {4000, 5, 4005}, {8738, 23, 1},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ShiftedHour(c.h, c.shift), c.expected) << c.h << " " << c.shift;
  }
  // Every shift moves the year onto itself: each hour is filled exactly once.
  for (int shift = -kMaxTimeShiftHours; shift <= kMaxTimeShiftHours; ++shift) {
    std::vector<int> hits(kHoursPerYear + 1, 0);
    for (int32_t h = 1; h <= kHoursPerYear; ++h) ++hits[static_cast<size_t>(ShiftedHour(h, shift))];
    EXPECT_EQ(std::count(hits.begin() + 1, hits.end(), 1), kHoursPerYear) << shift;
  }
}

TEST(UtcShiftForTimeZone, OnlyAWholeNumberOfHoursWithinADay) {
  const struct {
    const char* zone;
    std::optional<int> shift;
  } cases[] = {
      {"-7.0", -7}, {" -5 ", -5}, {"0", 0}, {"10", 10}, {"23", 23}, {"-23.0", -23},
      {"5.5", std::nullopt}, {"-3.5", std::nullopt}, {"24", std::nullopt},
      {"-30", std::nullopt}, {"", std::nullopt}, {"abc", std::nullopt}, {"-7h", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(UtcShiftForTimeZone(c.zone), c.shift) << c.zone;
}

TEST(HourMeans, ValuesAreMeansOfTheValidOnesAndWindTheMeanVector) {
  HourlyTable table;
  table.Fill(DryBulb, -999.0f);
  table.Fill(WindDirection, -999.0f);
  HourMeans means;
  means.Add(DryBulb, 1, 10.0f);
  means.Add(DryBulb, 1, 11.0f);
  means.Add(DryBulb, 1, 13.0f);
  means.AddWind(1, true, 5.0f, true, 350.0f);  // across north: not 180
  means.AddWind(1, true, 5.0f, true, 10.0f);
  means.AddWind(2, true, 1.0f, true, 90.0f);  // the stronger wind weighs more
  means.AddWind(2, true, 3.0f, true, 180.0f);
  means.AddWind(3, true, 0.0f, true, 90.0f);  // calm: 0
  means.AddWind(3, true, 0.0f, true, 270.0f);
  means.AddWind(4, false, 0.0f, true, 80.0f);  // directions alone: their unit vectors
  means.AddWind(4, false, 0.0f, true, 100.0f);
  means.AddWind(5, false, 0.0f, false, 0.0f);  // nothing valid: the table keeps its value
  means.AddWind(6, true, 0.0f, true, 200.0f);   // one row: as it is, calm or not
  means.AddWind(7, true, 3.0f, false, 0.0f);
  means.AddWind(7, true, 1.0f, true, 123.0f);
  means.Store(table);
  EXPECT_FLOAT_EQ(table.at(DryBulb, 1), 34.0f / 3.0f);
  EXPECT_EQ(table.at(DryBulb, 2), -999.0f);
  EXPECT_FLOAT_EQ(table.at(WindSpeed, 1), 5.0f);
  EXPECT_FLOAT_EQ(table.at(WindSpeed, 2), 2.0f);
  EXPECT_NEAR(table.at(WindDirection, 1), 0.0, 1e-4);
  EXPECT_NEAR(table.at(WindDirection, 2), 180.0 - 18.434949, 1e-4);  // atan(1/3)
  EXPECT_EQ(table.at(WindDirection, 3), 0.0f);
  EXPECT_NEAR(table.at(WindDirection, 4), 90.0, 1e-4);
  EXPECT_EQ(table.at(WindDirection, 5), -999.0f);
  EXPECT_EQ(table.at(WindDirection, 6), 200.0f);
  EXPECT_EQ(table.at(WindDirection, 7), 123.0f);
  EXPECT_FLOAT_EQ(table.at(WindSpeed, 7), 2.0f);
  EXPECT_TRUE(means.HasValue(DryBulb, 1));
  EXPECT_FALSE(means.HasValue(SolarDirectNormal, 1));
}

}  // namespace
}  // namespace kestrum
