// What a conversion tells about its repairs: the closing progress lines, the #prev warnings
// on stderr, and the JSON and HTML reports.
#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli_fixture.h"

namespace kestrum::testing {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;

class ReportTest : public CliFixture {};

TEST_F(ReportTest, APartYearConvertsWithWarningsAndAReportThatCountsTheRepairs) {
  Write("half.epw", Sample(4000));
  const CliResult r = Run("convert half.epw --out out --log run.log --report half.json");
  ASSERT_EQ(r.status, 0) << r.err;

  const std::string binLine = "  BIN file written to " + (dir_ / "out" / "half.bin").string() + "\n";
  const std::string repaired =
      "  Repaired hours: dry bulb 4760, moisture 4760, solar 4760, wind speed 4760, wind "
      "direction 4760; direct normal estimated for 4760 hours.\n";
  EXPECT_NE(r.out.find("  Formatted weather data successfully.\n" + binLine + repaired),
            std::string::npos)
      << r.out;
  // One warning per series, on stdout after the summary and on stderr; the log has all.
  const std::string windSpeed =
      "Warning: wind speed has a streak of 4760 bad hours starting on 6/16 at hour 17 (54.3% of "
      "the year), longer than its #prev limit of 168: the file may cover only part of the year.";
  EXPECT_NE(r.out.find("  " + windSpeed + "\n"), std::string::npos);
  EXPECT_NE(r.err.find("kestrum-cli: " + windSpeed + "\n"), std::string::npos) << r.err;
  EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 5);
  const std::string log = Read("run.log");
  EXPECT_NE(log.find("\r\n  " + windSpeed + "\r\n  Warning: wind direction has"), std::string::npos);
  EXPECT_NE(log.find("of the year.\r\nProcessing finished at "), std::string::npos);
  EXPECT_NE(log.find(repaired.substr(0, repaired.size() - 1) + "\r\n"), std::string::npos);

  const json report = json::parse(Read("half.json"));
  EXPECT_EQ(report["status"], "converted");
  EXPECT_TRUE(report["error"].is_null());
  const json& repairs = report["repairs"];
  ASSERT_EQ(repairs.size(), 5u);
  for (const char* series : {"dry_bulb", "moisture", "solar", "wind_speed", "wind_direction"}) {
    SCOPED_TRACE(series);
    const json& s = repairs.at(series);
    ASSERT_EQ(s.size(), 4u);
    for (const char* member : {"interpolated", "previous_day", "first_good_hour", "total"}) {
      EXPECT_TRUE(s.at(member).is_number_integer()) << member;
    }
    EXPECT_EQ(s["total"], 4760);
    EXPECT_EQ(s["previous_day"], 4760);
    EXPECT_EQ(report["longest_streaks"][series]["start_hour_of_year"], 4001);
  }
  EXPECT_EQ(report["direct_normal_estimated"], 4760);
  EXPECT_EQ(report["warnings"].size(), 5u);
  EXPECT_EQ(report["warnings"][3], windSpeed);
  EXPECT_EQ(report["monthly"].size(), 12u);
  EXPECT_TRUE(report["monthly"][11]["as_read"]["dry_bulb"].is_null());  // December: nothing read
  EXPECT_EQ(report["monthly"][0]["as_converted"]["dry_bulb"]["hours"], 744);
  EXPECT_EQ(report["outputs"]["bin"], (dir_ / "out" / "half.bin").string());
  EXPECT_EQ(report["options"]["limits"]["solar"]["prev"], 96);
  EXPECT_GT(report["seconds"].get<double>(), 0.0);
}

