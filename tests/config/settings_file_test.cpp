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

using testing::Bracketed;
using testing::ToLowerAscii;
using testing::ReadBytes;
using testing::ScratchDir;
using testing::WriteBytes;

// The lines of a CR LF text; a bare LF would stay inside a line.
std::vector<std::string> CrLfLines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
    lines.push_back(text.substr(start, end - start));
  }
  EXPECT_EQ(start, text.size()) << "the last line lacks its CR LF";
  return lines;
}

class SettingsFileTest : public ::testing::Test {
 protected:
  ScratchDir dir;
  ProgramPaths paths = ResolveProgramPaths(dir / "kestrum", dir / "cfg", dir / "data");
  std::string ini = dir / "kestrum.INI";

  Settings ReadWith(const std::string& text) {
    WriteBytes(ini, text);
    return ReadSettingsFile(ini, paths);
  }
};

TEST_F(SettingsFileTest, MissingFileGivesTheDefaults) {
  const Settings s = ReadSettingsFile(ini, paths);
  EXPECT_EQ(std::tie(s.top, s.left, s.csvFieldMap.firstRow, s.csvFieldMap.dateInd, s.csvFieldMap.moistInd,
                     s.csvFieldMap.solarInd),
            std::make_tuple(100, 100, 1, 1, 1, 0));
  EXPECT_EQ(s.epwBinDir, dir.path());
  EXPECT_EQ(s.logFilePath, dir / "kestrum.log");
  EXPECT_EQ(s.doeUrl, "https://energyplus.net/weather");
  EXPECT_EQ(s.limits, CleaningLimits::Defaults());
}

TEST_F(SettingsFileTest, ValuesFollowTheFileRules) {
  const Settings s = ReadWith(
      "[form]\nTOP=abc\nLeft=12abc\n"
      "[" + ToUpperAscii(kCsvSection) + "]\nFirstRow= 7 \nDateInd=-3\nMoistInd=+2\nSolarInd=99999999999\n"
      "DBTunits=258\nMoistUnits=-1\nSolUnits=256\nWindUnits=x\nCSVdesc=" + std::string(300, 'd') +
      "\n[" + ToLowerAscii(kEpwSection) + "]\newpfilename=/w/a.epw\nEPWCalcDN=5\nEPWUseObs=0\nEPWUseRH=yes\n"
      "[setup]\ndbtMIN=1.5\nDBTmax=\nDPTint=+-4\nwspdBAD3=-1\nClearResults=-1\n");
  // Integers: whole decimal numbers in 32 bits, otherwise the default.
  EXPECT_EQ(std::tie(s.top, s.left, s.csvFieldMap.firstRow, s.csvFieldMap.dateInd, s.csvFieldMap.moistInd,
                     s.csvFieldMap.solarInd),
            std::make_tuple(100, 100, 7, -3, 2, 0));
  EXPECT_EQ(s.limits.Min(1), -50);
  EXPECT_EQ(s.limits.Max(1), 150);
  EXPECT_EQ(s.limits.InterpLimit(2), 12);
  EXPECT_EQ(s.limits.Flag(4, 4), -1);  // key matched without regard to case
  // Unit codes: the low 8 bits.
  EXPECT_EQ(std::tie(s.csvFieldMap.dbtUnits, s.csvFieldMap.moistUnits, s.csvFieldMap.solUnits,
                     s.csvFieldMap.windUnits),
            std::make_tuple(uint8_t{2}, uint8_t{255}, uint8_t{0}, uint8_t{0}));
  // Booleans: any non-zero integer is true; a non-integer gives the default.
  EXPECT_EQ(std::tie(s.epwCalcDN, s.epwUseObs, s.epwUseRH, s.clearResults),
            std::make_tuple(true, false, false, true));
  EXPECT_EQ(s.epwFileName, "/w/a.epw");
  EXPECT_EQ(s.csvSite.description, std::string(255, 'd'));
}

