// The clock of real weather files checked against the sun: quiet on files that keep the
// site's time, a warning with the shift that aligns the others (a PVGIS file stamped in UTC,
// a site given with a wrong time zone), and the ground temperatures of a southern site.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <sstream>
#include <vector>

#include "cli/cli_fixture.h"

namespace kestrum::testing {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;

const std::string kTestData = KESTRUM_TEST_DATA;
const std::string kSamples = KESTRUM_SAMPLE_DATA;
const std::string kPvgisName = "PVGIS_TMY_45.000_8.000_2005_2023-rows.csv";
// The PVGIS rows read without a date form: temperature, relative humidity, global
// horizontal, wind speed and direction; the site in the time zone given.
std::string PvgisOptions(const std::string& timeZone) {
  return "--first-row 19 --date-form none --moisture rel-hum --columns 2,3,4,8,9 --temp-unit C "
         "--moist-unit percent --wind-unit m/s --lat 45 --lon 8 --elev 250 --tz " + timeZone;
}

std::string SunWarning(const std::string& file, const std::string& runs, const std::string& where,
                       int shift) {
  return "The sun in " + file + " runs " + runs + " against the clock at " + where +
         ": the file may be stamped in UTC or at the start of each hour; --time-shift " +
         std::to_string(shift) + " aligns it.";
}

class TimeBaseTest : public CliFixture {
 protected:
  json Report() const { return json::parse(Read("r.json")); }
  // The sample EPW file with another time zone on its LOCATION line.
  void WriteGoldenInZone(const std::string& name, const std::string& timeZone) {
    std::string text = Sample();
    const size_t at = text.find(",-105.18,-7.0,");
    ASSERT_NE(at, std::string::npos);
    text.replace(at, 14, ",-105.18," + timeZone + ",");
    Write(name, text);
  }
};

TEST_F(TimeBaseTest, FilesThatKeepTheSitesTimeAreQuiet) {
  const std::string inputs[] = {
      "'" + kGoldenEpw + "'",
      "'" + kTestData + "/USA_CA_San.Francisco.Intl.AP.724940_TMY3.epw'",
      "'" + kTestData + "/USA_IL_Chicago-OHare.Intl.AP.725300_TMY3.epw'",
      "'" + kSamples + "/723170TYA.CSV' --layout tmy3",
  };
  for (const std::string& input : inputs) {
    SCOPED_TRACE(input);
    const CliResult r = Run("convert " + input + " --out out --quiet --report r.json");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err.find("The sun in"), std::string::npos) << r.err;
    EXPECT_EQ(r.err.find("time zone"), std::string::npos) << r.err;
    const json report = Report();
    EXPECT_EQ(report["sun_offset_hours"], 0);
    EXPECT_TRUE(report["warnings"].empty()) << report["warnings"];
  }
}

TEST_F(TimeBaseTest, APvgisFileStampedInUtcRunsOneHourEarly) {
  // Its rows are stamped in UTC and sampled 0.18 h after the stamp; the site keeps UTC+1.
  fs::copy_file(kTestData + "/pvgis/" + kPvgisName, dir_ / kPvgisName);
  const CliResult r = Run("convert " + kPvgisName + " " + PvgisOptions("1") +
                          " --out out --log run.log --report r.json");
  ASSERT_EQ(r.status, 0) << r.err;
  const std::string warning = SunWarning(kPvgisName, "1 h early", "longitude 8, time zone 1", 1);
  EXPECT_EQ(r.err, "kestrum-cli: warning: " + warning + "\n");
  EXPECT_NE(Read("run.log").find("\r\n     " + warning + "\r\n"), std::string::npos);
  const json report = Report();
  EXPECT_EQ(report["status"], "converted");
  EXPECT_EQ(report["sun_offset_hours"], 1);
  EXPECT_EQ(report["warnings"], json::array({warning}));
  EXPECT_TRUE(fs::exists(dir_ / "out" / "PVGIS_TMY_45.000_8.000_2005_2023-rows.bin"));

  // The shift the warning names aligns them: the run is quiet.
  const CliResult shifted = Run("convert " + kPvgisName + " " + PvgisOptions("1") +
                                " --time-shift 1 --out out --quiet --report r.json");
  ASSERT_EQ(shifted.status, 0) << shifted.err;
  EXPECT_EQ(Report()["sun_offset_hours"], 0);
  EXPECT_EQ(shifted.err, "");

  // The same rows described in UTC keep their time: within half an hour of the sun.
  const CliResult utc = Run("convert " + kPvgisName + " " + PvgisOptions("0") +
                            " --out out --quiet --report r.json");
  ASSERT_EQ(utc.status, 0) << utc.err;
  EXPECT_EQ(Report()["sun_offset_hours"], 0);
  EXPECT_EQ(utc.err, "");
}