// The report names what the moisture series held: an EPW run's indicator 1 is a dew point,
// a CSV run's a wet bulb.
TEST_F(ReportTest, TheMoistureQuantityIsNamedAfterTheRun) {
  Write("site.epw", Sample());
  const std::string tmy3 = std::string(KESTRUM_SAMPLE_DATA) + "/723170TYA.CSV";
  const struct {
    std::string args;
    const char* moisture;
  } cases[] = {
      {"convert site.epw --out a", "dew point"},
      {"convert site.epw --use-rh --out b", "relative humidity"},
      {"convert '" + tmy3 + "' --layout tmy3 --moisture wet-bulb --columns 32,35,5,8,47,44 --out c",
       "wet bulb"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.args);
    const CliResult r = Run(c.args + " -q --report m.json");
    ASSERT_EQ(r.status, 0) << r.err;
    const json report = json::parse(Read("m.json"));
    EXPECT_EQ(report["moisture"], c.moisture);
  }
}

TEST_F(ReportTest, TheHtmlPageIsSelfContainedAndEscapesTheSourceTexts) {
  Write("site.epw", Sample(-1, "Fort <Alpha> & \"Beta\""));
  const CliResult r = Run("convert site.epw -q --report site.HTML");
  ASSERT_EQ(r.status, 0) << r.err;
  const std::string page = Read("site.HTML");
  EXPECT_EQ(page.rfind("<!DOCTYPE html>", 0), 0u);
  EXPECT_NE(page.find("Fort &lt;Alpha&gt; &amp; &quot;Beta&quot;"), std::string::npos);
  EXPECT_EQ(page.find("<Alpha>"), std::string::npos);
  for (const char* outside : {"<script", "http:", "https:", "<link", "<img"}) {
    EXPECT_EQ(page.find(outside), std::string::npos) << outside;
  }
  EXPECT_NE(page.find("<h3>Wind speed (m/s)</h3>"), std::string::npos);  // SI by default
  EXPECT_NE(page.find("39.74 degrees north, 105.18 degrees west"), std::string::npos);
  EXPECT_NE(page.find("</html>"), std::string::npos);

  ASSERT_EQ(Run("convert site.epw -q --units ip --report ip.html").status, 0);
  EXPECT_NE(Read("ip.html").find("<h3>Wind speed (mph)</h3>"), std::string::npos);
}

TEST_F(ReportTest, AFailedRunStillLeavesAReportSayingWhy) {
  Write("k.INI", "[SetUp]\r\nDBTmax=-40\r\n");  // every dry-bulb hour is bad
  CliResult r = Run("convert '" + kGoldenEpw + "' --settings k.INI -q --report cleaning.json");
  EXPECT_EQ(r.status, 3);
  json report = json::parse(Read("cleaning.json"));
  EXPECT_EQ(report["status"], "cleaning failed");
  EXPECT_NE(report["error"].get<std::string>().find("could not repair"), std::string::npos);
  EXPECT_EQ(report["repairs"]["dry_bulb"]["total"], 8760);
  EXPECT_TRUE(report["outputs"]["bin"].is_null());
  EXPECT_TRUE(report["annual_radiation"]["direct_normal"].is_null());

  r = Run("convert nothere.epw --report missing.json");
  EXPECT_EQ(r.status, 1);
  report = json::parse(Read("missing.json"));
  EXPECT_EQ(report["status"], "failed");
  EXPECT_NE(report["error"].get<std::string>().find("does not exist"), std::string::npos);
  EXPECT_FALSE(report.contains("repairs"));

  // The report's folder is made like --out's; a folder that cannot be made fails the run
  // after the .bin was written, and says so.
  r = Run("convert '" + kGoldenEpw + "' -q --report new/dir/r.json");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(json::parse(Read("new/dir/r.json"))["status"], "converted");
  Write("afile", "x");
  r = Run("convert '" + kGoldenEpw + "' -q --report afile/r.json");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("afile"), std::string::npos) << r.err;
}

// The file's own numbers, column by column, for a worked check of the report's units.
struct EpwColumn {
  double min = 1e300, max = -1e300, sum = 0;
  int hours = 0;
};
EpwColumn JanuaryColumn(const std::string& text, int field) {
  EpwColumn c;
  std::istringstream in(text);
  std::string line;
  for (int n = 1; std::getline(in, line); ++n) {
    if (n <= 8) continue;
    std::vector<std::string> f;
    std::stringstream fields(line);
    for (std::string x; std::getline(fields, x, ',');) f.push_back(x);
    if (f[1] != "1") continue;
    const double v = std::stod(f[static_cast<size_t>(field - 1)]);
    c.min = std::min(c.min, v);
    c.max = std::max(c.max, v);
    c.sum += v;
    ++c.hours;
  }
  return c;
}

