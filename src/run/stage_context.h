// What every stage of a run works on: the table, the run state, the two channels of
// the run log, the interim directory where the run's files go, and the run's warnings.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "run/hourly_table.h"
#include "run/run_log.h"
#include "run/run_state.h"
#include "run/run_ui.h"

namespace kestrum {

struct StageContext {
  HourlyTable& table;
  RunState& state;
  RunUi& ui;
  const RunLog& log;
  std::string interimDir;  // no trailing separator
  // The warnings of the run, in the order they were said; null: not kept (tests).
  std::vector<std::string>* warnings = nullptr;

  // interimDir + "/" + OutputBaseName + suffix, e.g. "-orig.csv", ".ft".
  std::string RunFile(std::string_view suffix) const {
    return interimDir + "/" + state.outputBaseName + std::string(suffix);
  }
  // interimDir + "/" + name, e.g. "postclean-b.csv".
  std::string InterimFile(std::string_view name) const {
    return interimDir + "/" + std::string(name);
  }

  // A finding about the result that the user must not miss (rows left out, hours filled
  // twice, a clock that does not match the sun): one line in the log file, one warning in
  // the progress box (the command line also puts it on stderr), and one entry, without its
  // indentation, in the run's warnings, which the reports and the batch summary list.
  // `line` carries its indentation, like every progress line. Called on the run's own
  // thread only.
  void Warn(std::string_view line) const {
    log.WriteLogLine(line);
    ui.Warning(line);
    if (warnings != nullptr) {
      const size_t start = line.find_first_not_of(' ');
      warnings->emplace_back(start == std::string_view::npos ? std::string_view{}
                                                             : line.substr(start));
    }
  }
};

}  // namespace kestrum
