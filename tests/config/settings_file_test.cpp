// Reading and writing the settings file: defaults, value rules, key order, keeping what
// the program does not know, and replacing the file safely.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <string>

#include "config/settings.h"
#include "config_test_support.h"
#include "run/run_error.h"

namespace kestrum {
namespace {

using testing::CrLfLines;
using testing::ReadText;
using testing::ScratchDir;
using testing::WriteText;

class SettingsFileTest : public ::testing::Test {
 protected:
  ScratchDir dir;
  ProgramPaths paths = ResolveProgramPaths(dir / "kestrum", dir / "cfg", dir / "data");
  std::string ini = dir / "kestrum.INI";

  Settings ReadWith(const std::string& text) {
    WriteText(ini, text);
    return ReadSettingsFile(ini, paths);
  }
};

TEST_F(SettingsFileTest, MissingFileGivesEveryDefault) {
  const Settings s = ReadSettingsFile(ini, paths);
  EXPECT_EQ(s.top, 100);
  EXPECT_EQ(s.left, 100);
  EXPECT_EQ(s.epwFileName, "");
  EXPECT_TRUE(s.epwUseObs);
  EXPECT_FALSE(s.epwCalcDN);
  EXPECT_FALSE(s.epwUseRH);
  EXPECT_EQ(s.epwBinDir, dir.path());
  EXPECT_EQ(s.csvBinDir, dir.path());
  EXPECT_EQ(s.interimPath, dir.path());
  EXPECT_EQ(s.logFilePath, dir / "kestrum.log");
  EXPECT_EQ(s.doeUrl, "https://energyplus.net/weather");
  EXPECT_EQ(s.firstRow, 1);
  EXPECT_EQ(s.dateInd, 1);
  EXPECT_EQ(s.moistInd, 1);
  EXPECT_EQ(s.solarInd, 0);
  EXPECT_FALSE(s.logReplacements);
  EXPECT_TRUE(s.clearResults);
  EXPECT_EQ(s.limits, CleaningLimits::Defaults());
  EXPECT_EQ(s.limits.Max(3), 1200);
  EXPECT_EQ(s.limits.PrevLimit(5), 168);
  EXPECT_EQ(s.limits.Flag(4, 5), -999);
}

TEST_F(SettingsFileTest, SectionsAndKeysMatchWithoutRegardToCase) {
  const Settings s = ReadWith(
      "[form]\r\nTOP=7\r\n[EPW SPECS]\r\newpfilename=/w/a.epw\r\n"
      "[setup]\r\ndbtMIN=-40\r\nwspdBAD3=-1\r\nlogreplacements=1\r\n");
  EXPECT_EQ(s.top, 7);
  EXPECT_EQ(s.epwFileName, "/w/a.epw");
  EXPECT_EQ(s.limits.Min(1), -40);
  EXPECT_EQ(s.limits.Flag(4, 4), -1);
  EXPECT_TRUE(s.logReplacements);
}

TEST_F(SettingsFileTest, IntegersThatDoNotParseGiveTheDefault) {
  const Settings s = ReadWith(
      "[Form]\nTop=abc\nLeft=12abc\n"
      "[CSV Specs]\nFirstRow= 7 \nDateInd=-3\nMoistInd=+2\nSolarInd=99999999999\n"
      "[SetUp]\nDBTmin=1.5\nDBTmax=\nDPTint=+-4\nSOLprev=2147483647\n");
  EXPECT_EQ(s.top, 100);
  EXPECT_EQ(s.left, 100);
  EXPECT_EQ(s.firstRow, 7);
  EXPECT_EQ(s.dateInd, -3);
  EXPECT_EQ(s.moistInd, 2);
  EXPECT_EQ(s.solarInd, 0);  // beyond 32 bits
  EXPECT_EQ(s.limits.Min(1), -50);
  EXPECT_EQ(s.limits.Max(1), 150);
  EXPECT_EQ(s.limits.InterpLimit(2), 12);
  EXPECT_EQ(s.limits.PrevLimit(3), 2147483647);
}

TEST_F(SettingsFileTest, BooleansReadAnyNonZeroIntegerAsTrueAndAreWrittenOneOrZero) {
  Settings s = ReadWith(
      "[EPW Specs]\nEPWCalcDN=5\nEPWUseObs=0\nEPWUseRH=yes\n"
      "[SetUp]\nLogReplacements=-1\nClearResults=true\n");
  EXPECT_TRUE(s.epwCalcDN);
  EXPECT_FALSE(s.epwUseObs);
  EXPECT_FALSE(s.epwUseRH);    // not an integer: default
  EXPECT_TRUE(s.logReplacements);
  EXPECT_TRUE(s.clearResults);  // not an integer: default

  WriteSettingsFile(ini, s);
  const std::string text = ReadText(ini);
  EXPECT_NE(text.find("EPWCalcDN=1\r\n"), std::string::npos);
  EXPECT_NE(text.find("EPWUseObs=0\r\n"), std::string::npos);
  EXPECT_NE(text.find("ClearResults=1\r\n"), std::string::npos);
}

TEST_F(SettingsFileTest, UnitCodesKeepTheLowEightBits) {
  const Settings s = ReadWith("[CSV Specs]\nDBTunits=258\nMoistUnits=-1\nSolUnits=256\nWindUnits=x\n");
  EXPECT_EQ(s.dbtUnits, 2);
  EXPECT_EQ(s.moistUnits, 255);
  EXPECT_EQ(s.solUnits, 0);
  EXPECT_EQ(s.windUnits, 0);
}

TEST_F(SettingsFileTest, TextsAreCutTo255Characters) {
  const std::string longText(300, 'p');
  Settings s = ReadWith("[SetUp]\nInterimPath=" + longText + "\n");
  EXPECT_EQ(s.interimPath, longText.substr(0, 255));

  s.csvGridCol[11] = std::string(300, 'c');  // set directly, bypassing the capture
  WriteSettingsFile(ini, s);
  const Settings back = ReadSettingsFile(ini, paths);
  EXPECT_EQ(back.csvGridCol[11], std::string(255, 'c'));
  EXPECT_EQ(ReadText(ini).find(std::string(256, 'c')), std::string::npos);
}

TEST_F(SettingsFileTest, NewFileHasSectionsAndKeysInWriteOrder) {
  WriteSettingsFile(ini, Settings::Defaults(paths));
  std::vector<std::string> order;
  for (const std::string& line : CrLfLines(ReadText(ini))) {
    ASSERT_EQ(line.find('\n'), std::string::npos);
    if (line.empty()) continue;
    order.push_back(line[0] == '[' ? line : line.substr(0, line.find('=')));
  }
  std::vector<std::string> expected = {"[Form]", "Top", "Left", "[CSV Specs]", "CSVFileName",
                                       "CSVBinDir", "CSVdesc", "CSVlat", "CSVlong", "CSVtz",
                                       "CSVelev", "FirstRow", "DateInd", "MoistInd", "SolarInd",
                                       "DBTunits", "MoistUnits", "SolUnits", "WindUnits"};
  for (int i = 1; i <= 12; ++i) expected.push_back("CSVgridCol" + std::to_string(i));
  for (const char* key : {"[EPW Specs]", "EWPFileName", "EPWUseObs", "EPWCalcDN", "EPWUseRH",
                          "EPWBinDir", "[SetUp]"}) {
    expected.push_back(key);
  }
  const char* prefixes[] = {"DBT", "DPT", "SOL", "WSpd", "Wdir"};
  for (const char* p : prefixes) {
    for (const char* suffix : {"min", "max", "int", "prev"}) expected.push_back(std::string(p) + suffix);
  }
  for (int k = 0; k < 5; ++k) {
    for (const char* p : prefixes) expected.push_back(std::string(p) + "bad" + std::to_string(k));
  }
  for (const char* key : {"LogReplacements", "ClearResults", "InterimPath", "LogFilePath", "DOEURL"}) {
    expected.push_back(key);
  }
  EXPECT_EQ(order, expected);
  EXPECT_NE(ReadText(ini).find("\r\nDBTbad0=-999\r\n"), std::string::npos);
}

TEST_F(SettingsFileTest, UnknownKeysAndSectionsSurviveAndExistingKeysKeepTheirPlace) {
  WriteText(ini,
            "; written by hand\r\n[Mine]\r\nColour=teal\r\n\r\n"
            "[setup]\r\nmyFirst=1\r\ndbtmin=3\r\nmySecond=2\r\n"
            "; about the form\r\n[Form]\r\nLeft=9\r\nTop=8\r\n; last words\r\n");
  Settings s = ReadSettingsFile(ini, paths);
  s.limits.SetMin(1, -20);
  WriteSettingsFile(ini, s);

  const std::vector<std::string> lines = CrLfLines(ReadText(ini));
  const auto at = [&](const std::string& text) {
    for (size_t i = 0; i < lines.size(); ++i) {
      if (lines[i] == text) return static_cast<int>(i);
    }
    return -1;
  };
  EXPECT_EQ(at("; written by hand"), 0);
  EXPECT_EQ(at("; about the form"), at("[Form]") - 1);
  EXPECT_EQ(lines.back(), "; last words");
  EXPECT_EQ(at("Colour=teal"), at("[Mine]") + 1);
  EXPECT_LT(at("[Mine]"), at("[setup]"));     // sections keep their order and spelling
  EXPECT_LT(at("[setup]"), at("[Form]"));
  EXPECT_EQ(at("myFirst=1"), at("[setup]") + 1);
  const int dbtMin = std::max(at("dbtmin=-20"), at("DBTmin=-20"));
  EXPECT_EQ(dbtMin, at("myFirst=1") + 1);        // replaced where it stood
  EXPECT_EQ(at("mySecond=2"), dbtMin + 1);
  EXPECT_GT(at("DBTmax=150"), at("mySecond=2"));  // new keys go to the section's end
  EXPECT_EQ(at("Left=9"), at("[Form]") + 1);
  EXPECT_EQ(at("Top=8"), at("Left=9") + 1);
  EXPECT_LT(at("[CSV Specs]"), at("[EPW Specs]"));  // new sections after the old ones
  EXPECT_GT(at("[CSV Specs]"), at("Top=8"));
}

TEST_F(SettingsFileTest, DuplicateKeyReadsItsFirstValueAndIsWrittenOnce) {
  Settings s = ReadWith("[SetUp]\nDBTmax=120\nOther=x\nDBTmax=130\n");
  EXPECT_EQ(s.limits.Max(1), 120);
  WriteSettingsFile(ini, s);
  const std::string text = ReadText(ini);
  EXPECT_NE(text.find("[SetUp]\r\nDBTmax=120\r\nOther=x\r\n"), std::string::npos);
  EXPECT_EQ(text.find("DBTmax=130"), std::string::npos);
}

TEST_F(SettingsFileTest, LineBreakInTextCannotAddKeys) {
  Settings s = Settings::Defaults(paths);
  s.csvSite.description = "Hill\r\n[SetUp]\nDBTmin=99";
  WriteSettingsFile(ini, s);
  const Settings back = ReadSettingsFile(ini, paths);
  EXPECT_EQ(back.limits.Min(1), -50);
  EXPECT_EQ(back.csvSite.description, "Hill  [SetUp] DBTmin=99");
}

TEST_F(SettingsFileTest, EverySettingSurvivesWriteAndRead) {
  Settings s = Settings::Defaults(paths);
  s.top = -5;
  s.left = 1920;
  s.epwFileName = "/w/Golden.epw";
  s.epwCalcDN = true;
  s.epwUseRH = true;
  s.epwUseObs = false;
  s.epwBinDir = kNoDirectoryText;
  s.csvFileName = "/w/site data.csv";
  s.csvBinDir = "";
  s.csvSite = {"Golden, CO", "39.74", "-105.18", "-7", "1829"};
  s.firstRow = 3;
  s.dateInd = 2;
  s.moistInd = 0;
  s.solarInd = 1;
  s.dbtUnits = 1;
  s.moistUnits = 2;
  s.solUnits = 3;
  s.windUnits = 4;
  for (int i = 0; i < 12; ++i) s.csvGridCol[i] = i % 2 ? "" : "col " + std::to_string(i);
  s.limits.SetMin(2, -30);
  s.limits.SetPrevLimit(4, 0);
  s.limits.SetFlag(3, 2, kEmptyFlag);
  s.logReplacements = true;
  s.clearResults = false;
  s.interimPath = "/tmp/run";
  s.logFilePath = "/tmp/run/log.txt";
  s.doeUrl = "https://example.org/w?a=1&b=2";
  WriteSettingsFile(ini, s);

  const Settings b = ReadSettingsFile(ini, paths);
  EXPECT_EQ(b.top, s.top);
  EXPECT_EQ(b.left, s.left);
  EXPECT_EQ(b.epwFileName, s.epwFileName);
  EXPECT_EQ(std::tie(b.epwCalcDN, b.epwUseRH, b.epwUseObs), std::tie(s.epwCalcDN, s.epwUseRH, s.epwUseObs));
  EXPECT_EQ(b.epwBinDir, s.epwBinDir);
  EXPECT_EQ(b.csvFileName, s.csvFileName);
  EXPECT_EQ(b.csvBinDir, "");  // an empty text is a value, not a missing key
  EXPECT_EQ(b.csvSite.description, "Golden, CO");
  EXPECT_EQ(b.csvSite.elevation, "1829");
  EXPECT_EQ(std::tie(b.firstRow, b.dateInd, b.moistInd, b.solarInd),
            std::tie(s.firstRow, s.dateInd, s.moistInd, s.solarInd));
  EXPECT_EQ(std::tie(b.dbtUnits, b.moistUnits, b.solUnits, b.windUnits),
            std::tie(s.dbtUnits, s.moistUnits, s.solUnits, s.windUnits));
  for (int i = 0; i < 12; ++i) EXPECT_EQ(b.csvGridCol[i], s.csvGridCol[i]);
  EXPECT_EQ(b.limits, s.limits);
  EXPECT_EQ(std::tie(b.logReplacements, b.clearResults), std::tie(s.logReplacements, s.clearResults));
  EXPECT_EQ(b.interimPath, s.interimPath);
  EXPECT_EQ(b.logFilePath, s.logFilePath);
  EXPECT_EQ(b.doeUrl, s.doeUrl);
}

// Saving goes through a temporary file beside the settings file.
TEST_F(SettingsFileTest, SaveLeavesNoTemporaryFileAndKeepsPermissionsAndLinks) {
  const std::string real = dir / "real.INI";
  WriteText(real, "[Mine]\r\nx=1\r\n");
  chmod(real.c_str(), 0640);
  std::filesystem::create_symlink(real, ini);
  WriteSettingsFile(ini, Settings::Defaults(paths));

  EXPECT_TRUE(std::filesystem::is_symlink(ini));
  EXPECT_NE(ReadText(real).find("[Mine]\r\nx=1\r\n"), std::string::npos);
  EXPECT_NE(ReadText(real).find("DOEURL="), std::string::npos);
  struct stat st {};
  ASSERT_EQ(stat(real.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);
  EXPECT_EQ(testing::DirectoryNames(dir.path()), (std::vector<std::string>{"kestrum.INI", "real.INI"}));
}

TEST_F(SettingsFileTest, UnwritableLocationRaisesAnErrorNamingTheFile) {
  const std::string target = dir / "no-such-dir/kestrum.INI";
  try {
    WriteSettingsFile(target, Settings::Defaults(paths));
    FAIL() << "no error raised";
  } catch (const RunError& e) {
    EXPECT_NE(std::string(e.what()).find(target), std::string::npos) << e.what();
  }
}

// A disk that fills up half-way through the save (simulated by a file size limit) leaves
// the old file as it was and no temporary file behind.
TEST_F(SettingsFileTest, FullDiskLeavesTheOldFileIntact) {
  const std::string old = "[Form]\r\nTop=1\r\n";
  WriteText(ini, old);
  Settings s = Settings::Defaults(paths);
  s.doeUrl = std::string(255, 'u');

  rlimit saved{};
  getrlimit(RLIMIT_FSIZE, &saved);
  rlimit small = saved;
  small.rlim_cur = 512;
  const auto previousHandler = signal(SIGXFSZ, SIG_IGN);
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  bool raised = false;
  try {
    WriteSettingsFile(ini, s);
  } catch (const RunError&) {
    raised = true;
  }
  setrlimit(RLIMIT_FSIZE, &saved);
  signal(SIGXFSZ, previousHandler);

  EXPECT_TRUE(raised);
  EXPECT_EQ(ReadText(ini), old);
  EXPECT_EQ(testing::DirectoryNames(dir.path()), std::vector<std::string>{"kestrum.INI"});
}

}  // namespace
}  // namespace kestrum