TEST_F(ReportTest, SiAndIpValuesOfAKnownRunAreTheFilesOwnNumbersConverted) {
  ASSERT_EQ(Run("convert '" + kGoldenEpw + "' -q --report si.json").status, 0);
  ASSERT_EQ(Run("convert '" + kGoldenEpw + "' -q --units ip --report ip.json").status, 0);
  const json si = json::parse(Read("si.json"));
  const json ip = json::parse(Read("ip.json"));
  const std::string text = ReadBytes(kGoldenEpw);

  EXPECT_EQ(si["units"]["system"], "si");
  EXPECT_EQ(ip["units"]["system"], "ip");
  // January's dry bulb: the file's deg C as read, and deg C x 1.8 + 32.
  const EpwColumn dryBulb = JanuaryColumn(text, 7);
  ASSERT_EQ(dryBulb.hours, 744);
  const json& siJan = si["monthly"][0]["as_read"]["dry_bulb"];
  const json& ipJan = ip["monthly"][0]["as_read"]["dry_bulb"];
  EXPECT_EQ(siJan["unit"], "C");
  EXPECT_EQ(ipJan["unit"], "F");
  EXPECT_NEAR(siJan["min"].get<double>(), dryBulb.min, 1e-3);
  EXPECT_NEAR(siJan["max"].get<double>(), dryBulb.max, 1e-3);
  EXPECT_NEAR(siJan["mean"].get<double>(), dryBulb.sum / 744, 1e-3);
  EXPECT_NEAR(ipJan["min"].get<double>(), dryBulb.min * 1.8 + 32, 1e-3);
  EXPECT_NEAR(ipJan["mean"].get<double>(), dryBulb.sum / 744 * 1.8 + 32, 1e-3);
  // January's wind speed: the file's m/s, and m/s x 2.23 mph.
  const EpwColumn wind = JanuaryColumn(text, 22);
  EXPECT_EQ(si["monthly"][0]["as_converted"]["wind_speed"]["unit"], "m/s");
  EXPECT_NEAR(si["monthly"][0]["as_converted"]["wind_speed"]["max"].get<double>(), wind.max, 1e-3);
  EXPECT_NEAR(ip["monthly"][0]["as_converted"]["wind_speed"]["max"].get<double>(), wind.max * 2.23,
              1e-3);
  // January's global horizontal, summed: Wh/m2 / 1000 kWh/m2, / 3.1546 kBtu/ft2.
  const EpwColumn global = JanuaryColumn(text, 14);
  const json& siSum = si["monthly"][0]["radiation_sum"];
  EXPECT_EQ(siSum["unit"], "kWh/m2");
  EXPECT_NEAR(siSum["global_horizontal"].get<double>(), global.sum / 1000, 0.006);
  EXPECT_EQ(ip["monthly"][0]["radiation_sum"]["unit"], "kBtu/ft2");
  EXPECT_NEAR(ip["monthly"][0]["radiation_sum"]["global_horizontal"].get<double>(),
              global.sum / 1000 / 3.1546, 0.006);
  EXPECT_NEAR(ip["monthly"][0]["as_read"]["global_horizontal"]["max"].get<double>(),
              global.max / 3.1546, 1e-3);
  double annual = 0;
  for (const json& month : si["monthly"]) annual += month["radiation_sum"]["global_horizontal"].get<double>();
  EXPECT_NEAR(si["annual_radiation"]["global_horizontal"].get<double>(), annual, 0.1);

  // The site as numbers; the elevation in the report's unit.
  EXPECT_EQ(si["site"]["latitude"], 39.74);
  EXPECT_EQ(si["site"]["longitude"], -105.18);
  EXPECT_EQ(si["site"]["time_zone"], -7.0);
  EXPECT_EQ(si["site"]["elevation"], 1829.0);
  EXPECT_EQ(si["site"]["units"]["elevation"], "m");
  EXPECT_EQ(ip["site"]["elevation"], 6000.66);
  EXPECT_EQ(ip["site"]["units"]["elevation"], "ft");
  EXPECT_EQ(si["options"]["limits"]["dry_bulb"]["unit"], "F");  // the limits as set

  // A site text that is no number is null, and the run says why it stopped.
  std::string bad = Sample();
  bad.replace(bad.find("39.74"), 5, "north");
  Write("bad-site.epw", bad);
  EXPECT_EQ(Run("convert bad-site.epw -q --report bad.json").status, 1);
  const json failed = json::parse(Read("bad.json"));
  EXPECT_TRUE(failed["site"]["latitude"].is_null());
  EXPECT_EQ(failed["site"]["longitude"], -105.18);
  EXPECT_NE(failed["error"].get<std::string>().find("north"), std::string::npos);
}

