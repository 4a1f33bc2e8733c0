#include "cleaning/cleaning_pass.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "run/calendar.h"
#include "run/run_error.h"
#include "support/test_support.h"

namespace kestrum {
namespace {

using Strings = std::vector<std::string>;

constexpr float kBad = -999.0f;
const std::string kSuccess = "  Weather data cleaned successfully.";
const std::string kFailed = "  Weather data cleaning FAILED.";
const std::string kRepeat = "    Re-iterating Weather data cleaning process.";

// A table where every hour is good: a daily cycle of dry bulb and wind direction.
class CleaningPassTest : public ::testing::Test {
 protected:
  CleaningPassTest() {
    state.moistureIndicator = 1;
    table.ResetOptionalSeries();
    for (int h = 1; h <= 8760; ++h) {
      table.at(DryBulb, h) = 50.0f + static_cast<float>(h % 24);
      table.at(Moisture, h) = 30.0f;
      table.at(SolarHorizontal, h) = 100.0f;
      table.at(WindSpeed, h) = 5.0f;
      table.at(WindDirection, h) = 180.0f + static_cast<float>(h % 24);
    }
  }
  bool Clean(bool detailed = false) { return CleanWeatherData(true, limits, detailed, ctx); }
  Strings LogLines() const {
    return std::filesystem::exists(log.path()) ? testing::ReadCrLfLines(log.path()) : Strings{};
  }
  float& At(Series s, int h) { return table.at(s, h); }
  void SetBad(Series s, int first, int last, float v = kBad) {
    for (int h = first; h <= last; ++h) table.at(s, h) = v;
  }

