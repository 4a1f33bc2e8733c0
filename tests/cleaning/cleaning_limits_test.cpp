#include "cleaning/cleaning_limits.h"

#include <gtest/gtest.h>

#include "support/test_support.h"

namespace kestrum {
namespace {

using Strings = std::vector<std::string>;

TEST(CleaningLimits, DefaultsOfEveryRow) {
  const CleaningLimits d = CleaningLimits::Defaults();
  const int32_t expected[5][4] = {
      {-50, 150, 12, 96}, {-50, 150, 12, 96}, {0, 1200, 1, 96}, {0, 150, 24, 168}, {0, 360, 24, 168}};
  for (int row = 1; row <= 5; ++row) {
    EXPECT_EQ(d.Min(row), expected[row - 1][0]);
    EXPECT_EQ(d.Max(row), expected[row - 1][1]);
    EXPECT_EQ(d.InterpLimit(row), expected[row - 1][2]);
    EXPECT_EQ(d.PrevLimit(row), expected[row - 1][3]);
    for (int k = 1; k <= 5; ++k) EXPECT_EQ(d.Flag(row, k), -999);
  }
  // The array layout the settings file relies on.
  EXPECT_EQ(d.bounds[4], 0);
  EXPECT_EQ(d.bounds[5], 1200);
  EXPECT_EQ(d.repair[25 + 2 * 3], 24);
  EXPECT_EQ(d.repair[26 + 2 * 3], 168);
}

TEST(CleaningLimits, DefaultGridTextsCaptureAsTheDefaults) {
  const CleaningGridTexts cells = DefaultGridTexts();
  EXPECT_EQ(cells.limits[0], (std::array<std::string, 4>{"-50", "150", "12", "96"}));
  EXPECT_EQ(cells.limits[4], (std::array<std::string, 4>{"0", "360", "24", "168"}));
  EXPECT_EQ(cells.flags[2][4], "-999");
  testing::RecordingUi ui;
  EXPECT_EQ(CaptureCleaningLimits(cells, ui), CleaningLimits::Defaults());
  EXPECT_TRUE(ui.notices.empty());
}

TEST(CleaningLimits, EmptyCellsGiveTheFallbacksSilently) {
  testing::RecordingUi ui;
  const CleaningLimits c = CaptureCleaningLimits(CleaningGridTexts{}, ui);
  EXPECT_TRUE(ui.notices.empty());
  const int32_t minMax[5][2] = {{-99, 199}, {-99, 199}, {0, 9999}, {0, 999}, {0, 999}};
  for (int row = 1; row <= 5; ++row) {
    EXPECT_EQ(c.Min(row), minMax[row - 1][0]);
    EXPECT_EQ(c.Max(row), minMax[row - 1][1]);
    EXPECT_EQ(c.InterpLimit(row), 0);
    EXPECT_EQ(c.PrevLimit(row), 0);
    for (int k = 1; k <= 5; ++k) EXPECT_EQ(c.Flag(row, k), -888);
  }
}

TEST(CleaningLimits, BadCellsGiveOneNoticeEachInCaptureOrder) {
  CleaningGridTexts cells = DefaultGridTexts();
  cells.limits[0][0] = "-49.5";   // rounds half to even
  cells.limits[1][1] = "abc";     // rounding mode
  cells.limits[4][3] = "1.5";     // integer mode
  cells.flags[1][0] = "-999.0";   // row 2, flag 1
  cells.flags[0][1] = "x";        // row 1, flag 2: after every flag 1
  testing::RecordingUi ui;
  const CleaningLimits c = CaptureCleaningLimits(cells, ui);
  EXPECT_EQ(c.Min(1), -50);
  EXPECT_EQ(c.Max(2), 199);
  EXPECT_EQ(c.PrevLimit(5), 0);
  EXPECT_EQ(c.Flag(2, 1), -888);
  EXPECT_EQ(c.Flag(1, 2), -888);
  EXPECT_EQ(ui.notices, (Strings{"Rounding conversion to Int failed (abc)",
                                 "Conversion to Int failed (1.5)",
                                 "Conversion to Int failed (-999.0)",
                                 "Conversion to Int failed (x)"}));
}

TEST(CleaningLimits, ShowLeavesEmptyFlagCellsAlone) {
  CleaningLimits limits = CleaningLimits::Defaults();
  limits.SetMin(3, -7);
  limits.SetFlag(4, 2, -888);
  CleaningGridTexts cells;
  cells.flags[3][1] = "";
  ShowCleaningLimits(limits, cells);
  EXPECT_EQ(cells.limits[2][0], "-7");
  EXPECT_EQ(cells.flags[3][1], "");
  EXPECT_EQ(cells.flags[3][0], "-999");
  testing::RecordingUi ui;
  EXPECT_EQ(CaptureCleaningLimits(cells, ui), limits);  // an empty flag survives the round trip
}

TEST(CleaningLimits, KeyPrefixesOfTheRows) {
  EXPECT_STREQ(CleaningKeyPrefix(1), "DBT");
  EXPECT_STREQ(CleaningKeyPrefix(2), "DPT");
  EXPECT_STREQ(CleaningKeyPrefix(3), "SOL");
  EXPECT_STREQ(CleaningKeyPrefix(4), "WSpd");
  EXPECT_STREQ(CleaningKeyPrefix(5), "Wdir");
  EXPECT_STREQ(CleaningKeyPrefix(6), "");
}

}  // namespace
}  // namespace kestrum
