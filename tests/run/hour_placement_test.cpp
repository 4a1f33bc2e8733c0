#include "run/hour_placement.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "support/test_support.h"

namespace kestrum {
namespace {

using Strings = std::vector<std::string>;

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

TEST(TimeShiftProblem, WholeHoursWithinADayEitherWay) {
  for (int64_t ok : {-23, -1, 0, 5, 23}) EXPECT_EQ(TimeShiftProblem(ok), "") << ok;
  EXPECT_EQ(TimeShiftProblem(24), "The time shift 24 h is outside -23..23 (whole hours).");
  EXPECT_NE(TimeShiftProblem(-24), "");
  EXPECT_EQ(SubhourlyProblem(kSubhourlyMean), "");
  EXPECT_NE(SubhourlyProblem(2), "");
}

class RowPlacementTest : public ::testing::Test {
 protected:
  Strings LogLines() const {
    return std::filesystem::exists(log.path()) ? testing::ReadCrLfLines(log.path()) : Strings{};
  }

  testing::TempDir dir;
  HourlyTable table;
  RunState state;
  testing::RecordingUi ui;
  RunLog log{dir.File("run.log")};
  Strings warnings;
  StageContext ctx{table, state, ui, log, dir.str(), &warnings};
};

TEST_F(RowPlacementTest, EachKindOfRowIsOneWarningWithItsCountAndFirstLine) {
  RowPlacement placement(kSubhourlyLast, 0);
  for (size_t line = 1425; line < 1425 + 24; ++line) placement.LeapDayRow(line);
  placement.RowOutsideYear(30);
  placement.RowOutsideYear(31);
  EXPECT_EQ(placement.Land(5, 40), 5);
  EXPECT_EQ(placement.Land(5, 41), 5);
  EXPECT_EQ(placement.Land(5, 42), 5);  // the same hour again is not counted twice
  EXPECT_EQ(placement.Land(6, 43), 6);
  EXPECT_EQ(placement.Land(6, 44), 6);
  EXPECT_EQ(placement.RowsOf(5), 3);
  EXPECT_EQ(placement.rowsLanded(), 5u);
  placement.Report(ctx);
  const Strings expected = {
      "2 data rows whose date or hour is not in the 365-day year were skipped (first at line 30).",
      "24 rows of 29 February were left out: the year has 365 days (first at line 1425).",
      "2 hours were filled by more than one row; the last row of each was kept (first at line "
      "41).",
  };
  EXPECT_EQ(warnings, expected);
  ASSERT_EQ(LogLines().size(), 3u);
  EXPECT_EQ(LogLines()[1], "     " + expected[1]);  // indented as a finding
  EXPECT_EQ(ui.echoed, LogLines());
}

TEST_F(RowPlacementTest, MeansSayHowManyRowsEachHourHasAndTheShiftIsAPlainLine) {
  RowPlacement placement(kSubhourlyMean, -7);
  EXPECT_EQ(placement.Land(8, 10), 1);
  EXPECT_EQ(placement.Land(8, 11), 1);
  EXPECT_EQ(placement.Land(1, 12), 8754);
  for (size_t line = 13; line < 16; ++line) placement.Land(1, line);
  placement.RowOutsideYear(20);
  placement.LeapDayRow(21);
  placement.Report(ctx);
  EXPECT_EQ(warnings,
            (Strings{"1 data row whose date or hour is not in the 365-day year was skipped "
                     "(first at line 20).",
                     "1 row of 29 February was left out: the year has 365 days (first at line 21).",
                     "2 hours were filled by more than one row; each holds the mean of its 2 to 4 "
                     "rows (first at line 11)."}));
  const std::string shift =
      "     Hours shifted by -7 h as asked: the row stamped hour s fills hour s - 7 of the "
      "year, wrapping around its ends.";
  EXPECT_EQ(LogLines().front(), shift);
  EXPECT_EQ(ui.echoed.front(), shift);

  // Nothing to say: nothing said.
  warnings.clear();
  RowPlacement quiet(kSubhourlyMean, 0);
  quiet.Land(1, 1);
  quiet.Report(ctx);
  EXPECT_TRUE(warnings.empty());
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
