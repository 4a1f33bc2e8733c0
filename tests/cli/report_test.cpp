// What a conversion tells about its repairs: the closing progress lines, the #prev warnings
// on stderr, and the JSON and HTML reports.
#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>

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
  EXPECT_NE(page.find("<h3>Wind speed (mph)</h3>"), std::string::npos);
  EXPECT_NE(page.find("</html>"), std::string::npos);
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
  EXPECT_TRUE(report["annual_kwh_per_m2"]["direct_normal"].is_null());

  r = Run("convert nothere.epw --report missing.json");
  EXPECT_EQ(r.status, 1);
  report = json::parse(Read("missing.json"));
  EXPECT_EQ(report["status"], "failed");
  EXPECT_NE(report["error"].get<std::string>().find("does not exist"), std::string::npos);
  EXPECT_FALSE(report.contains("repairs"));

  r = Run("convert '" + kGoldenEpw + "' -q --report nodir/r.json");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("Cannot write the report"), std::string::npos) << r.err;
}

}  // namespace
}  // namespace kestrum::testing
