// Whole conversions that also write the repaired year as EPW: the written file read back
// with the project's own reader agrees with the converted year field by field, keeps every
// byte the conversion did not change, and converts again without any repair.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "csv/layout_match.h"
#include "epw/epw_header.h"
#include "epw/epw_reader.h"
#include "format/outside_libraries.h"
#include "run/calendar.h"
#include "run/process.h"
#include "run/run_error.h"
#include "support/test_support.h"

namespace kestrum {
namespace {

namespace fs = std::filesystem;
using testing::ReadBytes;
using Strings = std::vector<std::string>;

const std::string kGolden = std::string(KESTRUM_SAMPLE_DATA) + "/USA_CO_Golden-NREL.724666_TMY3.epw";
const std::string kTmy3 = std::string(KESTRUM_SAMPLE_DATA) + "/723170TYA.CSV";

Strings Split(const std::string& text, char by) {
  Strings parts;
  size_t start = 0;
  for (;;) {
    const size_t at = text.find(by, start);
    parts.push_back(text.substr(start, at == std::string::npos ? at : at - start));
    if (at == std::string::npos) return parts;
    start = at + 1;
  }
}

// The lines of a file with CR LF line ends (the last one, empty, dropped).
Strings Lines(const std::string& text) {
  Strings lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    lines.push_back(text.substr(start, end - start - (end > start && text[end - 1] == '\r' ? 1 : 0)));
    start = end + 1;
  }
  return lines;
}

// Columns 4..12 of a final-data file, one vector per hour.
std::vector<std::vector<double>> FinalData(const std::string& path) {
  std::vector<std::vector<double>> rows;
  const Strings lines = Lines(ReadBytes(path));
  for (size_t i = 2; i < lines.size(); ++i) {
    std::vector<double> v;
    for (const std::string& f : Split(lines[i], ',')) v.push_back(std::stod(f));
    rows.push_back(std::vector<double>(v.begin() + 3, v.end()));
  }
  return rows;
}

class RepairedEpwRunTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { libraries_ = OutsideLibraries::Load(KESTRUM_BIN_DIR).release(); }

  RunOutcome Convert(const std::string& base, const std::string& source, EpwOptions epw = {},
                     std::string epwOut = "") {
    RunRequest request;
    request.branch = RunBranch::Epw;
    request.sourceFile = source;
    request.outputFileName = base + ".BIN";
    request.outputDir = request.interimDir = request.programDir = dir_.str();
    request.epw = epw;
    EpwHeader header;
    ReadEPWHeader(source, header);
    request.site = header.site;
    request.epwOutFile = epwOut.empty() ? dir_.File(base + ".epw") : epwOut;
    return Run(request);
  }
  RunOutcome ConvertCsv(const std::string& base, const std::string& source) {
    const LayoutMatch tmy3 = MatchLayout(source, "tmy3");
    RunRequest request;
    request.branch = RunBranch::Csv;
    request.sourceFile = source;
    request.outputFileName = base + ".BIN";
    request.outputDir = request.interimDir = request.programDir = dir_.str();
    request.csv = tmy3.fieldMap;  // dew point, global and direct normal
    request.site = tmy3.site;
    request.epwOutFile = dir_.File(base + ".epw");
    return Run(request);
  }
  RunOutcome Run(const RunRequest& request) {
    RunServices services{table_, state_, ui_, log_, *libraries_};
    RunOutcome outcome = Process(request, services);
    EXPECT_TRUE(outcome.converted);
    return outcome;
  }

  // The written EPW file read as a run reads it, in stored units.
  HourlyTable ReadBack(const std::string& path, EpwOptions options = {}) {
    HourlyTable back;
    RunState state;
    state.outputBaseName = "readback";
    testing::RecordingUi ui;
    StageContext ctx{back, state, ui, log_, dir_.str()};
    back.ResetOptionalSeries();
    EXPECT_TRUE(ReadEPWData(path, options, ctx));
    EXPECT_TRUE(ui.notices.empty());
    return back;
  }

