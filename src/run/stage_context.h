// What every stage of a run works on: the table, the run state, the two channels of
// the run log, and the interim directory where the run's files go.
#pragma once

#include <string>
#include <string_view>

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

  // interimDir + "/" + OutputBaseName + suffix, e.g. "-orig.csv", ".ft".
  std::string RunFile(std::string_view suffix) const {
    return interimDir + "/" + state.outputBaseName + std::string(suffix);
  }
  // interimDir + "/" + name, e.g. "postclean-b.csv".
  std::string InterimFile(std::string_view name) const {
    return interimDir + "/" + std::string(name);
  }
};

}  // namespace kestrum
