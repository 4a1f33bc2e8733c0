#include "format/formatter.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

#include "format/final_data_file.h"
#include "format/fixed_text.h"
#include "format/moist_air_state.h"
#include "format/solar_position.h"
#include "support/test_support.h"
#include "run/calendar.h"
#include "run/hourly_table.h"
#include "run/run_error.h"
#include "run/run_log.h"
#include "run/run_state.h"
#include "run/stage_context.h"

namespace kestrum {
namespace {

namespace fs = std::filesystem;
using testing::RecordingUi;

// A stand-in for the solar library: one record, every call remembered.
SolarRecord g_record;
std::vector<SolarRecord> g_calls;
int g_initCalls = 0;
double g_estimate = 0.0;

SolarRecord* FakeInit() {
  ++g_initCalls;
  return &g_record;
}

double FakeEstimate() {
  g_calls.push_back(g_record);
  return g_estimate;
}

std::vector<std::string> ReadLines(const fs::path& path, bool* allCrLf = nullptr) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  const std::string text = ss.str();
  std::vector<std::string> lines;
  bool crlf = true;
  size_t start = 0;
  while (start < text.size()) {
    size_t nl = text.find('\n', start);
    if (nl == std::string::npos) {
      crlf = false;
      lines.push_back(text.substr(start));
      break;
    }
    if (nl == start || text[nl - 1] != '\r') {
      crlf = false;
      lines.push_back(text.substr(start, nl - start));
    } else {
      lines.push_back(text.substr(start, nl - 1 - start));
    }
    start = nl + 1;
  }
  if (allCrLf) *allCrLf = crlf;
  return lines;
}

// The comma-separated field k (from 1) of a row, leading blanks dropped.
std::string Field(const std::string& row, int k) {
  size_t start = 0;
  for (int i = 1; i < k; ++i) start = row.find(',', start) + 1;
  size_t end = row.find(',', start);
  std::string f = row.substr(start, end == std::string::npos ? std::string::npos : end - start);
  return f.substr(f.find_first_not_of(' '));
}

class FormatterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("kestrum_formatter_" + std::to_string(::getpid()) + "_" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    g_calls.clear();
    g_initCalls = 0;
    g_estimate = 321.25;
    g_record = SolarRecord{};
    solvane_.init = &FakeInit;
    solvane_.estimate = &FakeEstimate;

    state_.runMode = RunModeEpw;
    state_.outputBaseName = "synthetic";
    site_ = {"GOLDEN NREL", "39.75", "-104.87", "-7", "1829"};

    // A mild year with a daily cycle; the sun up from 7 to 17 with a distinct value
    // for every hour, a steady west wind.
    table_.ResetOptionalSeries();
    for (int h = 1; h <= kHoursPerYear; ++h) {
      const int hourOfDay = (h - 1) % 24 + 1;
      const float t = static_cast<float>(50.0 + 15.0 * std::sin(h * 2.0 * 3.14159 / 24.0));
      table_.at(DryBulb, h) = t;
      table_.at(Moisture, h) = t - 12.0f;
      table_.at(SolarHorizontal, h) =
          (hourOfDay >= 7 && hourOfDay <= 17) ? static_cast<float>(100 + h % 500) : 0.0f;
      table_.at(WindSpeed, h) = 15.0f;
      table_.at(WindDirection, h) = 270.0f;
    }
  }

  void TearDown() override { fs::remove_all(dir_); }

  bool Run(bool epwUseRelHum = false) {
    StageContext ctx{table_, state_, ui_, log_, dir_.string()};
    return FormatWeatherData(site_, epwUseRelHum, ctx, solvane_);
  }

  fs::path FtPath() const { return dir_ / "synthetic.ft"; }
  fs::path FinalPath() const { return dir_ / "synthetic-final.csv"; }

  // The hours whose direct normal the run had to estimate, in order.
  std::vector<int> EstimatedHours() const {
    std::vector<int> hours;
    for (int h = 1; h <= kHoursPerYear; ++h) {
      if (table_.at(SolarDirectNormal, h) == kDirectNormalAbsent) hours.push_back(h);
    }
    return hours;
  }