TEST_F(TimeBaseTest, ASiteGivenWithAWrongTimeZoneIsWarnedWithTheShiftThatAlignsIt) {
  const struct {
    const char* timeZone;
    int shift;
    const char* runs;
    bool farFromLongitude;
  } cases[] = {
      {"-5.0", 2, "2 h early", false},
      {"-9", -2, "2 h late", false},
      {"-11.0", -4, "4 h late", true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.timeZone);
    WriteGoldenInZone("Golden.epw", c.timeZone);
    const CliResult r = Run("convert Golden.epw --out out --quiet --report r.json");
    ASSERT_EQ(r.status, 0) << r.err;
    const double zone = std::stod(c.timeZone);
    std::ostringstream shown;
    shown << zone;
    std::vector<std::string> expected;
    if (c.farFromLongitude) {
      expected.push_back("The time zone " + shown.str() +
                         " of Golden.epw is more than 3 hours away from its longitude -105.18 / "
                         "15 = -7.01: check the site's time zone and longitude.");
    }
    expected.push_back(SunWarning("Golden.epw", c.runs,
                                  "longitude -105.18, time zone " + shown.str(), c.shift));
    const json report = Report();
    EXPECT_EQ(report["sun_offset_hours"], c.shift);
    EXPECT_EQ(report["warnings"], json(expected));
    for (const std::string& w : expected) {
      EXPECT_NE(r.err.find("kestrum-cli: warning: " + w + "\n"), std::string::npos) << r.err;
    }
  }
}

TEST_F(TimeBaseTest, ACsvSiteGivenInUtcIsWarnedTwice) {
  // Greensboro keeps US Eastern time (-5); given as UTC, its sun runs 5 h early.
  const CliResult r = Run("convert '" + kSamples +
                          "/723170TYA.CSV' --layout tmy3 --tz 0 --out out --quiet --report r.json");
  ASSERT_EQ(r.status, 0) << r.err;
  const json report = Report();
  EXPECT_EQ(report["sun_offset_hours"], 5);
  EXPECT_EQ(report["warnings"],
            json::array({"The time zone 0 of 723170TYA.CSV is more than 3 hours away from its "
                         "longitude -79.95 / 15 = -5.33: check the site's time zone and longitude.",
                         SunWarning("723170TYA.CSV", "5 h early", "longitude -79.95, time zone 0",
                                    5)}));
}

TEST_F(TimeBaseTest, NoOffsetIsGivenForARunThatStopsBeforeItsSiteIsRead) {
  std::string text = Sample();
  const size_t at = text.find(",39.74,");
  ASSERT_NE(at, std::string::npos);
  text.replace(at, 7, ",north,");
  Write("nowhere.epw", text);
  const CliResult r = Run("convert nowhere.epw --out out --quiet --report r.json");
  EXPECT_EQ(r.status, 1);
  EXPECT_TRUE(Report()["sun_offset_hours"].is_null());
}

// The twelve values of the FT file's ground-temperature line.
std::vector<double> GroundLine(const std::string& ft) {
  const size_t second = ft.find("\r\n", ft.find("\r\n") + 2) + 2;
  std::istringstream line(ft.substr(second, ft.find("\r\n", second) - second));
  std::vector<double> values;
  for (double v; line >> v;) values.push_back(v);
  return values;
}

TEST_F(TimeBaseTest, ASouthernSitesGroundIsWarmestInFebruaryOrMarch) {
  // Greensboro's year moved on by half a year (from 1 July) at 36.1 degrees south: a
  // southern climate, warmest in January.
  const std::string source = ReadBytes(kSamples + "/723170TYA.CSV");
  std::vector<std::string> lines;
  std::istringstream in(source);
  for (std::string line; std::getline(in, line);) lines.push_back(line + "\n");
  ASSERT_EQ(lines.size(), 8762u);
  std::string south = lines[0] + lines[1];
  const size_t july = 2 + 181 * 24;
  for (size_t i = july; i < lines.size(); ++i) south += lines[i];
  for (size_t i = 2; i < july; ++i) south += lines[i];
  Write("south.csv", south);

  const CliResult r = Run("convert south.csv --layout tmy3 --lat -36.1 --out out --quiet --report r.json");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(Report()["sun_offset_hours"], 0);
  const std::vector<double> ground = GroundLine(Read("out/south.ft"));
  ASSERT_EQ(ground.size(), 12u);
  const auto warmest = std::max_element(ground.begin(), ground.end()) - ground.begin() + 1;
  const auto coldest = std::min_element(ground.begin(), ground.end()) - ground.begin() + 1;
  EXPECT_TRUE(warmest == 2 || warmest == 3) << "warmest month " << warmest;
  EXPECT_TRUE(coldest == 8 || coldest == 9) << "coldest month " << coldest;

  // The same file as a northern site: the same wave about the annual mean, sign changed.
  const CliResult north = Run("convert south.csv --layout tmy3 --name north --out out --quiet");
  ASSERT_EQ(north.status, 0) << north.err;
  const std::vector<double> northern = GroundLine(Read("out/north.ft"));
  ASSERT_EQ(northern.size(), 12u);
  double mean = 0;
  for (int m = 0; m < 12; ++m) mean += (ground[m] + northern[m]) / 24;
  for (int m = 0; m < 12; ++m) {
    EXPECT_NEAR(ground[m] - mean, -(northern[m] - mean), 0.11) << "month " << m + 1;
  }
}

}  // namespace
}  // namespace kestrum::testing
