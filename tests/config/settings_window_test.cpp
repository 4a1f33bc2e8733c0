// Showing the settings in the main window's controls and capturing them back.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "config/settings.h"
#include "config_test_support.h"

namespace kestrum {
namespace {

using testing::RecordingUi;
using testing::ScratchDir;

const std::string kSanFrancisco =
    std::string(KESTRUM_TEST_DATA) + "/USA_CA_San.Francisco.Intl.AP.724940_TMY3.epw";

class SettingsWindowTest : public ::testing::Test {
 protected:
  ScratchDir dir;
  ProgramPaths paths = ResolveProgramPaths(dir / "kestrum", dir / "cfg", dir / "data");
  Settings settings = Settings::Defaults(paths);
  MainWindowState window;  // as the window is created, before the settings are shown
};

TEST_F(SettingsWindowTest, FirstStartShowsDefaultsAndThePlaceholderForTheEpwFile) {
  LoadSettings(ReadSettingsFile(paths.settingsFile, paths), window);
  EXPECT_EQ(window.edEPWfile, "<previous file no longer exists>");
  EXPECT_EQ(window.edXLSfn, "");
  EXPECT_EQ(window.edEPWdir, dir.path());
  EXPECT_EQ(window.edCSVdir, dir.path());
  EXPECT_EQ(window.edInterimPath, dir.path());
  EXPECT_EQ(window.edLOG, dir / "kestrum.log");
  EXPECT_EQ(std::tie(window.cbClearResults, window.cbEPWuseObs, window.cbCalcSolDN,
                     window.cbEPWuseRH, window.cbLogIt),
            std::make_tuple(true, true, false, false, false));
  EXPECT_FALSE(window.btnProcEPWEnabled || window.btnFieldSpecsEnabled || window.btnFindSiteInfoEnabled);
  EXPECT_EQ(window.grids.limits, DefaultGridTexts().limits);
  EXPECT_EQ(window.grids.flags, DefaultGridTexts().flags);
}

TEST_F(SettingsWindowTest, RemembersAnEpwFileWhoseOutputDirectoryWasDeleted) {
  settings.epwFileName = kSanFrancisco;
  settings.epwBinDir = dir / "out";
  LoadSettings(settings, window);
  EXPECT_EQ(window.edEPWdir, "<previous directory no longer exists>");
  EXPECT_EQ(window.edEPWfile, kSanFrancisco);
  EXPECT_EQ(window.edEPWBinName, "USA_CA_San.Francisco.Intl.AP.724940_TMY3.BIN");
  EXPECT_TRUE(window.btnProcEPWEnabled);
  EXPECT_EQ(window.ledEPWloc, "San Francisco Intl Ap,CA,USA");
  EXPECT_EQ(std::tie(window.ledEPWlat, window.ledEPWlon, window.ledEPWtz, window.ledEPWelev),
            std::make_tuple("37.62", "-122.40", "-8.0", "2.0"));
  EXPECT_EQ(window.ledEPWcomment.rfind("Custom/User Format -- WMO#724940", 0), 0u);
}

// A remembered EPW file that exists but cannot be read must not stop the start.
TEST_F(SettingsWindowTest, UnreadableEpwFileLeavesTheSiteFieldsAsTheyAre) {
  settings.epwFileName = "/proc/self/mem";  // opens, but every read fails
  window.ledEPWloc = "before";
  LoadSettings(settings, window);
  EXPECT_EQ(window.edEPWfile, "/proc/self/mem");
  EXPECT_EQ(window.ledEPWloc, "before");
}

TEST_F(SettingsWindowTest, CsvSourceAndDirectoryShowPlaceholdersOnlyWhenRemembered) {
  settings.csvFileName = dir / "gone.csv";
  settings.csvSite = {"Site", "39.7", "-105.2", "-7", "1829"};
  settings.csvBinDir = dir / "gone";
  LoadSettings(settings, window);
  EXPECT_EQ(window.edXLSfn, "<previous file no longer exists>");
  EXPECT_EQ(window.ledCSVdesc, "");  // site fields stay empty without the file
  EXPECT_FALSE(window.btnFieldSpecsEnabled);
  EXPECT_EQ(window.edCSVdir, "<previous directory no longer exists>");
  settings.csvBinDir = "";
  LoadSettings(settings, window);
  EXPECT_EQ(window.edCSVdir, "");

  settings.csvFileName = dir / "station.2019.csv";
  testing::WriteBytes(settings.csvFileName, "1,2,3\n");
  LoadSettings(settings, window);
  EXPECT_EQ(window.edXLSfn, settings.csvFileName);
  EXPECT_EQ(window.edCSVBinName, "station.2019.BIN");  // the extension from the last "."
  EXPECT_EQ(std::tie(window.ledCSVdesc, window.ledCSVlat, window.ledCSVlon, window.ledCSVtz,
                     window.ledCSVelev),
            std::make_tuple("Site", "39.7", "-105.2", "-7", "1829"));
  EXPECT_TRUE(window.btnFieldSpecsEnabled && window.btnFindSiteInfoEnabled);
}

TEST_F(SettingsWindowTest, EmptyFlagCellIsSavedAsMinus888AndShowsEmptyAfterTheNextStart) {
  LoadSettings(settings, window);
  window.grids.flags[1][2] = "";  // DP/WB row, third flag
  RecordingUi ui;
  CaptureSettings(window, settings, ui);
  EXPECT_TRUE(ui.notices.empty());
  WriteSettingsFile(paths.settingsFile, settings);
  EXPECT_NE(testing::ReadBytes(paths.settingsFile).find("\r\nDPTbad2=-888\r\n"), std::string::npos);

  MainWindowState nextStart;
  LoadSettings(ReadSettingsFile(paths.settingsFile, paths), nextStart);
  EXPECT_EQ(nextStart.grids.flags[1][2], "");
  EXPECT_EQ(nextStart.grids.flags[1][1], "-999");
}

TEST_F(SettingsWindowTest, CaptureTakesTextsAsTheyStandAndConvertsTheGrids) {
  settings.csvFieldMap.moistInd = 0;
  LoadSettings(settings, window);
  window.ledCSVdesc = std::string(300, 'd');
  window.cbEPWuseObs = false;
  window.grids.limits[0][0] = "-49.5";  // rounds half to even
  window.grids.limits[0][1] = "abc";
  window.grids.flags[4][0] = "-999.0";
  RecordingUi ui;
  CaptureSettings(window, settings, ui);

  EXPECT_EQ(settings.epwFileName, "<previous file no longer exists>");  // saved like any path
  EXPECT_EQ(settings.csvSite.description, std::string(255, 'd'));
  EXPECT_FALSE(settings.epwUseObs);
  EXPECT_EQ(settings.limits.Min(1), -50);
  EXPECT_EQ(settings.limits.Max(1), 199);
  EXPECT_EQ(settings.limits.Flag(5, 1), -888);
  EXPECT_EQ(ui.notices, (std::vector<std::string>{"Rounding conversion to Int failed (abc)",
                                                   "Conversion to Int failed (-999.0)"}));
  EXPECT_EQ(settings.csvFieldMap.moistInd, 0);  // the CSV field map is not captured
}

}  // namespace
}  // namespace kestrum
