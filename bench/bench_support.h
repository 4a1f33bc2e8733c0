// What the benchmark programs share: the two libraries bound once, and a whole conversion
// run with nothing shown.
#pragma once

#include <benchmark/benchmark.h>

#include <memory>

#include "config/settings.h"
#include "format/outside_libraries.h"
#include "run/process.h"
#include "run/run_ui.h"

namespace kestrum::bench {

inline OutsideLibraries& Libraries() {
  static std::unique_ptr<OutsideLibraries> libs = OutsideLibraries::Load(ProgramDirectory());
  return *libs;
}

// One conversion as the command line's automatic run makes it, on a fresh table.
inline void ConvertSilently(const RunRequest& request) {
  HourlyTable table;
  RunState state;
  state.automaticMode = true;
  SilentUi ui;
  RunLog log;
  RunServices services{table, state, ui, log, Libraries()};
  benchmark::DoNotOptimize(Process(request, services));
}

}  // namespace kestrum::bench