  testing::TempDir dir;
  HourlyTable table;
  RunState state;
  testing::RecordingUi ui;
  RunLog log{dir.File("run.log")};
  StageContext ctx{table, state, ui, log, dir.str()};
  CleaningLimits limits = CleaningLimits::Defaults();
};

TEST_F(CleaningPassTest, GoodTableIsLeftAloneAndSnapshotOnce) {
  const HourlyTable before = table;
  ASSERT_TRUE(Clean());
  EXPECT_EQ(std::vector<float>(table.data(), table.data() + 5 * 8760),
            std::vector<float>(before.data(), before.data() + 5 * 8760));
  EXPECT_EQ(ui.caption, "Brollic (clean EWP file)");
  EXPECT_EQ(ui.title, "Brollic: clean EWP file)");
  EXPECT_EQ(ui.echoed, Strings{kSuccess});
  EXPECT_EQ(ui.repaints, 1);
  EXPECT_TRUE(LogLines().empty());
  const Strings snapshot = testing::ReadCrLfLines(dir.File("postclean-b.csv"));
  ASSERT_EQ(snapshot.size(), 8760u);
  EXPECT_EQ(snapshot[0], "1,1,1,   51.00,   30.00,  100.00,    5.00,  181.00");
  EXPECT_EQ(snapshot[1416], "3,1,1,   51.00,   30.00,  100.00,    5.00,  181.00");
  EXPECT_EQ(snapshot[8759], "12,31,24,   50.00,   30.00,  100.00,    5.00,  180.00");
  EXPECT_FALSE(std::filesystem::exists(dir.File("postclean-c.csv")));
}

TEST_F(CleaningPassTest, StreakAsLongAsInterpLimitIsInterpolated) {
  At(DryBulb, 99) = 40.0f;
  At(DryBulb, 112) = 66.0f;
  SetBad(DryBulb, 100, 111);  // 12 hours: the default limit
  ASSERT_TRUE(Clean(true));
  EXPECT_EQ(At(DryBulb, 111), 64.0f);
  EXPECT_EQ(At(DryBulb, 100), 42.0f);
  const Strings log = LogLines();
  ASSERT_EQ(log.size(), 13u);
  EXPECT_EQ(log[0], "       there's a streak of 12 bad DryBulbTemp starting on 1/5 at hour 4");
  EXPECT_EQ(log[1], "         -999.00 replaced with 64.00(interpolated)");  // hour 111 first
  EXPECT_EQ(log[12], "         -999.00 replaced with 42.00(interpolated)");
}

TEST_F(CleaningPassTest, StreakOneHourLongerIsCopiedFromThePreviousDay) {
  At(DryBulb, 99) = 40.0f;
  At(DryBulb, 113) = 80.0f;
  SetBad(DryBulb, 100, 112);
  ASSERT_TRUE(Clean(true));
  for (int h = 100; h <= 112; ++h) EXPECT_EQ(At(DryBulb, h), At(DryBulb, h - 24)) << h;
  const Strings log = LogLines();
  ASSERT_EQ(log.size(), 14u);
  EXPECT_EQ(log[1], "         -999.00 replaced with 54.00 (previous day)");  // hour 100 first
}

TEST_F(CleaningPassTest, SolarSingleHourIsInterpolatedTwoAreCopied) {
  At(SolarHorizontal, 300) = 200.0f;
  At(SolarHorizontal, 301) = 2000.0f;  // above Max 1200
  At(SolarHorizontal, 600) = -5.0f;    // below Min 0
  At(SolarHorizontal, 601) = -5.0f;
  At(SolarHorizontal, 576) = 10.0f;
  At(SolarHorizontal, 577) = 20.0f;
  ASSERT_TRUE(Clean());
  EXPECT_EQ(At(SolarHorizontal, 301), 150.0f);
  EXPECT_EQ(At(SolarHorizontal, 600), 10.0f);
  EXPECT_EQ(At(SolarHorizontal, 601), 20.0f);
  EXPECT_EQ(LogLines(), (Strings{"       there's a streak of 1 bad Solar starting on 1/13 at hour 13",
                                 "       there's a streak of 2 bad Solar starting on 1/25 at hour 24"}));
}

TEST_F(CleaningPassTest, NegativeInterpLimitActsAsZero) {
  limits.SetInterpLimit(4, -3);
  At(WindSpeed, 100) = 7.0f;
  At(WindSpeed, 101) = kBad;
  ASSERT_TRUE(Clean());
  EXPECT_EQ(At(WindSpeed, 101), 5.0f);  // hour 77, not the interpolated 6
}

TEST_F(CleaningPassTest, BadLastHourIsCopiedFromTheDayBeforeAndReportedTwice) {
  At(WindDirection, 8736) = 42.0f;
  At(WindDirection, 8760) = 400.0f;
  ASSERT_TRUE(Clean(true));
  EXPECT_EQ(At(WindDirection, 8760), 42.0f);
  const std::string header =
      "       there's a streak of 1 bad WindDir starting on 12/31 at hour 24 "
      "(ending on the last hour of the year)";
  EXPECT_EQ(LogLines(), (Strings{header, header, "         400.00 replaced with 42.00 (previous day)",
                                 "       interpolation not possible, copy data from previous day attempted"}));
}

TEST_F(CleaningPassTest, StreakAtTheStartTakesTheFirstGoodHour) {
  At(WindSpeed, 4) = 9.0f;
  SetBad(WindSpeed, 1, 3);
  ASSERT_TRUE(Clean(true));
  for (int h = 1; h <= 3; ++h) EXPECT_EQ(At(WindSpeed, h), 9.0f);
  EXPECT_EQ(LogLines(), (Strings{"       there's a streak of 3 bad WindVel starting on 1/1 at hour 1",
                                 "         -999.00 replaced with 9.00(first good hour)",
                                 "         -999.00 replaced with 9.00(first good hour)",
                                 "         -999.00 replaced with 9.00(first good hour)",
                                 "       interpolation not possible, data for current record used"}));
}

TEST_F(CleaningPassTest, LongStreakWithinTheFirstDayTakesTheFirstGoodHour) {
  At(DryBulb, 41) = 77.0f;
  SetBad(DryBulb, 20, 40);
  ASSERT_TRUE(Clean());
  for (int h = 20; h <= 40; ++h) EXPECT_EQ(At(DryBulb, h), 77.0f) << h;
  EXPECT_EQ(LogLines(), (Strings{"       there's a streak of 21 bad DryBulbTemp starting on 1/1 at hour 20",
                                 "       copy from previous day failed, data for first good record used"}));
  // With the detailed log the summary line gives way to the per-hour lines.
  SetBad(DryBulb, 20, 40);
  std::filesystem::remove(log.path());
  ASSERT_TRUE(Clean(true));
  const Strings detailed = LogLines();
  ASSERT_EQ(detailed.size(), 22u);
  EXPECT_EQ(detailed[21], "         -999.00 replaced with 77.00 (first good hour)");
}

TEST_F(CleaningPassTest, LongStreakAfterTheFirstDayRepeatsTheDayBefore) {
  SetBad(DryBulb, 25, 40);
  ASSERT_TRUE(Clean());
  for (int h = 25; h <= 40; ++h) EXPECT_EQ(At(DryBulb, h), 50.0f + static_cast<float>(h % 24)) << h;
  // Longer than a day: each later day copies the day just copied.
  for (int h = 1; h <= 8760; ++h) At(WindDirection, h) = static_cast<float>(h % 300);
  SetBad(WindDirection, 1001, 1060);
  ASSERT_TRUE(Clean());
  for (int h = 1001; h <= 1060; ++h) {
    EXPECT_EQ(At(WindDirection, h), static_cast<float>((977 + (h - 1001) % 24) % 300)) << h;
  }
}

TEST_F(CleaningPassTest, StreakEndingOnTheSecondLastHourIsOrdinary) {
  At(WindSpeed, 8756) = 4.0f;
  At(WindSpeed, 8760) = 8.0f;
  SetBad(WindSpeed, 8757, 8759);
  ASSERT_TRUE(Clean());
  EXPECT_EQ(At(WindSpeed, 8757), 5.0f);
  EXPECT_EQ(At(WindSpeed, 8759), 7.0f);
  EXPECT_EQ(LogLines(), Strings{"       there's a streak of 3 bad WindVel starting on 12/31 at hour 21"});
}

TEST_F(CleaningPassTest, DewPointAboveDryBulbIsBadAndItsRepairRewritesTheDryBulb) {
  limits.SetMax(2, 10);  // takes no part with a dew point
  At(DryBulb, 499) = 60.0f;
  At(DryBulb, 500) = 61.0f;
  At(DryBulb, 501) = 64.0f;
  At(Moisture, 500) = 61.5f;
  ASSERT_TRUE(Clean(true));
  EXPECT_EQ(At(Moisture, 500), 30.0f);
  EXPECT_EQ(At(DryBulb, 500), 62.0f);  // interpolated with its own step
  EXPECT_EQ(LogLines(), (Strings{"       there's a streak of 1 bad DP/WB-Temp starting on 1/21 at hour 20",
                                 "         61.50 replaced with 30.00(interpolated)"}));

  // A copied dew-point streak copies the dry bulb from the same hours.
  SetBad(Moisture, 1000, 1020);
  At(DryBulb, 1010) = 99.0f;
  At(Moisture, 976) = 25.0f;
  ASSERT_TRUE(Clean());
  EXPECT_EQ(At(Moisture, 1000), 25.0f);
  EXPECT_EQ(At(DryBulb, 1010), At(DryBulb, 986));
}

TEST_F(CleaningPassTest, RelativeHumidityIsBoundedBy0And100Only) {
  state.moistureIndicator = 2;
  limits.SetMin(2, 50);
  limits.SetMax(2, 60);
  At(Moisture, 10) = 0.0f;
  At(Moisture, 11) = 100.0f;
  At(Moisture, 12) = 100.5f;
  At(Moisture, 13) = 90.0f;
  At(DryBulb, 11) = 40.0f;
  ASSERT_TRUE(Clean());
  EXPECT_EQ(At(Moisture, 10), 0.0f);
  EXPECT_EQ(At(Moisture, 11), 100.0f);
  EXPECT_EQ(At(Moisture, 12), 95.0f);
  EXPECT_EQ(At(DryBulb, 12), 62.0f);  // no coupling with relative humidity
  EXPECT_EQ(LogLines(), Strings{"       there's a streak of 1 bad RelHum starting on 1/1 at hour 12"});
}

TEST_F(CleaningPassTest, FlagsAreBadInsideTheBoundsAndBoundsAreGood) {
  limits.SetFlag(4, 3, 7);
  At(WindSpeed, 50) = 7.0f;
  At(DryBulb, 60) = 150.0f;   // equal to Max
  At(DryBulb, 61) = -50.0f;   // equal to Min
  At(Moisture, 61) = -50.0f;  // equal to Min and to its dry bulb
  At(WindDirection, 70) = NAN;
  ASSERT_TRUE(Clean());
  EXPECT_EQ(At(WindSpeed, 50), 5.0f);
  EXPECT_EQ(At(DryBulb, 60), 150.0f);
  EXPECT_EQ(At(DryBulb, 61), -50.0f);
  EXPECT_EQ(At(WindDirection, 70), 202.0f);
  EXPECT_EQ(LogLines().size(), 2u);
}

TEST_F(CleaningPassTest, SeriesBadEveryHourFailsTwiceAndWritesBothSnapshots) {
  SetBad(SolarHorizontal, 1, 8760);
  EXPECT_FALSE(Clean(true));
  EXPECT_EQ(ui.echoed, (Strings{kRepeat, kFailed, kFailed}));
  EXPECT_TRUE(std::filesystem::exists(dir.File("postclean-b.csv")));
  EXPECT_TRUE(std::filesystem::exists(dir.File("postclean-c.csv")));
  const Strings log = LogLines();
  const std::string header =
      "       there's a streak of 8760 bad Solar starting on 1/1 at hour 1 "
      "(ending on the last hour of the year)";
  EXPECT_EQ(log[0], header);
  EXPECT_EQ(log[1], "         -999.00 replaced with -999.00 (first good hour)");
  EXPECT_EQ(log[8761], "     still registering bad data at index 1");
  EXPECT_EQ(log[8761 + 8759], "     still registering bad data at index 8760");
  EXPECT_EQ(log[1 + 2 * 8760], header);  // the repeated pass
  EXPECT_EQ(log.size(), 2u * (1 + 2 * 8760));
  EXPECT_EQ(testing::ReadCrLfLines(dir.File("postclean-c.csv"))[0],
            "1,1,1,   51.00,   30.00, -999.00,    5.00,  181.00");
}

TEST_F(CleaningPassTest, MinAboveMaxMakesEveryHourBad) {
  limits.SetMin(4, 10);
  limits.SetMax(4, 0);
  EXPECT_FALSE(Clean());
  EXPECT_EQ(LogLines(), (Strings{"       there's a streak of 8760 bad WindVel starting on 1/1 at hour 1 "
                                 "(ending on the last hour of the year)",
                                 "       copy from previous day failed, data for first good record used",
                                 "       there's a streak of 8760 bad WindVel starting on 1/1 at hour 1 "
                                 "(ending on the last hour of the year)",
                                 "       copy from previous day failed, data for first good record used"}));
}

TEST_F(CleaningPassTest, SnapshotThatCannotBeWrittenIsAnError) {
  ctx.interimDir = dir.File("missing");
  EXPECT_THROW(Clean(), RunError);
}

}  // namespace
}  // namespace kestrum