  fs::path dir_;
  HourlyTable table_;
  RunState state_;
  RecordingUi ui_;
  RunLog log_;
  SiteInfo site_;
  SolvaneLibrary solvane_;
};

TEST_F(FormatterTest, WritesBothFilesWithHeadersAndEveryHour) {
  ASSERT_TRUE(Run());
  bool crlf = false;
  const auto fin = ReadLines(FinalPath(), &crlf);
  EXPECT_TRUE(crlf);
  ASSERT_EQ(fin.size(), 2u + kHoursPerYear);
  EXPECT_EQ(fin[0], kFinalDataHeader1);
  EXPECT_EQ(fin[1], kFinalDataHeader2);
  EXPECT_EQ(fin[2].substr(0, 9), " 1, 1, 1,");
  EXPECT_EQ(fin[2 + 1392].substr(0, 9), " 2,28, 1,");  // February has 28 days
  EXPECT_EQ(fin[2 + 1416].substr(0, 9), " 3, 1, 1,");
  EXPECT_EQ(fin.back().substr(0, 9), "12,31,24,");

  const auto ft = ReadLines(FtPath(), &crlf);
  EXPECT_TRUE(crlf);
  ASSERT_EQ(ft.size(), 3u + kHoursPerYear);
  EXPECT_EQ(ft[0].substr(0, 4), "EPW ");
  EXPECT_EQ(ft[1], "  1.00  1.00  1.00  1.00  1.00  1.00  1.00  1.00  1.00  1.00  1.00  1.00");
  for (size_t i = 3; i < ft.size(); ++i) ASSERT_EQ(ft[i].size(), 78u) << i;

  ASSERT_EQ(ui_.echoed.size(), 2u);
  EXPECT_EQ(ui_.echoed[0], "  Performing hourly psychrometric calculations.");
  EXPECT_EQ(ui_.echoed[1], "  Formatted weather data successfully.");
  EXPECT_EQ(ui_.repaints, 2);
  EXPECT_TRUE(ui_.notices.empty());
  EXPECT_EQ(g_initCalls, 1);
}

TEST_F(FormatterTest, FirstHourMatchesTheWorkedRowsOfBothFiles) {
  site_.elevation = "0";
  table_.at(DryBulb, 1) = 40.1f;
  table_.at(Moisture, 1) = 31.82f;
  table_.at(SolarHorizontal, 1) = 0.0f;
  table_.at(SolarDirectNormal, 1) = 0.0f;  // measured, not estimated
  ASSERT_TRUE(Run());
  EXPECT_EQ(ReadLines(FinalPath())[2],
            " 1, 1, 1,   40.10,   36.57,   31.82,   71.94,0.003743,    0.0,    0.0,  15, 270");
  EXPECT_EQ(ReadLines(FtPath())[3],
            " 1 1 1  37.  40.  29.9   0.  0  0  12 0.0037 0.079  13.7    0.0    0.0  2  13.");
}

TEST_F(FormatterTest, OnlyExactlyMinusOneIsEstimated) {
  table_.at(SolarDirectNormal, 10) = 0.0f;
  table_.at(SolarDirectNormal, 11) = -999.0f;
  table_.at(SolarDirectNormal, 12) = 512.5f;
  table_.at(SolarDirectNormal, 13) = -1.5f;
  table_.at(SolarDirectNormal, 14) = std::nextafter(-1.0f, 0.0f);
  ASSERT_TRUE(Run());
  EXPECT_EQ(g_calls.size(), static_cast<size_t>(kHoursPerYear - 5));
  const auto fin = ReadLines(FinalPath());
  EXPECT_EQ(Field(fin[2 + 9], 10), "0.0");
  EXPECT_EQ(Field(fin[2 + 10], 10), "-999.0");
  EXPECT_EQ(Field(fin[2 + 11], 10), "512.5");
  EXPECT_EQ(Field(fin[2 + 12], 10), "-1.5");
  EXPECT_EQ(Field(fin[2 + 13], 10), "-1.0");
  EXPECT_EQ(Field(fin[2 + 14], 10), "321.3");  // the library's estimate
  EXPECT_EQ(Field(fin[2 + 0], 10), "321.3");
}