// The pictures of the page, by their elements, and the page's size on a year whose every
// other hour was repaired in every series (the most marks the strip can have).
TEST_F(ReportTest, TheHtmlPageDrawsItsPicturesAndStaysSmall) {
  std::istringstream in(Sample());
  std::string text, line;
  for (int n = 1; std::getline(in, line); ++n) {
    if (n > 8 && n % 2 == 0) {
      std::vector<std::string> f;
      std::stringstream fields(line);
      for (std::string x; std::getline(fields, x, ',');) f.push_back(x);
      f[6] = "99.9";   // dry bulb
      f[7] = "99.9";   // dew point
      f[13] = "9999";  // global horizontal
      f[14] = "9999";  // direct normal
      f[20] = "999";   // wind direction
      f[21] = "999";   // wind speed
      line.clear();
      for (size_t k = 0; k < f.size(); ++k) line += (k ? "," : "") + f[k];
    }
    text += line + "\n";
  }
  Write("gappy.epw", text);
  const CliResult r = Run("convert gappy.epw -q --report gappy.html");
  ASSERT_EQ(r.status, 0) << r.err;
  const std::string page = Read("gappy.html");
  EXPECT_LT(page.size(), 1500u * 1024u);
  const auto count = [&](const std::string& what) {
    size_t n = 0;
    for (size_t at = page.find(what); at != std::string::npos; at = page.find(what, at + 1)) ++n;
    return n;
  };
  EXPECT_EQ(count("<svg class=\"chart "), 6u);
  EXPECT_EQ(count("<svg class=\"chart monthly-range\""), 1u);
  EXPECT_EQ(count("<svg class=\"chart monthly-sums\""), 1u);
  EXPECT_EQ(count("<svg class=\"chart heatmap\""), 2u);
  EXPECT_EQ(count("<svg class=\"chart repair-strip\""), 1u);
  EXPECT_EQ(count("<svg class=\"chart windrose\""), 1u);
  EXPECT_EQ(count("class=\"read\" fill"), 12u);
  EXPECT_EQ(count("class=\"conv\" fill"), 12u);
  EXPECT_EQ(count("class=\"bar s0\""), 12u);
  EXPECT_EQ(count("class=\"bar s1\""), 12u);
  EXPECT_EQ(count("<path class=\"marks\""), 6u);  // every row of the strip has marks
  EXPECT_GE(count("<path class=\"petal"), 16u);
  EXPECT_NE(page.find(">dry bulb (4380 h)</text>"), std::string::npos);
  EXPECT_NE(page.find("Calm (below 0.5 m/s): "), std::string::npos);
  for (const char* outside : {"<script", "http:", "https:", "<link", "<img", "url("}) {
    EXPECT_EQ(page.find(outside), std::string::npos) << outside;
  }
}

}  // namespace
}  // namespace kestrum::testing
