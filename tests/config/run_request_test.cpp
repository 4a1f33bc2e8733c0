// The run request a Convert button makes from the settings and the window.
#include <gtest/gtest.h>

#include "config/settings.h"
#include "config_test_support.h"

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

}  // namespace
}  // namespace kestrum
