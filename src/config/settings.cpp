// Moving the settings between memory, the main window's controls and a run request.
#include "config/settings.h"

#include <exception>
#include <filesystem>
#include <system_error>

#include "epw/epw_header.h"

namespace kestrum {

namespace fs = std::filesystem;

namespace {

std::string CutText(const std::string& text) { return text.substr(0, kMaxSettingText); }

bool IsExistingFile(const std::string& path) {
  std::error_code ec;
  return !path.empty() && fs::exists(path, ec) && !fs::is_directory(path, ec);
}

bool IsExistingDirectory(const std::string& path) {
  std::error_code ec;
  return !path.empty() && fs::is_directory(path, ec);
}

// The EPW header of a remembered file; a file that cannot be read leaves the fields as
// they are, since a start must not fail on it (the conversion reports it properly).
void ShowEpwHeader(const std::string& path, MainWindowState& window) {
  EpwHeader header;
  header.site = {window.ledEPWloc, window.ledEPWlat, window.ledEPWlon, window.ledEPWtz,
                 window.ledEPWelev};
  header.comment = window.ledEPWcomment;
  try {
    ReadEPWHeader(path, header);
  } catch (const std::exception&) {
    return;
  }
  window.ledEPWloc = header.site.description;
  window.ledEPWlat = header.site.latitude;
  window.ledEPWlon = header.site.longitude;
  window.ledEPWtz = header.site.timeZone;
  window.ledEPWelev = header.site.elevation;
  window.ledEPWcomment = header.comment;
}

}  // namespace

std::string BinFileNameFor(const std::string& sourcePath) {
  const size_t slash = sourcePath.find_last_of('/');
  std::string name = slash == std::string::npos ? sourcePath : sourcePath.substr(slash + 1);
  const size_t dot = name.find_last_of('.');
  if (dot != std::string::npos) name.erase(dot);
  return name + ".BIN";
}

void LoadSettings(const Settings& settings, MainWindowState& window) {
  // CSV source and its site.
  if (IsExistingFile(settings.csvFileName)) {
    window.edXLSfn = settings.csvFileName;
    window.ledCSVdesc = settings.csvSite.description;
    window.ledCSVlat = settings.csvSite.latitude;
    window.ledCSVlon = settings.csvSite.longitude;
    window.ledCSVtz = settings.csvSite.timeZone;
    window.ledCSVelev = settings.csvSite.elevation;
    window.edCSVBinName = BinFileNameFor(settings.csvFileName);
    window.btnFieldSpecsEnabled = true;
    window.btnFindSiteInfoEnabled = true;
  } else {
    window.edXLSfn = settings.csvFileName.empty() ? "" : kNoFileText;
  }

  // CSV output directory.
  if (IsExistingDirectory(settings.csvBinDir)) {
    window.edCSVdir = settings.csvBinDir;
  } else {
    window.edCSVdir = settings.csvBinDir.empty() ? "" : kNoDirectoryText;
  }

  // EPW source: the placeholder also when no file was ever chosen.
  if (IsExistingFile(settings.epwFileName)) {
    window.edEPWfile = settings.epwFileName;
    ShowEpwHeader(settings.epwFileName, window);
    window.edEPWBinName = BinFileNameFor(settings.epwFileName);
    window.btnProcEPWEnabled = true;
  } else {
    window.edEPWfile = kNoFileText;
  }

  // EPW output directory: the placeholder also when empty.
  window.edEPWdir = IsExistingDirectory(settings.epwBinDir) ? settings.epwBinDir : kNoDirectoryText;

  window.cbEPWuseObs = settings.epwUseObs;
  window.cbCalcSolDN = settings.epwCalcDN;
  window.cbEPWuseRH = settings.epwUseRH;
  window.cbEPWWriteEpw = settings.epwWriteEpw;
  window.cbCSVWriteEpw = settings.csvWriteEpw;
  window.seEPWTimeShift = settings.epwTimeShift;
  window.seCSVTimeShift = settings.csvTimeShift;

  // A flag of -888 leaves its cell as it is, so a cell saved empty is empty again.
  ShowCleaningLimits(settings.limits, window.grids);

  window.cbLogIt = settings.logReplacements;
  window.cbClearResults = settings.clearResults;
  window.edInterimPath = settings.interimPath;
  window.edLOG = settings.logFilePath;
}

void CaptureSettings(const MainWindowState& window, Settings& settings, RunUi& ui) {
  // Texts are taken as they stand, placeholders included.
  settings.csvFileName = CutText(window.edXLSfn);
  settings.csvBinDir = CutText(window.edCSVdir);
  settings.csvSite.description = CutText(window.ledCSVdesc);
  settings.csvSite.latitude = CutText(window.ledCSVlat);
  settings.csvSite.longitude = CutText(window.ledCSVlon);
  settings.csvSite.timeZone = CutText(window.ledCSVtz);
  settings.csvSite.elevation = CutText(window.ledCSVelev);
  settings.epwFileName = CutText(window.edEPWfile);
  settings.epwUseObs = window.cbEPWuseObs;
  settings.epwBinDir = CutText(window.edEPWdir);
  settings.epwCalcDN = window.cbCalcSolDN;
  settings.epwUseRH = window.cbEPWuseRH;
  settings.epwWriteEpw = window.cbEPWWriteEpw;
  settings.csvWriteEpw = window.cbCSVWriteEpw;
  settings.epwTimeShift = window.seEPWTimeShift;
  settings.csvTimeShift = window.seCSVTimeShift;
  settings.limits = CaptureCleaningLimits(window.grids, ui);  // one notice per bad cell
  settings.logReplacements = window.cbLogIt;
  settings.clearResults = window.cbClearResults;
  settings.interimPath = CutText(window.edInterimPath);
  settings.logFilePath = CutText(window.edLOG);
}

RunRequest MakeRunRequest(RunBranch branch, const Settings& settings,
                          const MainWindowState& window, const ProgramPaths& paths) {
  RunRequest request;
  request.branch = branch;
  request.interimDir = window.edInterimPath;
  // Stands in for a missing interim directory, so it must be writable: the program's
  // directory in a portable layout, the per-user data directory otherwise.
  request.programDir = paths.defaultInterimDir;
  request.settingsFile = paths.settingsFile;
  request.epw.useRelHum = settings.epwUseRH;
  request.epw.calcDirectNormal = settings.epwCalcDN;
  request.epw.useObservations = settings.epwUseObs;
  request.limits = settings.limits;
  request.detailedLog = settings.logReplacements;
  if (branch == RunBranch::Epw) {
    request.sourceFile = settings.epwFileName;
    request.outputFileName = window.edEPWBinName;
    request.outputDir = window.edEPWdir;
    request.site = {window.ledEPWloc, window.ledEPWlat, window.ledEPWlon, window.ledEPWtz,
                    window.ledEPWelev};
    request.siteSource = "The EPW file info of " + settings.epwFileName;
    request.timeShiftHours = settings.epwTimeShift;
  } else {
    request.sourceFile = settings.csvFileName;
    request.outputFileName = window.edCSVBinName;
    request.outputDir = window.edCSVdir;
    request.site = settings.csvSite;
    request.csv = settings.csvFieldMap;
    request.timeShiftHours = settings.csvTimeShift;
  }
  if (branch == RunBranch::Epw ? settings.epwWriteEpw : settings.csvWriteEpw) {
    request.epwOutFile = RemoveExtension(request.outputFileName) + ".epw";
  }
  return request;
}

}  // namespace kestrum