  // Every hour of the written file against the converted table and the final data: each
  // value within the rounding of its EPW field (0.1 deg C, whole %, Wh/m2 and degrees,
  // 0.1 m/s), and the final data's own rounding.
  void ExpectAgreement(const HourlyTable& back, const std::string& base, bool relHum) {
    const auto finalData = FinalData(dir_.File(base + "-final.csv"));
    ASSERT_EQ(finalData.size(), 8760u);
    int off = 0;
    for (int h = 1; h <= kHoursPerYear && off < 10; ++h) {
      const std::vector<double>& f = finalData[static_cast<size_t>(h - 1)];
      const struct {
        const char* what;
        double read, expected, tolerance;
      } checks[] = {
          {"dry bulb", back.at(DryBulb, h), table_.at(DryBulb, h), 0.05 * 1.8 + 1e-3},
          {"moisture", back.at(Moisture, h), relHum ? f[3] : f[2], relHum ? 0.51 : 0.09 + 0.006},
          {"global", back.at(SolarHorizontal, h), table_.at(SolarHorizontal, h), 0.5 + 1e-3},
          {"direct normal", back.at(SolarDirectNormal, h), f[6], 0.55},
          {"wind speed", back.at(WindSpeed, h), table_.at(WindSpeed, h), 0.05 * 2.23 + 1e-3},
          {"wind direction", back.at(WindDirection, h), table_.at(WindDirection, h), 0.5 + 1e-3},
      };
      for (const auto& c : checks) {
        if (std::fabs(c.read - c.expected) > c.tolerance) {
          ADD_FAILURE() << c.what << " of hour " << h << ": read back " << c.read << ", converted "
                        << c.expected;
          ++off;
        }
      }
    }
  }

  // A second conversion of the written file repairs nothing, estimates nothing, and its
  // final data agree with the first run's within the rounding of the EPW fields.
  void ExpectCleanRoundTrip(const std::string& base, const std::string& epw, EpwOptions options = {}) {
    // A relative humidity written in whole percent moves the derived dew point and wet bulb
    // by up to about 0.3 deg F.
    const double derived = options.useRelHum ? 0.4 : 0.1;
    const auto first = FinalData(dir_.File(base + "-final.csv"));
    const RunOutcome again = Convert(base + "-again", epw, options);
    ASSERT_TRUE(again.quality);
    EXPECT_EQ(again.quality->hoursRepaired, 0);
    EXPECT_EQ(again.quality->directNormalEstimated, 0);
    EXPECT_TRUE(again.warnings.empty()) << again.warnings.front();
    const auto second = FinalData(dir_.File(base + "-again-final.csv"));
    ASSERT_EQ(second.size(), first.size());
    // Dry bulb, wet bulb, dew point, RH, humidity ratio, global, direct normal, wind.
    const double tolerance[] = {0.1, 0.3, derived, 1.0, 6e-5, 0.6, 0.6, 1.0, 1.0};
    int off = 0;
    for (size_t h = 0; h < first.size() && off < 10; ++h) {
      for (size_t k = 0; k < 9; ++k) {
        if (std::fabs(first[h][k] - second[h][k]) > tolerance[k]) {
          ADD_FAILURE() << "hour " << h + 1 << ", column " << k + 4 << ": " << first[h][k]
                        << " then " << second[h][k];
          ++off;
        }
      }
    }
    // Written again, the file is the same, rows and all but the repair comment.
    const Strings a = Lines(ReadBytes(epw));
    const Strings b = Lines(ReadBytes(again.epwPath));
    ASSERT_EQ(a.size(), b.size());
    for (size_t i = 0; i < a.size(); ++i) {
      if (a[i].rfind("COMMENTS 2", 0) != 0) {
        EXPECT_EQ(a[i], b[i]) << "line " << i + 1;
      }
    }
  }

  static OutsideLibraries* libraries_;
  testing::TempDir dir_;
  HourlyTable table_;
  RunState state_;
  SilentUi ui_;
  RunLog log_{dir_.File("run.log")};
};

OutsideLibraries* RepairedEpwRunTest::libraries_ = nullptr;