TEST_F(SettingsFileTest, NewFileHasSectionsAndKeysInWriteOrder) {
  Settings s = Settings::Defaults(paths);
  s.csvFieldMap.columns[11] = std::string(300, 'c');  // set directly, bypassing the capture
  s.csvSite.description = "Hill\r\n[SetUp]\nDBTmin=99";  // must not become lines of its own
  WriteSettingsFile(ini, s);
  const std::string text = ReadBytes(ini);

  std::vector<std::string> order;
  for (const std::string& line : CrLfLines(text)) {
    if (!line.empty()) order.push_back(line[0] == '[' ? line : line.substr(0, line.find('=')));
  }
  std::vector<std::string> expected = {"[Form]", "Top", "Left", Bracketed(kCsvSection), "CSVFileName",
                                       "CSVBinDir", "CSVdesc", "CSVlat", "CSVlong", "CSVtz",
                                       "CSVelev", "FirstRow", "DateInd", "MoistInd", "SolarInd",
                                       "DBTunits", "MoistUnits", "SolUnits", "WindUnits"};
  for (int i = 1; i <= 12; ++i) expected.push_back("CSVgridCol" + std::to_string(i));
  // The keys of later versions come after the first ones.
  expected.insert(expected.end(), {"CSVWriteEpw", "Subhourly", "TimeStamps", "CSVTimeShift", "LastRow"});
  expected.insert(expected.end(), {Bracketed(kEpwSection), "EWPFileName", "EPWUseObs", "EPWCalcDN",
                                   "EPWUseRH", "EPWBinDir", "EPWWriteEpw", "EPWTimeShift",
                                   "[SetUp]"});
  const std::string prefixes[] = {"DBT", "DPT", "SOL", "WSpd", "Wdir"};
  for (const std::string& p : prefixes) {
    for (const char* suffix : {"min", "max", "int", "prev"}) expected.push_back(p + suffix);
  }
  for (int k = 0; k < 5; ++k) {
    for (const std::string& p : prefixes) expected.push_back(p + "bad" + std::to_string(k));
  }
  expected.insert(expected.end(),
                  {"LogReplacements", "ClearResults", "InterimPath", "LogFilePath", "DOEURL"});
  EXPECT_EQ(order, expected);

  EXPECT_NE(text.find("\r\nEPWUseObs=1\r\nEPWCalcDN=0\r\n"), std::string::npos);
  EXPECT_NE(text.find("\r\nCSVgridCol12=" + std::string(255, 'c') + "\r\n"), std::string::npos);
  EXPECT_EQ(ReadSettingsFile(ini, paths).csvSite.description, "Hill  [SetUp] DBTmin=99");
}

TEST_F(SettingsFileTest, TimeKeysComeAfterTheKeysOfAnEarlierFileAndReadBack) {
  // A file written before the keys existed: their defaults, and each new key goes after
  // the last key of its section.
  Settings s = ReadWith("[CSV Specs]\r\nDateInd=0\r\nCSVgridCol12=5\r\n[EPW Specs]\r\n"
                        "EPWBinDir=/x\r\n[SetUp]\r\nDOEURL=u\r\n");
  EXPECT_EQ(std::tie(s.csvFieldMap.subhourly, s.csvFieldMap.timeStamps, s.csvTimeShift, s.epwTimeShift,
                     s.csvFieldMap.lastRow),
            std::make_tuple(0, 0, 0, 0, 0));
  s.csvFieldMap.lastRow = 8778;
  s.csvFieldMap.subhourly = 1;
  s.csvFieldMap.timeStamps = 1;
  s.csvTimeShift = -23;
  s.epwTimeShift = 8;
  WriteSettingsFile(ini, s);
  const std::string text = ReadBytes(ini);
  EXPECT_EQ(text.rfind("[CSV Specs]\r\nDateInd=0\r\nCSVgridCol12=5\r\n", 0), 0u) << text;
  const auto at = [&text](const char* line) { return text.find(std::string("\n") + line + "\r\n"); };
  const char* inOrder[] = {"CSVgridCol11=", "Subhourly=1", "TimeStamps=1", "CSVTimeShift=-23",
                           "LastRow=8778", "[EPW Specs]", "EPWBinDir=/x", "EPWTimeShift=8", "[SetUp]"};
  for (size_t i = 1; i < std::size(inOrder); ++i) {
    EXPECT_LT(at(inOrder[i - 1]), at(inOrder[i])) << inOrder[i] << "\n" << text;
  }
  EXPECT_NE(at("EPWTimeShift=8"), std::string::npos);
  const Settings back = ReadSettingsFile(ini, paths);
  EXPECT_EQ(std::tie(back.csvFieldMap.subhourly, back.csvFieldMap.timeStamps, back.csvTimeShift,
                     back.epwTimeShift, back.csvFieldMap.lastRow),
            std::make_tuple(1, 1, -23, 8, 8778));
}

