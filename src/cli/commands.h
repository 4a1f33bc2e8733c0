// The subcommands of kestrum-cli.
#pragma once

#include <string>
#include <vector>

#include "cli/csv_options.h"
#include "cli/time_options.h"

namespace kestrum::cli {

// Exit statuses.
inline constexpr int kExitOk = 0;
inline constexpr int kExitError = 1;
inline constexpr int kExitUsage = 2;
inline constexpr int kExitCleaningFailed = 3;

struct ConvertOptions {
  std::string input;
  std::string outDir;      // default: the current directory
  std::string interimDir;  // default: outDir
  std::string name;        // default: the input's file name without its extension
  bool useRelHum = false;
  bool calcDirectNormal = false;
  std::string logFile;     // default: no log file
  bool detailedLog = false;
  std::string settingsFile;
  bool quiet = false;
  CsvCliOptions csv;       // --format and the CSV options
  TimeCliOptions time;     // --subhourly, --time-shift, --utc (EPW and CSV)
  std::string reportFile;  // default: no report; ".html" or ".htm" for the HTML page
  std::string reportUnits = "si";  // "si" or "ip": the units of the report's values
  std::string epwOutFile;  // default: none; the repaired year as EPW
};

// Converts one EPW or CSV file; returns the exit status. Errors go to stderr.
int RunConvert(const ConvertOptions& options);

struct BatchOptions {
  std::vector<std::string> inputs;  // files, or directories of *.epw and *.csv files
  std::string outDir;               // every NAME.bin; the run files in DIR/runs/NAME/
  int jobs = 0;                     // worker processes; 0: one per core
  double timeoutSeconds = 120;      // a worker still running then is stopped
  std::string summaryFile;          // the summary table as CSV; empty: none
  bool quiet = false;               // only the summary table
  bool epwOut = false;              // each input's repaired year as DIR/NAME.epw too
  std::vector<std::string> conversionArgs;  // handed on to each input's convert
};

// Converts every input in worker processes, each as `convert` would; returns 0 when all
// converted, 1 otherwise, 2 for inputs that cannot make a batch (none, or names taken twice).
int RunBatch(const BatchOptions& options);

struct InspectOptions {
  std::string input;
  bool json = false;  // the JSON form (stable keys) instead of text
};

// Tells what a weather file is and how it would convert; returns the exit status (1 for a
// file it cannot read).
int RunInspect(const InspectOptions& options);

struct UnpackOptions {
  std::string binFile;
  std::string ftFile;  // default: the ".bin" path with ".ft" in place of its extension
};

// Checks a ".bin" file and rebuilds its FT text; returns the exit status.
int RunUnpack(const UnpackOptions& options);

}  // namespace kestrum::cli
