// The run request a Convert button makes from the settings and the window.
#include <gtest/gtest.h>

#include "config/settings.h"
#include "config_test_support.h"
#include "support/test_support.h"

namespace kestrum {
namespace {

TEST(RunRequest, EachBranchTakesItsOwnTabAndSite) {
  testing::ScratchDir dir;
  const ProgramPaths paths = ResolveProgramPaths(dir / "kestrum", dir / "cfg", dir / "data");
  Settings settings = Settings::Defaults(paths);
  settings.epwFileName = "/w/Golden.epw";
  settings.csvFileName = "/w/site.csv";
  settings.csvSite = {"CSV site", "39.7", "-105.2", "-7", "1829"};
  settings.epwUseRH = true;
  settings.csvFieldMap.moistInd = 0;  // the CSV field map says dew point
  settings.csvFieldMap.subhourly = 1;
  settings.epwTimeShift = -7;
  settings.csvTimeShift = 3;
  MainWindowState window;
  window.edEPWBinName = "Golden.BIN";
  window.edEPWdir = "/out/epw";
  window.ledEPWloc = "Golden,CO,USA";
  window.edCSVBinName = "site.BIN";
  window.edCSVdir = "/out/csv";
  window.edInterimPath = "/work/interim";

  const RunRequest epw = MakeRunRequest(RunBranch::Epw, settings, window, paths);
  EXPECT_EQ(std::tie(epw.sourceFile, epw.outputFileName, epw.outputDir, epw.interimDir, epw.programDir),
            std::make_tuple("/w/Golden.epw", "Golden.BIN", "/out/epw", "/work/interim", dir.path()));
  EXPECT_EQ(epw.site.description, "Golden,CO,USA");
  EXPECT_TRUE(epw.epw.useRelHum);
  EXPECT_EQ(epw.timeShiftHours, -7);  // each branch its own time shift

  const RunRequest csv = MakeRunRequest(RunBranch::Csv, settings, window, paths);
  EXPECT_EQ(std::tie(csv.sourceFile, csv.outputFileName, csv.outputDir),
            std::make_tuple("/w/site.csv", "site.BIN", "/out/csv"));
  EXPECT_EQ(csv.site.description, "CSV site");
  EXPECT_EQ(csv.timeShiftHours, 3);
  EXPECT_EQ(csv.csv.subhourly, 1);

  // An EPW conversion leaves the CSV moisture choice alone: saved and read back unchanged.
  WriteSettingsFile(paths.settingsFile, settings);
  EXPECT_EQ(ReadSettingsFile(paths.settingsFile, paths).csvFieldMap.moistInd, 0);
}

TEST(RunRequest, EachTabsEpwBoxAsksForNameDotEpwBesideTheBin) {
  testing::ScratchDir dir;
  const ProgramPaths paths = ResolveProgramPaths(dir / "kestrum", dir / "cfg", dir / "data");
  Settings settings = Settings::Defaults(paths);
  MainWindowState window;
  window.edEPWBinName = "Golden.BIN";
  window.edCSVBinName = "site.dat.BIN";
  window.cbCSVWriteEpw = true;  // the CSV tab's box only
  testing::RecordingUi ui;
  CaptureSettings(window, settings, ui);
  EXPECT_FALSE(settings.epwWriteEpw);
  EXPECT_TRUE(settings.csvWriteEpw);
  EXPECT_EQ(MakeRunRequest(RunBranch::Epw, settings, window, paths).epwOutFile, "");
  EXPECT_EQ(MakeRunRequest(RunBranch::Csv, settings, window, paths).epwOutFile, "site.dat.epw");

  // Each box has its key, kept across a save and shown again at the next start.
  settings.epwWriteEpw = true;
  settings.csvWriteEpw = false;
  WriteSettingsFile(paths.settingsFile, settings);
  const std::string text = testing::ReadBytes(paths.settingsFile);
  EXPECT_NE(text.find("\r\nEPWBinDir="), std::string::npos);
  EXPECT_NE(text.find("\r\nEPWWriteEpw=1\r\n"), std::string::npos);
  EXPECT_NE(text.find("\r\nCSVWriteEpw=0\r\n"), std::string::npos);
  MainWindowState shown;
  LoadSettings(ReadSettingsFile(paths.settingsFile, paths), shown);
  EXPECT_TRUE(shown.cbEPWWriteEpw);
  EXPECT_FALSE(shown.cbCSVWriteEpw);
}

}  // namespace
}  // namespace kestrum
