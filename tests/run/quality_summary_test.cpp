// The quality summary against the cleaning pass's own detailed log, on a damaged year.
#include "run/quality_summary.h"

#include <gtest/gtest.h>

#include <map>
#include <cstdio>

#include "cleaning/cleaning_pass.h"
#include "epw/epw_reader.h"
#include "run/calendar.h"
#include "support/test_support.h"

namespace kestrum {
namespace {

const std::string kSample = std::string(KESTRUM_SAMPLE_DATA) + "/USA_CO_Golden-NREL.724666_TMY3.epw";

// Per series name of the log, the method of each hour as the per-hour lines tell it.
using HourMethods = std::map<std::string, std::map<int, RepairMethod>>;

// Reads the detailed log: each streak header gives the series, the first hour and the
// length; the per-hour lines after it run up from the first hour for a previous-day copy
// and down from the last hour otherwise. A moisture temperature's repairs rewrite the dry
// bulb too.
HourMethods MethodsFromLog(const std::vector<std::string>& lines) {
  HourMethods methods;
  std::string series;
  int first = 0, length = 0, k = 0;
  for (const std::string& line : lines) {
    char name[32];
    int month = 0, day = 0, hour = 0;
    if (std::sscanf(line.c_str(), "       there's a streak of %d bad %31s starting on %d/%d at hour %d",
                    &length, name, &month, &day, &hour) == 5) {
      series = name;
      first = HourOfYear(static_cast<uint16_t>(month), static_cast<uint16_t>(day),
                         static_cast<uint16_t>(hour));
      k = 0;
      continue;
    }
    if (line.rfind("         ", 0) != 0 || line.find(" replaced with ") == std::string::npos) continue;
    const RepairMethod method = line.ends_with("(interpolated)")   ? RepairMethod::Interpolated
                                : line.ends_with("(previous day)") ? RepairMethod::PreviousDay
                                                                   : RepairMethod::FirstGoodHour;
    const int h = method == RepairMethod::PreviousDay ? first + k : first + length - 1 - k;
    ++k;
    methods[series][h] = method;
    if (series == "DP/WB-Temp") methods["DryBulbTemp"][h] = method;
  }
  return methods;
}

class QualitySummaryTest : public ::testing::Test {
 protected:
  QualitySummaryTest() {
    state.outputBaseName = "q";
    table.ResetOptionalSeries();
    ReadEPWData(kSample, EpwOptions{}, ctx);
    asRead = table;
  }
  void SetBad(Series s, int first, int last) {
    for (int h = first; h <= last; ++h) table.at(s, h) = -999.0f;
  }
  QualitySummary CleanAndSummarise(bool expectClean = true, bool detailedLog = true) {
    asRead = table;
    EXPECT_EQ(CleanWeatherData(true, limits, detailedLog, ctx, &record), expectClean);
    return SummariseQuality({asRead, table, record, limits, state.moistureIndicator, {}});
  }