TEST_F(FormatterTest, SolarNeighboursAtTheEndsOfTheYearAndOfADay) {
  ASSERT_TRUE(Run());
  ASSERT_EQ(g_calls.size(), static_cast<size_t>(kHoursPerYear));
  const double lat = 39.75, lonW = 104.87, tz = -7;
  auto cz = [&](int day, int hour) { return static_cast<float>(HourlyCosZenith(day, hour, lat, lonW, tz)); };

  const SolarRecord& first = g_calls[0];
  EXPECT_EQ(first.GlobalPrev, -999.0f);
  EXPECT_EQ(first.CosZenithPrev, -999.0f);
  EXPECT_EQ(first.GlobalNext, table_.at(SolarHorizontal, 2));
  EXPECT_EQ(first.CosZenithNext, cz(1, 2));

  const SolarRecord& last = g_calls[kHoursPerYear - 1];
  EXPECT_EQ(last.GlobalNext, -999.0f);
  EXPECT_EQ(last.CosZenithNext, -999.0f);
  EXPECT_EQ(last.GlobalPrev, table_.at(SolarHorizontal, kHoursPerYear - 1));
  EXPECT_EQ(last.DayOfYear, 365);

  // Hour 24 of 1 January: the radiation of 2 January hour 1, the position of day 1 "hour 25".
  const SolarRecord& h24 = g_calls[23];
  EXPECT_EQ(h24.GlobalNext, table_.at(SolarHorizontal, 25));
  EXPECT_EQ(h24.CosZenithNext, cz(1, 24));
  EXPECT_EQ(h24.DayOfYear, 1);
  // Hour 1 of 2 January: the radiation of 1 January hour 24, the position of day 2 "hour 0".
  const SolarRecord& h25 = g_calls[24];
  EXPECT_EQ(h25.GlobalPrev, table_.at(SolarHorizontal, 24));
  EXPECT_EQ(h25.CosZenithPrev, cz(2, 24));
  EXPECT_EQ(h25.DayOfYear, 2);

  // A daytime hour in summer: its own and its neighbours' values, single precision.
  const int n = HourOfYear(6, 21, 13);
  const SolarRecord& noon = g_calls[n - 1];
  EXPECT_EQ(noon.Global, table_.at(SolarHorizontal, n));
  EXPECT_EQ(noon.GlobalPrev, table_.at(SolarHorizontal, n - 1));
  EXPECT_EQ(noon.GlobalNext, table_.at(SolarHorizontal, n + 1));
  EXPECT_EQ(noon.CosZenith, cz(172, 13));
  EXPECT_EQ(noon.CosZenithPrev, cz(172, 12));
  EXPECT_EQ(noon.CosZenithNext, cz(172, 14));
  EXPECT_EQ(noon.DayOfYear, 172);
  EXPECT_FLOAT_EQ(noon.ElevationM, 1829.0f);
  EXPECT_FLOAT_EQ(noon.DewPointC, (table_.at(Moisture, n) - 32.0f) / 1.8f);
}

TEST_F(FormatterTest, MoistureKindOfAnEpwRunFollowsTheRelativeHumidityOption) {
  ASSERT_TRUE(Run(false));
  EXPECT_EQ(state_.moistureKind, kMoistureKindDewPoint);
  EXPECT_EQ(Field(ReadLines(FinalPath())[2 + 99], 6), FormatFixed(table_.at(Moisture, 100), 0, 2));

  for (int h = 1; h <= kHoursPerYear; ++h) table_.at(Moisture, h) = 55.0f;
  ASSERT_TRUE(Run(true));
  EXPECT_EQ(state_.moistureKind, kMoistureKindRelHum);
  EXPECT_EQ(Field(ReadLines(FinalPath())[2 + 99], 7), "55.00");
}

