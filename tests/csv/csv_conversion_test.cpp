// Whole CSV conversions (read, clean, format, pack) of several layouts. The Golden EPW file
// written out as CSV in each layout must give the very files its EPW conversion gives, the
// FT site line and the original-data file's CSV form apart.
#include <gtest/gtest.h>

#include <cmath>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "csv/csv_lines.h"
#include "csv/csv_test_support.h"
#include "format/outside_libraries.h"
#include "run/process.h"
#include "support/test_support.h"

namespace kestrum {
namespace {

using testing::MakeFieldMap;
using testing::ReadBytes;
using testing::ReadCrLfLines;
using Strings = std::vector<std::string>;

const std::string kGolden =
    std::string(KESTRUM_SAMPLE_DATA) + "/USA_CO_Golden-NREL.724666_TMY3.epw";

// The fields of the Golden file's 8760 rows (1-based: field 2 is the month).
const std::vector<Strings>& GoldenRows() {
  static const std::vector<Strings> rows = [] {
    std::vector<Strings> out;
    CsvLineReader lines(kGolden);
    std::string line;
    while (lines.Next(line)) {
      if (lines.lineNumber() > 8) out.push_back(CsvSplitFields(" ," + line, 23));
    }
    return out;
  }();
  return rows;
}

std::string Format(const char* format, double v) {
  char buf[64];
  std::snprintf(buf, sizeof buf, format, v);
  return buf;
}

class CsvConversionTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    libraries_ = OutsideLibraries::Load(KESTRUM_BIN_DIR).release();
  }

  // Converts path as the run named base; returns whether every stage succeeded.
  bool Convert(const std::string& base, RunBranch branch, const std::string& path,
               const CsvFieldMap& fieldMap, EpwOptions epw = {},
               SiteInfo site = {"Golden CSV conversion test", "39.74", "-105.18", "-7", "1829"}) {
    RunRequest request;
    request.branch = branch;
    request.sourceFile = path;
    request.outputFileName = base + ".BIN";
    request.outputDir = dir_.str();
    request.interimDir = dir_.str();
    request.programDir = dir_.str();
    request.epw = epw;
    request.csv = fieldMap;
    request.site = site;
    RunServices services{table_, state_, ui_, log_, *libraries_};
    return Process(request, services).converted;
  }
  bool ConvertCsv(const std::string& base, const std::string& text, const CsvFieldMap& fieldMap) {
    return Convert(base, RunBranch::Csv, dir_.Write(base + ".csv", text), fieldMap);
  }
  bool ConvertEpw(const std::string& base, EpwOptions epw = {}) {
    return Convert(base, RunBranch::Epw, kGolden, CsvFieldMap{}, epw);
  }

  // The run's files that must match the EPW run's: the FT file from line 2 on, the final
  // data, the cleaning snapshot (kept under the run's name).
  Strings Outputs(const std::string& base) {
    Strings ft = ReadCrLfLines(dir_.File(base + ".ft"));
    ft.erase(ft.begin());
    std::rename(dir_.File("postclean-b.csv").c_str(), dir_.File(base + "-postclean.csv").c_str());
    return {testing::ReadBytes(dir_.File(base + "-final.csv")),
            testing::ReadBytes(dir_.File(base + "-postclean.csv")), ::testing::PrintToString(ft)};
  }

  static OutsideLibraries* libraries_;
  testing::TempDir dir_;
  HourlyTable table_;
  RunState state_;
  SilentUi ui_;
  RunLog log_{dir_.File("run.log")};
};

OutsideLibraries* CsvConversionTest::libraries_ = nullptr;

