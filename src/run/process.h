// The conversion driver: reads, cleans, formats and packs one run.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "cleaning/cleaning_limits.h"
#include "csv/csv_field_map.h"
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
  std::string settingsFile;    // the settings file of the run's options: never written by it
  EpwOptions epw;
  CsvFieldMap csv;            // the committed CSV field map (CSV branch)
  // Whole hours -23..23 by which the source's hours are moved (EPWTimeShift or
  // CSVTimeShift; --time-shift, --utc): the row stamped hour s fills hour s + timeShiftHours.
  int timeShiftHours = 0;
  // Warnings said before the source is read: what a source layout takes for the run that
  // the file does not say (its time zone from the longitude, its UTC stamps moved to the
  // site's time zone). Indented like every progress line.
  std::vector<std::string> notes;
  SiteInfo site;               // the running branch's site texts
  std::string siteSource;      // where they come from, for a message about one of them
                               // ("/d/Golden.epw, LOCATION line 1")
  CleaningLimits limits = CleaningLimits::Defaults();
  bool detailedLog = false;
  // The repaired year as an EPW file, written after a successful packing; empty: none. A
  // name without a directory ("Golden.epw") goes beside the ".bin" file, wherever that
  // ends up (the output directory, or the interim directory when the output directory is
  // missing).
  std::string epwOutFile;
};

struct RunOutcome {
  bool converted = false;         // every stage succeeded
  bool interimReplaced = false;   // the interim directory did not exist: programDir was used
  std::string interimDir;         // the directory the run used
  std::string binPath;            // the ".bin" file, when one was made
  std::string epwPath;            // the repaired year as EPW, when one was written
  std::string failedStage;        // "cleaning", "packing", ... when a stage returned false
  std::optional<QualitySummary> quality;  // once the cleaning pass has run
  std::string failureReason;      // the packer's reason when no ".bin" reached its place
  std::string earlierBinNote;     // "NAME.bin in DIR is from an earlier run (...)." on failure
  std::vector<std::string> warnings;  // what the stages warned of, in order (StageContext::Warn)
  // The whole hours the sun in the cleaned data runs early (> 0) or late (< 0) against the
  // site's clock (CheckTimeBase); nullopt when not checked (no cleaned data, a site that
  // does not convert, no course of the sun in the radiation).
  std::optional<int> sunOffsetHours;
};

struct RunServices {
  HourlyTable& table;
  RunState& state;
  RunUi& ui;
  RunLog& log;
  OutsideLibraries& libraries;
};

// Refuses a request that would write where it must not (RunRequestProblem), before the
// log gets a line. Logs the start line, makes the interim directory current, sets the run
// state, removes the files an earlier run of the same name left there, resets the optional
// series and chains the stages, each gated by the previous one's success. Restores the
// caption and logs the finish line. An error raised by a stage ends the run as well: the
// error text goes to the log and as one line to the progress box, the caption is restored,
// the finish line logged, and RunStopped carries the text on to the caller, who shows it.
RunOutcome Process(const RunRequest& request, RunServices& services);

inline constexpr const char* kProgramCaption = "Tavorin-Zenfold";

}  // namespace kestrum