TEST_F(FormatterTest, MoistureKindOfACsvRunIsTheIndicatorPlusOne) {
  state_.runMode = RunModeCsv;
  const int columnOf[] = {6, 5, 7};  // dew point, wet bulb, relative humidity in the final file
  for (int indicator = 0; indicator <= 2; ++indicator) {
    state_.moistureIndicator = indicator;
    const float value = indicator == 2 ? 60.0f : 38.25f;
    for (int h = 1; h <= kHoursPerYear; ++h) table_.at(Moisture, h) = value;
    ASSERT_TRUE(Run(true));  // the EPW option plays no part in a CSV run
    EXPECT_EQ(state_.moistureKind, indicator + 1);
    const auto fin = ReadLines(FinalPath());
    EXPECT_EQ(Field(fin[2 + 500], columnOf[indicator]), FormatFixed(value, 0, 2)) << indicator;
    EXPECT_NE(ReadLines(FtPath())[0].substr(0, 4), "EPW ");
  }
}

TEST_F(FormatterTest, AnUnknownCsvMoistureIndicatorIsRefusedBeforeAnyFile) {
  state_.runMode = RunModeCsv;
  state_.moistureIndicator = 5;
  EXPECT_THROW(Run(), RunError);
  EXPECT_FALSE(fs::exists(FtPath()));
  EXPECT_FALSE(fs::exists(FinalPath()));
}

TEST_F(FormatterTest, SiteOutOfRangeIsRefusedBeforeAnyFile) {
  struct Case {
    SiteInfo site;
    const char* message;
  };
  const Case cases[] = {
      {{"X", "722886", "-104.87", "-7", "1829"}, "The site latitude 722886 is outside -90..90."},
      {{"X", "39.75", "-204.87", "-7", "1829"}, "The site longitude -204.87 is outside -180..180."},
      {{"X", "39.75", "-104.87", "-15", "1829"}, "The site time zone -15 is outside -14..14."},
      {{"X", "39.75", "-104.87", "-7", "9500"}, "The site elevation 9500 is outside -500..9000 m."},
      {{"X", "39.75", "-104.87", "-7", "-600"}, "The site elevation -600 is outside -500..9000 m."},
      {{"X", "north", "-104.87", "-7", "1829"}, "The site latitude \"north\" is not a number."},
      {{"X", "39.75", "", "-7", "1829"}, "The site longitude \"\" is not a number."},
      {{"X", "39.75", "-104.87", "-7", "1,829"}, "The site elevation \"1,829\" is not a number."},
  };
  for (const Case& c : cases) {
    site_ = c.site;
    try {
      Run();
      ADD_FAILURE() << "accepted " << c.message;
    } catch (const RunError& e) {
      EXPECT_EQ(std::string(e.what()), c.message);
    }
    EXPECT_FALSE(fs::exists(FtPath())) << c.message;
    EXPECT_FALSE(fs::exists(FinalPath())) << c.message;
  }
  // The limits themselves are accepted.
  site_ = {"X", "-90", "180", "14", "-500"};
  EXPECT_TRUE(Run());
  site_ = {"X", " 90 ", "-180", "-14", "9000"};
  EXPECT_TRUE(Run());
}

TEST_F(FormatterTest, ReplacesTheFilesOfAnEarlierRun) {
  {
    std::ofstream old(FtPath());
    for (int i = 0; i < 20000; ++i) old << "left over from an earlier run\n";
    std::ofstream oldFinal(FinalPath());
    oldFinal << "stale\n";
  }
  ASSERT_TRUE(Run());
  EXPECT_EQ(ReadLines(FtPath()).size(), 3u + kHoursPerYear);
  EXPECT_EQ(ReadLines(FinalPath())[0], kFinalDataHeader1);
}

TEST_F(FormatterTest, AFileThatCannotBeCreatedEndsTheRunNamingIt) {
  state_.outputBaseName = "no-such-dir/synthetic";
  try {
    Run();
    FAIL() << "no error";
  } catch (const RunError& e) {
    EXPECT_NE(std::string(e.what()).find("no-such-dir/synthetic.ft"), std::string::npos) << e.what();
  }
}

