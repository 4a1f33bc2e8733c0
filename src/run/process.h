// The conversion driver: reads, cleans, formats and packs one run.
#pragma once

#include <optional>
#include <string>

#include "cleaning/cleaning_limits.h"
#include "csv/csv_spec.h"
#include "epw/epw_reader.h"
#include "format/outside_libraries.h"
#include "run/hourly_table.h"
#include "run/quality_summary.h"
#include "run/run_log.h"
#include "run/run_state.h"
#include "run/run_ui.h"

namespace kestrum {

enum class RunBranch { Epw, Csv };

// Everything a run reads, captured from the window or the command line.
struct RunRequest {
  RunBranch branch = RunBranch::Epw;
  std::string sourceFile;      // EWPFileName or CSVFileName
  std::string outputFileName;  // as typed, e.g. "Golden.BIN"; its extension is dropped
  std::string outputDir;       // where the ".bin" file is copied
  std::string interimDir;      // every file of the run is written here
  std::string programDir;      // takes the place of an interim directory that does not exist
  EpwOptions epw;
  CsvFieldSpec csv;            // the committed CSV field specification (CSV branch)
  SiteInfo site;               // the running branch's site texts
  CleaningLimits limits = CleaningLimits::Defaults();
  bool detailedLog = false;
};

struct RunOutcome {
  bool converted = false;         // every stage succeeded
  bool interimReplaced = false;   // the interim directory did not exist: programDir was used
  std::string interimDir;         // the directory the run used
  std::string binPath;            // the ".bin" file, when one was made
  std::string failedStage;        // "cleaning", "packing", ... when a stage returned false
  std::optional<QualitySummary> quality;  // once the cleaning pass has run
};

struct RunServices {
  HourlyTable& table;
  RunState& state;
  RunUi& ui;
  RunLog& log;
  OutsideLibraries& libraries;
};

// Logs the start line, makes the interim directory current, sets the run state, resets
// the optional series and chains the stages, each gated by the previous one's success.
// Restores the caption and logs the finish line. Errors raised by a stage propagate
// (RunError); the caller reports them.
RunOutcome Process(const RunRequest& request, RunServices& services);

inline constexpr const char* kProgramCaption = "Tavorin-Zenfold";

}  // namespace kestrum
