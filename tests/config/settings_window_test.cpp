// Showing the settings in the main window's controls and capturing them back.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "config/settings.h"
#include "config_test_support.h"

namespace kestrum {
namespace {

namespace fs = std::filesystem;
using testing::RecordingUi;
using testing::ScratchDir;
using testing::WriteText;

const std::string kSanFrancisco =
    std::string(KESTRUM_TEST_DATA) + "/USA_CA_San.Francisco.Intl.AP.724940_TMY3.epw";

class SettingsWindowTest : public ::testing::Test {
 protected:
  ScratchDir dir;
  ProgramPaths paths = ResolveProgramPaths(dir / "kestrum", dir / "cfg", dir / "data");
  MainWindowState window;  // as the window is created, before the settings are shown
};

TEST_F(SettingsWindowTest, FirstStartShowsDefaultsAndThePlaceholderForTheEpwFile) {
  LoadSettings(ReadSettingsFile(paths.settingsFile, paths), window);
  EXPECT_EQ(window.edEPWfile, "<previous file no longer exists>");
  EXPECT_EQ(window.edEPWBinName, "");
  EXPECT_FALSE(window.btnProcEPWEnabled);
  EXPECT_EQ(window.edXLSfn, "");
  EXPECT_FALSE(window.btnFieldSpecsEnabled);
  EXPECT_FALSE(window.btnFindSiteInfoEnabled);
  EXPECT_EQ(window.edEPWdir, dir.path());
  EXPECT_EQ(window.edCSVdir, dir.path());
  EXPECT_EQ(window.edInterimPath, dir.path());
  EXPECT_EQ(window.edLOG, dir / "kestrum.log");
  EXPECT_TRUE(window.cbClearResults);
  EXPECT_TRUE(window.cbEPWuseObs);
  EXPECT_FALSE(window.cbCalcSolDN);
  EXPECT_FALSE(window.cbEPWuseRH);
  EXPECT_FALSE(window.cbLogIt);
  const CleaningGridTexts defaults = DefaultGridTexts();
  EXPECT_EQ(window.grids.limits, defaults.limits);
  EXPECT_EQ(window.grids.flags, defaults.flags);
  EXPECT_EQ(window.grids.limits[2][1], "1200");
}

TEST_F(SettingsWindowTest, RemembersAnEpwFileWhoseOutputDirectoryWasDeleted) {
  Settings s = Settings::Defaults(paths);
  s.epwFileName = kSanFrancisco;
  s.epwBinDir = dir / "out";
  fs::create_directory(s.epwBinDir);
  fs::remove(s.epwBinDir);
  LoadSettings(s, window);

  EXPECT_EQ(window.edEPWdir, "<previous directory no longer exists>");
  EXPECT_EQ(window.edEPWfile, kSanFrancisco);
  EXPECT_EQ(window.edEPWBinName, "USA_CA_San.Francisco.Intl.AP.724940_TMY3.BIN");
  EXPECT_TRUE(window.btnProcEPWEnabled);
  EXPECT_EQ(window.ledEPWloc, "San Francisco Intl Ap,CA,USA");
  EXPECT_EQ(window.ledEPWlat, "37.62");
  EXPECT_EQ(window.ledEPWlon, "-122.40");
  EXPECT_EQ(window.ledEPWtz, "-8.0");
  EXPECT_EQ(window.ledEPWelev, "2.0");
  EXPECT_EQ(window.ledEPWcomment, "Custom/User Format -- WMO#724940; NREL TMY Data Set (2008); "
                                  "Period of Record 1973-2005 (Generally)");
}

// A remembered EPW file that exists but cannot be read must not stop the start.
TEST_F(SettingsWindowTest, UnreadableEpwFileLeavesTheSiteFieldsAsTheyAre) {
  Settings s = Settings::Defaults(paths);
  s.epwFileName = "/proc/self/mem";  // opens, but every read fails
  window.ledEPWloc = "before";
  window.ledEPWlat = "1";
  LoadSettings(s, window);
  EXPECT_EQ(window.edEPWfile, "/proc/self/mem");
  EXPECT_EQ(window.ledEPWloc, "before");
  EXPECT_EQ(window.ledEPWlat, "1");
  EXPECT_EQ(window.edEPWBinName, "mem.BIN");
}

TEST_F(SettingsWindowTest, CsvSourceAndDirectoryShowPlaceholdersOnlyWhenRemembered) {
  Settings s = Settings::Defaults(paths);
  s.csvFileName = dir / "gone.csv";
  s.csvSite = {"Site", "39.7", "-105.2", "-7", "1829"};
  s.csvBinDir = dir / "gone";
  LoadSettings(s, window);
  EXPECT_EQ(window.edXLSfn, "<previous file no longer exists>");
  EXPECT_EQ(window.ledCSVdesc, "");  // site fields stay empty without the file
  EXPECT_EQ(window.edCSVBinName, "");
  EXPECT_FALSE(window.btnFieldSpecsEnabled);
  EXPECT_EQ(window.edCSVdir, "<previous directory no longer exists>");

  s.csvBinDir = "";
  LoadSettings(s, window);
  EXPECT_EQ(window.edCSVdir, "");

  s.csvFileName = dir / "station.2019.csv";
  WriteText(s.csvFileName, "1,2,3\n");
  s.csvBinDir = dir.path();
  MainWindowState fresh;
  LoadSettings(s, fresh);
  EXPECT_EQ(fresh.edXLSfn, s.csvFileName);
  EXPECT_EQ(fresh.edCSVBinName, "station.2019.BIN");
  EXPECT_EQ(fresh.ledCSVdesc, "Site");
  EXPECT_EQ(fresh.ledCSVlat, "39.7");
  EXPECT_EQ(fresh.ledCSVlon, "-105.2");
  EXPECT_EQ(fresh.ledCSVtz, "-7");
  EXPECT_EQ(fresh.ledCSVelev, "1829");
  EXPECT_TRUE(fresh.btnFieldSpecsEnabled);
  EXPECT_TRUE(fresh.btnFindSiteInfoEnabled);
  EXPECT_EQ(fresh.edCSVdir, dir.path());
}

TEST_F(SettingsWindowTest, EmptyFlagCellIsSavedAsMinus888AndShowsEmptyAfterTheNextStart) {
  LoadSettings(ReadSettingsFile(paths.settingsFile, paths), window);
  window.grids.flags[1][2] = "";  // DP/WB row, third flag
  RecordingUi ui;
  Settings s = ReadSettingsFile(paths.settingsFile, paths);
  CaptureSettings(window, s, ui);
  EXPECT_TRUE(ui.notices.empty());
  EXPECT_EQ(s.limits.Flag(2, 3), -888);
  WriteSettingsFile(paths.settingsFile, s);
  EXPECT_NE(testing::ReadText(paths.settingsFile).find("DPTbad2=-888\r\n"), std::string::npos);

  MainWindowState nextStart;
  LoadSettings(ReadSettingsFile(paths.settingsFile, paths), nextStart);
  EXPECT_EQ(nextStart.grids.flags[1][2], "");
  EXPECT_EQ(nextStart.grids.flags[1][1], "-999");
  EXPECT_EQ(nextStart.grids.flags[2][2], "-999");
}

TEST_F(SettingsWindowTest, CaptureTakesTextsAsTheyStandAndConvertsTheGrids) {
  Settings s = Settings::Defaults(paths);
  s.moistInd = 0;
  s.firstRow = 4;
  LoadSettings(s, window);
  window.ledCSVdesc = std::string(300, 'd');
  window.edLOG = dir / "other.log";
  window.cbCalcSolDN = true;
  window.cbEPWuseObs = false;
  window.cbLogIt = true;
  window.cbClearResults = false;
  window.grids.limits[0][0] = "-49.5";  // rounds half to even
  window.grids.limits[0][1] = "abc";
  window.grids.flags[4][0] = "-999.0";
  RecordingUi ui;
  CaptureSettings(window, s, ui);

  EXPECT_EQ(s.epwFileName, "<previous file no longer exists>");  // saved like any path
  EXPECT_EQ(s.csvFileName, "");
  EXPECT_EQ(s.epwBinDir, dir.path());
  EXPECT_EQ(s.csvSite.description, std::string(255, 'd'));
  EXPECT_EQ(s.logFilePath, dir / "other.log");
  EXPECT_TRUE(s.epwCalcDN);
  EXPECT_FALSE(s.epwUseObs);
  EXPECT_TRUE(s.logReplacements);
  EXPECT_FALSE(s.clearResults);
  EXPECT_EQ(s.limits.Min(1), -50);
  EXPECT_EQ(s.limits.Max(1), 199);
  EXPECT_EQ(s.limits.Flag(5, 1), -888);
  EXPECT_EQ(ui.notices, (std::vector<std::string>{"Rounding conversion to Int failed (abc)",
                                                   "Conversion to Int failed (-999.0)"}));
  // The CSV field specification is not the window's to capture.
  EXPECT_EQ(s.moistInd, 0);
  EXPECT_EQ(s.firstRow, 4);
}

TEST(BinFileName, ReplacesTheExtensionOfTheNameOnly) {
  EXPECT_EQ(BinFileNameFor("/w/Golden.epw"), "Golden.BIN");
  EXPECT_EQ(BinFileNameFor("/w.d/data"), "data.BIN");
  EXPECT_EQ(BinFileNameFor("a.b.csv"), "a.b.BIN");
}

}  // namespace
}  // namespace kestrum