TEST_F(FormatterTest, ANonFiniteEstimateNeverReachesAFile) {
  g_estimate = std::numeric_limits<double>::quiet_NaN();
  try {
    Run();
    FAIL() << "no error";
  } catch (const RunError& e) {
    const std::string what = e.what();
    EXPECT_NE(what.find("direct normal"), std::string::npos) << what;
    EXPECT_NE(what.find("hour 1 of the year"), std::string::npos) << what;
  }
  // Only the header lines were written.
  EXPECT_EQ(ReadLines(FinalPath()).size(), 2u);
}

TEST_F(FormatterTest, APsychrometricFailureNamesTheHour) {
  table_.at(Moisture, HourOfYear(2, 1, 5)) = 0.0f;  // 0 % relative humidity has no dew point
  for (int h = 1; h <= kHoursPerYear; ++h) {
    if (table_.at(Moisture, h) != 0.0f) table_.at(Moisture, h) = 50.0f;
  }
  try {
    Run(true);
    FAIL() << "no error";
  } catch (const RunError& e) {
    EXPECT_NE(std::string(e.what()).find("hour 749 of the year (1 February, hour 5)"),
              std::string::npos)
        << e.what();
  }
  // The hours before it are in both files, each complete.
  const auto ft = ReadLines(FtPath());
  const auto fin = ReadLines(FinalPath());
  ASSERT_EQ(ft.size(), 3u + 748u);
  ASSERT_EQ(fin.size(), 2u + 748u);
  EXPECT_EQ(ft.back().substr(0, 6), " 2 1 4");
  EXPECT_EQ(fin.back().substr(0, 9), " 2, 1, 4,");
}

// Hours early and late in the year notify in hour order; an hour that cannot be computed
// ends the run, and no later hour's notice is given.
TEST_F(FormatterTest, NoticesComeInHourOrderAndStopAtAFailingHour) {
  state_.runMode = RunModeCsv;
  state_.moistureIndicator = 1;  // wet bulb
  for (int h = 1; h <= kHoursPerYear; ++h) table_.at(Moisture, h) = table_.at(DryBulb, h) - 1.0f;
  for (int h : {3, 4400, 8000}) {
    table_.at(DryBulb, h) = 90.0f;
    table_.at(Moisture, h) = 40.0f;
  }
  ASSERT_TRUE(Run());
  ASSERT_EQ(ui_.notices.size(), 6u);
  EXPECT_NE(ui_.notices[0].find("at hour 3 "), std::string::npos);
  EXPECT_NE(ui_.notices[2].find("at hour 4400 "), std::string::npos);
  EXPECT_NE(ui_.notices[4].find("at hour 8000 "), std::string::npos);

  ui_.notices.clear();
  table_.at(Moisture, 6000) = -500.0f;  // a wet bulb below absolute zero
  EXPECT_THROW(Run(), DataError);
  ASSERT_EQ(ui_.notices.size(), 4u);
  EXPECT_NE(ui_.notices[2].find("at hour 4400 "), std::string::npos);
}

TEST_F(FormatterTest, AnImpossibleWetBulbWarnsAndTheHourIsStillWritten) {
  state_.runMode = RunModeCsv;
  state_.moistureIndicator = 1;  // wet bulb
  for (int h = 1; h <= kHoursPerYear; ++h) table_.at(Moisture, h) = table_.at(DryBulb, h) - 1.0f;
  table_.at(DryBulb, 3) = 90.0f;
  table_.at(Moisture, 3) = 40.0f;
  ASSERT_TRUE(Run());
  ASSERT_EQ(ui_.notices.size(), 2u);
  EXPECT_EQ(ui_.notices[0], "Psych Error encountered at hour 3 using a WBT of 40.0 and a DBT of 90.0");
  EXPECT_EQ(ui_.notices[1], "An impossible psychrometric calculation was encountered.");
  const auto fin = ReadLines(FinalPath());
  EXPECT_EQ(Field(fin[2 + 2], 6), "32.00");
  EXPECT_EQ(fin.size(), 2u + kHoursPerYear);
}

}  // namespace
}  // namespace kestrum
