// The run request a Convert button makes from the settings and the window.
#include <gtest/gtest.h>

#include "config/settings.h"
#include "config_test_support.h"

namespace kestrum {
namespace {

using testing::ScratchDir;

class RunRequestTest : public ::testing::Test {
 protected:
  RunRequestTest() {
    settings.epwFileName = "/w/Golden.epw";
    settings.csvFileName = "/w/site.csv";
    settings.csvSite = {"CSV site", "39.7", "-105.2", "-7", "1829"};
    settings.epwUseRH = true;
    settings.epwCalcDN = true;
    settings.epwUseObs = false;
    settings.limits.SetInterpLimit(3, 5);
    settings.logReplacements = true;
    window.edEPWBinName = "Golden.BIN";
    window.edEPWdir = "/out/epw";
    window.ledEPWloc = "Golden,CO,USA";
    window.ledEPWlat = "39.74";
    window.ledEPWlon = "-105.18";
    window.ledEPWtz = "-7.0";
    window.ledEPWelev = "1829.0";
    window.edCSVBinName = "site.BIN";
    window.edCSVdir = "/out/csv";
    window.edInterimPath = "/work/interim";
  }

  ScratchDir dir;
  ProgramPaths paths = ResolveProgramPaths(dir / "kestrum", dir / "cfg", dir / "data");
  Settings settings = Settings::Defaults(paths);
  MainWindowState window;
};

TEST_F(RunRequestTest, EpwBranchTakesTheEpwTabAndTheEpwSite) {
  const RunRequest r = MakeRunRequest(RunBranch::Epw, settings, window, paths);
  EXPECT_EQ(r.branch, RunBranch::Epw);
  EXPECT_EQ(r.sourceFile, "/w/Golden.epw");
  EXPECT_EQ(r.outputFileName, "Golden.BIN");
  EXPECT_EQ(r.outputDir, "/out/epw");
  EXPECT_EQ(r.interimDir, "/work/interim");
  EXPECT_EQ(r.programDir, dir.path());
  EXPECT_TRUE(r.epw.useRelHum);
  EXPECT_TRUE(r.epw.calcDirectNormal);
  EXPECT_FALSE(r.epw.useObservations);
  EXPECT_EQ(r.site.description, "Golden,CO,USA");
  EXPECT_EQ(r.site.latitude, "39.74");
  EXPECT_EQ(r.site.longitude, "-105.18");
  EXPECT_EQ(r.site.timeZone, "-7.0");
  EXPECT_EQ(r.site.elevation, "1829.0");
  EXPECT_EQ(r.limits, settings.limits);
  EXPECT_TRUE(r.detailedLog);
}

TEST_F(RunRequestTest, CsvBranchTakesTheCsvTabAndTheCsvSite) {
  const RunRequest r = MakeRunRequest(RunBranch::Csv, settings, window, paths);
  EXPECT_EQ(r.branch, RunBranch::Csv);
  EXPECT_EQ(r.sourceFile, "/w/site.csv");
  EXPECT_EQ(r.outputFileName, "site.BIN");
  EXPECT_EQ(r.outputDir, "/out/csv");
  EXPECT_EQ(r.interimDir, "/work/interim");
  EXPECT_EQ(r.site.description, "CSV site");
  EXPECT_EQ(r.site.elevation, "1829");
  EXPECT_EQ(r.limits.InterpLimit(3), 5);
}

// An EPW conversion leaves the CSV field specification's moisture choice as it was: the
// request carries none, and capture, save and the next start keep it.
TEST_F(RunRequestTest, EpwRunKeepsTheCsvMoistureIndicator) {
  settings.moistInd = 0;  // dew point
  LoadSettings(settings, window);
  SilentUi ui;
  CaptureSettings(window, settings, ui);
  MakeRunRequest(RunBranch::Epw, settings, window, paths);
  WriteSettingsFile(paths.settingsFile, settings);
  EXPECT_EQ(ReadSettingsFile(paths.settingsFile, paths).moistInd, 0);
}

}  // namespace
}  // namespace kestrum