TEST_F(CsvConversionTest, EveryDateFormGivesTheFilesOfTheEpwConversion) {
  ASSERT_TRUE(ConvertEpw("epw"));
  const Strings expected = Outputs("epw");
  const Strings epwOrig = ReadCrLfLines(dir_.File("epw-orig.csv"));

  // Month, day, hour: the EPW file itself read as a CSV file.
  CsvFieldMap mdh = MakeFieldMap(kDateThreeFields, kMoistureDewPoint, kSolarGlobalAndDirect,
                              {"2", "3", "4", "7", "8", "14", "15", "22", "21"}, 9);
  mdh.dbtUnits = 1;
  mdh.moistUnits = 1;
  mdh.windUnits = 2;
  ASSERT_TRUE(Convert("mdh", RunBranch::Csv, kGolden, mdh));
  EXPECT_EQ(Outputs("mdh"), expected);
  EXPECT_EQ(state_.moistureKind, 1);
  const Strings orig = ReadCrLfLines(dir_.File("mdh-orig.csv"));
  ASSERT_EQ(orig.size(), epwOrig.size());
  for (size_t i = 2; i < orig.size(); ++i) {
    ASSERT_EQ(orig[i], epwOrig[i] + ",    0.00,    0.00,    2.00") << i;
  }
  const std::string ft = ReadBytes(dir_.File("mdh.ft"));
  EXPECT_EQ(ft.substr(0, ft.find("\r\n")), "Golden CSV conversion tes   39.74  105.18    7    5");

  // The same rows with one date-time field, hours numbered 0..23, and no date at all. The
  // values keep their text as the EPW file has it; the columns are DBT, DP, GH, DN, WS, WD.
  std::string serial, serialBeginning, iso, zeroBased, noDate;
  int h = 0;
  for (const Strings& f : GoldenRows()) {
    ++h;
    const std::string values = "," + f[7] + "," + f[8] + "," + f[14] + "," + f[15] + "," +
                               f[22] + "," + f[21] + "\n";
    serial += Format("%.10f", 38353.0 + h / 24.0) + values;  // 38353: 1 January 2005
    serialBeginning += Format("%.10f", 38353.0 + (h - 1) / 24.0) + values;
    iso += "2005-" + Format("%02.0f", std::stod(f[2])) + "-" + Format("%02.0f", std::stod(f[3])) +
           (h % 2 ? "T" : " ") + Format("%02.0f", std::stod(f[4])) + ":00" + values;
    zeroBased += f[2] + "," + f[3] + "," + std::to_string(std::stoi(f[4]) - 1) + values;
    noDate += values.substr(1);
  }
  const struct {
    const char* name;
    std::string text;
    int32_t dateInd;
    Strings dates;
    int32_t timeStamps = kStampsEnding;
  } forms[] = {
      {"serial", serial, kDateOneField, {"1"}},
      {"iso", iso, kDateOneField, {"1"}},
      // Stamped 00:00 .. 23:00, each stamp beginning its hour: the whole year, 8760 too.
      {"serial-beginning", serialBeginning, kDateOneField, {"1"}, kStampsBeginning},
      {"zero-based", zeroBased, kDateThreeFields, {"1", "2", "3"}},
      {"no-date", noDate, kDateNone, {}},
  };
  const Strings expectedFinal = ReadCrLfLines(dir_.File("epw-final.csv"));
  for (const auto& form : forms) {
    Strings columns = form.dates;
    const int first = static_cast<int>(columns.size());
    for (int c = 1; c <= 6; ++c) columns.push_back(std::to_string(first + c));
    CsvFieldMap fieldMap = MakeFieldMap(form.dateInd, kMoistureDewPoint, kSolarGlobalAndDirect, columns);
    fieldMap.dbtUnits = 1;
    fieldMap.moistUnits = 1;
    fieldMap.windUnits = 2;
    fieldMap.timeStamps = form.timeStamps;
    ASSERT_TRUE(ConvertCsv(form.name, form.text, fieldMap)) << form.name;
    if (form.dateInd != kDateOneField || form.timeStamps == kStampsBeginning) {
      EXPECT_EQ(Outputs(form.name), expected) << form.name;
      continue;
    }
    // One date field cannot name hour 24 of 31 December: 1 January 0:00 lies before the
    // year. That hour is left to the cleaning; every other hour is the EPW run's.
    Strings final = ReadCrLfLines(dir_.File(std::string(form.name) + "-final.csv"));
    ASSERT_EQ(final.size(), expectedFinal.size()) << form.name;
    EXPECT_EQ(Strings(final.begin(), final.end() - 1),
              Strings(expectedFinal.begin(), expectedFinal.end() - 1))
        << form.name;
    const Strings log = ReadCrLfLines(log_.path());
    EXPECT_EQ(std::count(log.begin(), log.end(),
                         "     1 data row whose date or hour is not in the 365-day year was "
                         "skipped (first at line 8760)."),
              1);
    std::filesystem::remove(log_.path());
  }
}