  testing::TempDir dir;
  HourlyTable table;
  HourlyTable asRead;
  RunState state;
  testing::RecordingUi ui;
  RunLog log{dir.File("run.log")};
  StageContext ctx{table, state, ui, log, dir.str()};
  CleaningLimits limits = CleaningLimits::Defaults();
  RepairRecord record;
};

TEST_F(QualitySummaryTest, CountsAgreeWithTheDetailedLogOnADamagedYear) {
  SetBad(DryBulb, 1, 5);                                    // start of the year
  for (Series s : {DryBulb, Moisture, SolarHorizontal, WindSpeed, WindDirection}) {
    SetBad(s, 3001, 3031);                                  // middle: one streak in every series
    SetBad(s, 8751, 8760);                                  // end of the year
  }
  SetBad(SolarHorizontal, 5001, 5120);                      // 120 hours, more than #prev 96
  for (int h = 6001; h <= 6004; ++h) table.at(Moisture, h) = table.at(DryBulb, h) + 2.0f;
  SetBad(WindSpeed, 7000, 7000);                            // one hour
  SetBad(WindDirection, 20, 50);                            // first day: first good hour
  const QualitySummary q = CleanAndSummarise();

  const HourMethods fromLog = MethodsFromLog(testing::ReadCrLfLines(log.path()));
  const char* names[] = {"DryBulbTemp", "DP/WB-Temp", "Solar", "WindVel", "WindDir"};
  for (int row = 1; row <= 5; ++row) {
    const SeriesRepairs& r = q.repairs[static_cast<size_t>(row - 1)];
    std::map<RepairMethod, int> counted;
    for (const auto& [hour, method] : fromLog.at(names[row - 1])) ++counted[method];
    SCOPED_TRACE(names[row - 1]);
    EXPECT_EQ(r.interpolated, counted[RepairMethod::Interpolated]);
    EXPECT_EQ(r.previousDay, counted[RepairMethod::PreviousDay]);
    EXPECT_EQ(r.firstGoodHour, counted[RepairMethod::FirstGoodHour]);
    EXPECT_EQ(r.total, static_cast<int>(fromLog.at(names[row - 1]).size()));
  }
  // Dry bulb: 5 + 31 + 10 of its own and 4 rewritten with the dew point above it.
  EXPECT_EQ(q.repairs[0].total, 50);
  EXPECT_EQ(q.repairs[0].firstGoodHour, 5);
  EXPECT_EQ(q.repairs[0].interpolated, 4);
  EXPECT_EQ(q.repairs[1].total, 45);
  EXPECT_EQ(q.repairs[2].total, 161);
  EXPECT_EQ(q.repairs[3].interpolated, 1);
  EXPECT_EQ(q.repairs[4].firstGoodHour, 31);
  EXPECT_EQ(q.hoursRepaired, 5 + 31 + 10 + 120 + 4 + 1 + 31);

  EXPECT_EQ(q.repairs[2].longest.length, 120);
  EXPECT_EQ(q.repairs[2].longest.firstHour, 5001);
  ASSERT_EQ(q.warnings.size(), 1u);
  EXPECT_EQ(q.warnings[0],
            "Warning: solar has a streak of 120 bad hours starting on 7/28 at hour 9 (1.4% of "
            "the year), longer than its #prev limit of 96: the file may cover only part of the "
            "year.");
}

TEST_F(QualitySummaryTest, MonthlyValuesAsReadLeaveRepairedHoursOut) {
  SetBad(WindSpeed, 1, 744);  // all of January, copied from the first good hour
  const QualitySummary q = CleanAndSummarise();
  const auto ws = static_cast<size_t>(Quantity::WindSpeed);
  EXPECT_EQ(q.asRead[0][ws].hours, 0);
  EXPECT_EQ(q.asConverted[0][ws].hours, 744);
  EXPECT_EQ(q.asConverted[0][ws].min, table.at(WindSpeed, 745));
  EXPECT_EQ(q.asConverted[0][ws].max, table.at(WindSpeed, 745));
  EXPECT_EQ(q.asRead[1][ws].hours, 672);
  EXPECT_DOUBLE_EQ(q.asRead[1][ws].mean, q.asConverted[1][ws].mean);
  double sum = 0;
  for (int h = 1; h <= kHoursPerYear; ++h) sum += table.at(SolarHorizontal, h);
  EXPECT_DOUBLE_EQ(q.annualGlobalKWhM2, sum / 1000.0);
  EXPECT_FALSE(q.formatted);  // no direct normal as converted without the formatter
  EXPECT_EQ(q.asConverted[0][static_cast<size_t>(Quantity::DirectNormal)].hours, 0);
}

TEST_F(QualitySummaryTest, AFailedRepeatCountsEachHourOnce) {
  SetBad(WindDirection, 1, kHoursPerYear);
  const QualitySummary q = CleanAndSummarise(false, false);
  EXPECT_EQ(q.cleaningPasses, 2);
  EXPECT_EQ(q.repairs[4].total, kHoursPerYear);
  EXPECT_EQ(q.repairs[4].firstGoodHour, kHoursPerYear);
  EXPECT_EQ(q.repairs[4].longest.length, kHoursPerYear);
}

TEST(RepairedHoursLine, ReadsAsTheProgressBoxShowsIt) {
  QualitySummary q;
  const int totals[] = {54, 54, 60, 54, 54};
  for (size_t i = 0; i < 5; ++i) q.repairs[i].total = totals[i];
  q.directNormalEstimated = 120;
  EXPECT_EQ(RepairedHoursLine(q),
            "  Repaired hours: dry bulb 54, moisture 54, solar 60, wind speed 54, wind direction "
            "54; direct normal estimated for 120 hours.");
  q.directNormalEstimated = 1;
  EXPECT_NE(RepairedHoursLine(q).find("estimated for 1 hour."), std::string::npos);
}

}  // namespace
}  // namespace kestrum
