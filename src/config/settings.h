// The persisted settings: one value per key of the INI file beside the program, and the
// operations that move them between the file, the main window's texts and a run request.
#pragma once

#include <cstdint>
#include <string>

#include "cleaning/cleaning_limits.h"
#include "csv/csv_field_map.h"
#include "run/process.h"
#include "run/run_error.h"
#include "run/run_state.h"

namespace kestrum {

class RunUi;

inline constexpr size_t kMaxSettingText = 255;
// Section names, spelled as every settings file has them.
inline constexpr const char* kFormSection = "Form";
inline constexpr const char* kCsvSection = "CSV Specs";
inline constexpr const char* kEpwSection = "EPW Specs";
inline constexpr const char* kSetUpSection = "SetUp";

inline constexpr const char* kNoFileText = "<previous file no longer exists>";
inline constexpr const char* kNoDirectoryText = "<previous directory no longer exists>";

// Where the program keeps its settings file, default log file and default interim directory.
struct ProgramPaths {
  std::string programFile;   // full path of the program file
  std::string programDir;    // its directory, no trailing separator
  std::string settingsFile;  // "<program path>.INI", or a per-user file when not writable
  std::string defaultLogFile;     // "<program path>.log", or per-user
  std::string defaultInterimDir;  // the program's directory, or per-user
};

// Beside the program when its directory is writable (a portable build) and not under /usr or
// /opt (an installed program, whatever the user's rights); otherwise in the per-user
// directories given (the desktop program passes Qt's standard locations), which
// are created. The file names follow the program's: "kestrum" -> "kestrum.INI", "kestrum.log".
ProgramPaths ResolveProgramPaths(const std::string& programFile, const std::string& userConfigDir,
                                 const std::string& userDataDir);

struct Settings {
  // Window position (section Form)
  int32_t top = 100;
  int32_t left = 100;
  // EPW conversion (the EPW section)
  std::string epwFileName;  // key EWPFileName
  bool epwCalcDN = false;
  bool epwUseRH = false;
  bool epwUseObs = true;
  std::string epwBinDir;
  bool epwWriteEpw = false;  // EPWWriteEpw: also write the repaired year as NAME.epw
  int32_t epwTimeShift = 0;  // EPWTimeShift: whole hours -23..23 added to the file's hours
  // CSV conversion (the CSV section)
  std::string csvFileName;
  std::string csvBinDir;
  SiteInfo csvSite;  // CSVdesc, CSVlat, CSVlong, CSVtz, CSVelev
  CsvFieldMap csvFieldMap;  // FirstRow .. CSVgridCol12, Subhourly, TimeStamps
  bool csvWriteEpw = false;  // CSVWriteEpw: also write the repaired year as NAME.epw
  int32_t csvTimeShift = 0;  // CSVTimeShift: whole hours -23..23 added to the file's hours
  // [SetUp]
  CleaningLimits limits = CleaningLimits::Defaults();
  bool logReplacements = false;
  bool clearResults = true;
  std::string interimPath;
  std::string logFilePath;
  std::string doeUrl;

  // Defaults of a first start: the output and interim directories are
  // paths.defaultInterimDir (the program's directory when it is writable), the log is
  // paths.defaultLogFile.
  static Settings Defaults(const ProgramPaths& paths);
};

// Reads the file at path over the defaults: missing file, section or key, or an integer that
// does not parse, gives the default. Keys match without regard to case. Texts are cut to 255.
Settings ReadSettingsFile(const std::string& path, const ProgramPaths& paths);

// A settings file the command line cannot use.
class SettingsFileError : public RunError {
 public:
  using RunError::RunError;
};

// The settings file as the command line takes it: read like ReadSettingsFile, but a file
// that cannot be read (missing, a directory, a named pipe), a value of the cleaning limits,
// the EPW options or LogReplacements that does not convert (key and text named), and a
// limits row whose Min lies above its Max are refused with SettingsFileError.
Settings ReadSettingsFileStrictly(const std::string& path, const ProgramPaths& paths);

// Writes settings (keys in the file's fixed order) into the file at path, keeping keys and
// sections it does not know and replacing existing keys in place; a new file gets its sections
// in the order Form, CSV, EPW, SetUp. Writes a temporary file beside it and renames it
// over the old one. Throws RunError when the file cannot be written.
void WriteSettingsFile(const std::string& path, const Settings& settings);

// The main window's controls as plain values: what LoadSettings shows and CaptureSettings
// reads. Names follow the controls.
struct MainWindowState {
  // EPW tab
  std::string edEPWfile, edEPWBinName, edEPWdir;
  std::string ledEPWloc, ledEPWlat, ledEPWlon, ledEPWtz, ledEPWelev, ledEPWcomment;
  bool cbCalcSolDN = false, cbEPWuseRH = false, cbEPWuseObs = true;
  bool cbEPWWriteEpw = false;
  int32_t seEPWTimeShift = 0;  // "Shift hours by:", whole hours -23..23
  bool btnProcEPWEnabled = false;
  // CSV tab
  std::string edXLSfn, edCSVBinName, edCSVdir;
  std::string ledCSVdesc, ledCSVlat, ledCSVlon, ledCSVtz, ledCSVelev;
  bool btnFieldSpecsEnabled = false, btnFindSiteInfoEnabled = false;
  bool cbCSVWriteEpw = false;
  int32_t seCSVTimeShift = 0;  // "Shift hours by:", whole hours -23..23
  // Review tab
  bool cbSaveCSV = false;
  // Setup tab
  CleaningGridTexts grids;  // sgWthData, sgBadData
  bool cbLogIt = false, cbClearResults = true, cbReWriteLog = true;
  std::string edInterimPath, edLOG;
};

// Shows the settings in the window state: placeholders for files and directories that no
// longer exist, the EPW header of a remembered EPW file (ReadEPWHeader), the grids.
void LoadSettings(const Settings& settings, MainWindowState& window);

// Copies the window state into settings in the stated order; the grids are converted to
// CleaningLimits with one notice per bad cell through ui.
void CaptureSettings(const MainWindowState& window, Settings& settings, RunUi& ui);

// The output name shown for a chosen source file: its name without the directory, with
// its extension (from the last ".") replaced by ".BIN"; "Golden.epw" -> "Golden.BIN",
// "data" -> "data.BIN".
std::string BinFileNameFor(const std::string& sourcePath);

// The run request of a Convert button, from captured settings and the window's texts.
// programDir of the request is paths.defaultInterimDir, the writable stand-in for a missing
// interim directory (the program's directory in a portable layout). With the tab's
// "Also write the repaired year as EPW" checked, epwOutFile is NAME.epw, written beside
// the ".bin".
RunRequest MakeRunRequest(RunBranch branch, const Settings& settings,
                          const MainWindowState& window, const ProgramPaths& paths);

// Deletes the run files the system writes into the interim directory: *.ft and *.sta, and
// unless saveGraphFiles, *-orig.csv, *-final.csv, postclean-b.csv and postclean-c.csv —
// never any other file, never protectedFile (the chosen CSV source), never ".bin" files.
// Does nothing when clearResults is false. Deletion failures are ignored. Returns the
// number of files deleted. Throws RunError naming the directory when clearResults is true
// and the directory cannot be listed (then nothing is deleted).
int ClearInterimResults(const std::string& interimDir, bool clearResults, bool saveGraphFiles,
                        const std::string& protectedFile);

}  // namespace kestrum