TEST_F(CsvConversionTest, RelativeHumidityAndEstimatedDirectNormalMatchTheEpwOptions) {
  EpwOptions epw;
  epw.useRelHum = true;
  epw.calcDirectNormal = true;
  ASSERT_TRUE(ConvertEpw("epw", epw));
  const Strings expected = Outputs("epw");
  CsvFieldMap fieldMap = MakeFieldMap(kDateThreeFields, kMoistureRelHum, kSolarGlobal,
                               {"2", "3", "4", "7", "9", "14", "22", "21"}, 9);
  fieldMap.dbtUnits = 1;
  fieldMap.windUnits = 2;
  ASSERT_TRUE(Convert("rh", RunBranch::Csv, kGolden, fieldMap));
  EXPECT_EQ(Outputs("rh"), expected);
  EXPECT_EQ(state_.moistureKind, 3);
}

TEST_F(CsvConversionTest, WetBulbAndFractionalHumidityRunsGiveTheWorkedExamples) {
  // Wet bulb 60 deg F at a dry bulb of 75 deg F at sea level: W 0.0075968, dew point
  // 49.65 deg F, relative humidity 41.23 %. Snow, rain and cloud-type columns on the way.
  const std::string wet = testing::YearLines([](int h) {
    return "75,60,0,10,270," + std::string(h == 1 ? "1,0,3" : h == 2 ? "0,yes,1" : "0,0,2");
  });
  ASSERT_TRUE(Convert("wb", RunBranch::Csv, dir_.Write("wb.csv", wet),
                      MakeFieldMap(kDateNone, kMoistureWetBulb, kSolarGlobal,
                               {"1", "2", "3", "4", "5", "6", "7", "8"}),
                      {}, {"Sea level", "40", "-105", "-7", "0"}));
  EXPECT_EQ(state_.moistureKind, 2);
  Strings final = ReadCrLfLines(dir_.File("wb-final.csv"));
  EXPECT_EQ(final[2].substr(0, 53), " 1, 1, 1,   75.00,   60.00,   49.65,   41.23,0.007597");
  const Strings ft = ReadCrLfLines(dir_.File("wb.ft"));
  EXPECT_EQ(ft[3].substr(27, 6), "  1  0");  // snow, rain
  EXPECT_EQ(ft[3].substr(70, 3), "  3");     // cloud type
  EXPECT_EQ(ft[4].substr(27, 6), "  0  1");
  EXPECT_EQ(ft[4].substr(70, 3), "  1");
  EXPECT_EQ(ft[5].substr(27, 6), "  0  0");
  EXPECT_EQ(ft[5].substr(70, 3), "  2");
  EXPECT_EQ(ft[3].substr(73, 5), "   9.");  // 10 knots

  // Relative humidity 50 % (as the fraction 0.5) at 90 deg F and 5000 ft (1524 m): W 0.018103,
  // dew point 68.62 deg F, wet bulb 74.19 deg F.
  CsvFieldMap rh = MakeFieldMap(kDateNone, kMoistureRelHum, kSolarGlobal, {"1", "2", "3", "4", "5"});
  rh.moistUnits = 1;
  ASSERT_TRUE(Convert("high", RunBranch::Csv,
                      dir_.Write("high.csv", testing::YearLines([](int) { return "90,0.5,0,0,0"; })),
                      rh, {}, {"High", "39.74", "-105.18", "-7", "1524"}));
  final = ReadCrLfLines(dir_.File("high-final.csv"));
  EXPECT_EQ(final[2].substr(0, 53), " 1, 1, 1,   90.00,   74.19,   68.62,   50.00,0.018103");
  EXPECT_EQ(ReadCrLfLines(dir_.File("high-orig.csv"))[2].substr(0, 24), "1,1,1,   90.00,   50.00,");
}

}  // namespace
}  // namespace kestrum