TEST_F(RepairedEpwRunTest, ADamagedEpwFileKeepsEveryByteButTheRepairedFields) {
  const Strings golden = Lines(ReadBytes(kGolden));
  ASSERT_EQ(golden.size(), 8u + 8760u);
  // Hour -> the fields damaged (field number -> text); hours whose rows are taken out.
  std::map<int, std::map<int, std::string>> damage;
  for (int h = 100; h <= 105; ++h) damage[h][7] = "99.9";      // dry bulb: EPW's missing code
  for (int h = 2000; h <= 2002; ++h) damage[h][8] = "99.9";    // dew point above the dry bulb
  damage[3013][14] = "9999";                                   // global horizontal
  for (int h = 4000; h <= 4003; ++h) damage[h][15] = "9999";   // direct normal: estimated
  damage[5000][22] = "999";                                    // wind speed
  damage[5001][21] = "999";                                    // wind direction
  const std::set<int> removed = {7000, 7001, 7002, 7003};
  std::string text;
  for (size_t i = 0; i < golden.size(); ++i) {
    const int h = static_cast<int>(i) - 7;
    if (removed.count(h)) continue;
    Strings f = Split(golden[i], ',');
    if (damage.count(h)) {
      for (const auto& [field, value] : damage[h]) f[static_cast<size_t>(field - 1)] = value;
    }
    std::string line;
    for (size_t k = 0; k < f.size(); ++k) line += (k ? "," : "") + f[k];
    text += line + "\r\n";
  }
  const std::string source = dir_.Write("damaged.epw", text);

  const RunOutcome run = Convert("dam", source);
  EXPECT_EQ(run.epwPath, dir_.File("dam.epw"));
  ASSERT_TRUE(run.quality);
  const Strings out = Lines(ReadBytes(run.epwPath));
  ASSERT_EQ(out.size(), golden.size());
  for (size_t i = 0; i < 8; ++i) {
    if (i == 6) {
      // The dew point's repair carries the dry bulb with it: 6 + 3 + 4 hours.
      EXPECT_EQ(out[i], golden[i] + " -- Repaired by Kestrum: dry bulb 13 h; dew point 7 h; global "
                                    "horizontal 5 h; wind speed 5 h; wind direction 5 h; direct "
                                    "normal estimated for 8 h; a 365-day year (29 February left "
                                    "out); 4 h without a source row written from the converted "
                                    "values");
      EXPECT_NE(out[i].find("direct normal estimated for 8 h; a 365-day year (29 February left "
                            "out); 4 h without a source row written from the converted values"),
                std::string::npos)
          << out[i];
    } else {
      EXPECT_EQ(out[i], golden[i]);
    }
  }
  for (int h = 1; h <= kHoursPerYear; ++h) {
    const Strings in = Split(golden[static_cast<size_t>(h + 7)], ',');
    const Strings written = Split(out[static_cast<size_t>(h + 7)], ',');
    ASSERT_EQ(written.size(), 35u) << "hour " << h;
    if (removed.count(h)) {
      const CalendarHour ch = SplitHourOfYear(h);
      EXPECT_EQ(written[0] + "," + written[1] + "," + written[2] + "," + written[3],
                in[0] + "," + std::to_string(ch.month) + "," + std::to_string(ch.day) + "," +
                    std::to_string(ch.hour));
      continue;
    }
    std::set<int> allowed;
    for (const auto& [field, value] : damage[h]) {
      allowed.insert(field);
      if (field == 7 || field == 8) allowed.insert(9);  // relative humidity follows
      if (field == 8) allowed.insert(7);  // a dew point is repaired with its dry bulb
      EXPECT_NE(written[static_cast<size_t>(field - 1)], value) << "hour " << h;
    }
    for (int field = 1; field <= 35; ++field) {
      if (allowed.count(field)) continue;
      EXPECT_EQ(written[static_cast<size_t>(field - 1)], in[static_cast<size_t>(field - 1)])
          << "hour " << h << ", field " << field;
    }
  }
  ExpectAgreement(ReadBack(run.epwPath), "dam", false);
  ExpectCleanRoundTrip("dam", run.epwPath);
}

TEST_F(RepairedEpwRunTest, RelativeHumidityRunsRewriteTheDewPointFromTheFormatter) {
  Strings golden = Lines(ReadBytes(kGolden));
  std::string text;
  for (size_t i = 0; i < golden.size(); ++i) {
    Strings f = Split(golden[i], ',');
    if (i >= 8 + 1000 && i < 8 + 1006) f[8] = "999";  // relative humidity missing
    std::string line;
    for (size_t k = 0; k < f.size(); ++k) line += (k ? "," : "") + f[k];
    text += line + "\r\n";
  }
  const EpwOptions rh{.useRelHum = true};
  const RunOutcome run = Convert("rh", dir_.Write("rh-source.epw", text), rh);
  ASSERT_TRUE(run.quality);
  EXPECT_EQ(run.quality->repairs[1].total, 6);
  const Strings out = Lines(ReadBytes(run.epwPath));
  const Strings repaired = Split(out[8 + 1000], ',');
  const Strings source = Split(golden[8 + 1000], ',');
  EXPECT_NE(repaired[8], "999");
  EXPECT_EQ(repaired[6], source[6]);  // the dry bulb stays
  ExpectAgreement(ReadBack(run.epwPath, rh), "rh", true);
  ExpectCleanRoundTrip("rh", run.epwPath, rh);
}