TEST_F(SettingsFileTest, UnknownKeysAndSectionsSurviveAndExistingKeysKeepTheirPlace) {
  WriteBytes(ini,
            "; written by hand\r\n[Mine]\r\nColour=teal\r\n\r\n"
            "[setup]\r\nmyFirst=1\r\ndbtmin=3\r\nmySecond=2\r\nDBTmax=120\r\nDBTmax=130\r\n"
            "; about the form\r\n[Form]\r\nLeft=9\r\nTop=8\r\n; last words\r\n");
  Settings s = ReadSettingsFile(ini, paths);
  EXPECT_EQ(s.limits.Max(1), 120);  // a duplicated key reads as its first value
  s.limits.SetMin(1, -20);
  WriteSettingsFile(ini, s);

  const std::vector<std::string> lines = CrLfLines(ReadBytes(ini));
  const auto at = [&](const std::string& text) {
    const auto found = std::find(lines.begin(), lines.end(), text);
    return found == lines.end() ? -1 : static_cast<int>(found - lines.begin());
  };
  EXPECT_EQ(at("; written by hand"), 0);
  EXPECT_EQ(at("Colour=teal"), at("[Mine]") + 1);
  EXPECT_LT(at("[Mine]"), at("[setup]"));  // sections keep their order and spelling
  EXPECT_EQ(at("myFirst=1"), at("[setup]") + 1);
  const int dbtMin = std::max(at("dbtmin=-20"), at("DBTmin=-20"));
  EXPECT_EQ(dbtMin, at("myFirst=1") + 1);  // replaced where it stood
  EXPECT_EQ(at("mySecond=2"), dbtMin + 1);
  EXPECT_EQ(at("DBTmax=120"), dbtMin + 2);  // written once
  EXPECT_EQ(at("DBTmax=130"), -1);
  EXPECT_EQ(at("DBTint=12"), at("DBTmax=120") + 1);  // new keys at the section's end
  EXPECT_EQ(at("; about the form"), at("[Form]") - 1);
  EXPECT_EQ(at("Left=9"), at("[Form]") + 1);
  EXPECT_EQ(at("Top=8"), at("Left=9") + 1);
  EXPECT_GT(at(Bracketed(kCsvSection)), at("Top=8"));  // new sections after the old ones
  EXPECT_GT(at(Bracketed(kEpwSection)), at(Bracketed(kCsvSection)));
  EXPECT_EQ(lines.back(), "; last words");
}

// Saving goes through a temporary file beside the settings file.
TEST_F(SettingsFileTest, SaveKeepsPermissionsAndLinksAndLeavesNoTemporaryFile) {
  const std::string real = dir / "real.INI";
  WriteBytes(real, "[Mine]\r\nx=1\r\n");
  chmod(real.c_str(), 0640);
  std::filesystem::create_symlink(real, ini);
  WriteSettingsFile(ini, Settings::Defaults(paths));

  EXPECT_TRUE(std::filesystem::is_symlink(ini));
  EXPECT_EQ(ReadBytes(real).rfind("[Mine]\r\nx=1\r\n", 0), 0u);
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

// A disk that fills up half-way through the save (a file size limit here) leaves the old
// file as it was and no temporary file behind.
TEST_F(SettingsFileTest, FullDiskLeavesTheOldFileIntact) {
  const std::string old = "[Form]\r\nTop=1\r\n";
  WriteBytes(ini, old);
  rlimit saved{};
  getrlimit(RLIMIT_FSIZE, &saved);
  rlimit small = saved;
  small.rlim_cur = 512;
  const auto previousHandler = signal(SIGXFSZ, SIG_IGN);
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  EXPECT_THROW(WriteSettingsFile(ini, Settings::Defaults(paths)), RunError);
  setrlimit(RLIMIT_FSIZE, &saved);
  signal(SIGXFSZ, previousHandler);

  EXPECT_EQ(ReadBytes(ini), old);
  EXPECT_EQ(testing::DirectoryNames(dir.path()), std::vector<std::string>{"kestrum.INI"});
}

}  // namespace
}  // namespace kestrum