TEST_F(RepairedEpwRunTest, ACsvSourceGivesACompleteFileThatConvertsAgainUnrepaired) {
  // The TMY3 sample with some dry bulbs and global values blanked out.
  const Strings lines = Lines(ReadBytes(kTmy3));
  std::string text;
  for (size_t i = 0; i < lines.size(); ++i) {
    Strings f = Split(lines[i], ',');
    if (i >= 2 + 500 && i < 2 + 503) f[31] = "";  // Dry-bulb (C)
    if (i == 2 + 4812) f[4] = "";                  // GHI, hour 4813 (a summer noon)
    std::string line;
    for (size_t k = 0; k < f.size(); ++k) line += (k ? "," : "") + f[k];
    text += line + "\n";
  }
  const RunOutcome run = ConvertCsv("tmy3", dir_.Write("tmy3-damaged.csv", text));
  ASSERT_TRUE(run.quality);
  EXPECT_EQ(run.quality->repairs[0].total, 3);
  EXPECT_EQ(run.quality->repairs[2].total, 1);
  const Strings out = Lines(ReadBytes(run.epwPath));
  ASSERT_EQ(out.size(), 8u + 8760u);
  EXPECT_EQ(out[0], "LOCATION,GREENSBORO PIEDMONT TRIAD INT,,,CSV,-,36.10,-79.95,-5.0,273.0");
  EXPECT_EQ(out[5].rfind("COMMENTS 1,Made by Kestrum from the CSV file tmy3-damaged.csv -- ", 0), 0u);
  EXPECT_NE(out[5].find("the rows are dated 2005"), std::string::npos);
  EXPECT_EQ(out[6].rfind("COMMENTS 2,Repaired by Kestrum: dry bulb 3 h; dew point 0 h; global "
                         "horizontal 1 h;", 0),
            0u);
  EXPECT_EQ(out[7], "DATA PERIODS,1,1,Data,Saturday, 1/ 1,12/31");
  for (int h = 1; h <= kHoursPerYear; ++h) {
    const Strings f = Split(out[static_cast<size_t>(h + 7)], ',');
    ASSERT_EQ(f.size(), 35u) << h;
    const CalendarHour ch = SplitHourOfYear(h);
    ASSERT_EQ(f[0] + "," + f[1] + "," + f[2] + "," + f[3],
              "2005," + std::to_string(ch.month) + "," + std::to_string(ch.day) + "," +
                  std::to_string(ch.hour));
    const double global = std::stod(f[13]);
    const double diffuse = std::stod(f[15]);
    EXPECT_TRUE(diffuse >= 0 && diffuse <= global + 0.5) << "hour " << h << ": " << out[static_cast<size_t>(h + 7)];
    EXPECT_EQ(f[10] + "," + f[11] + "," + f[12] + "," + f[16] + "," + f[17] + "," + f[18] + "," + f[19],
              "9999,9999,9999,999999,999999,999999,9999");
  }
  ExpectAgreement(ReadBack(run.epwPath), "tmy3", false);
  ExpectCleanRoundTrip("tmy3", run.epwPath);
}

TEST_F(RepairedEpwRunTest, ABareNameLandsBesideTheBinAndTheSourceIsNeverWrittenOver) {
  const RunOutcome run = Convert("bare", kGolden, {}, "bare.epw");
  EXPECT_EQ(run.epwPath, (fs::path(run.binPath).parent_path() / "bare.epw").string());
  EXPECT_TRUE(fs::exists(run.epwPath));

  const std::string copy = dir_.Write("own.epw", ReadBytes(kGolden));
  try {
    Convert("own", copy, {}, copy);
    ADD_FAILURE() << "a run that writes over its source";
  } catch (const RunError& e) {
    EXPECT_NE(std::string(e.what()).find("source file"), std::string::npos) << e.what();
  }
  EXPECT_EQ(ReadBytes(copy), ReadBytes(kGolden));
}

}  // namespace
}  // namespace kestrum
