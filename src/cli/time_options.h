// The options of `kestrum-cli convert` that place a file's rows on the hours of the year,
// for EPW and CSV input alike: --subhourly, --time-shift and --utc.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "run/run_state.h"

namespace CLI {
class App;
}

namespace kestrum::cli {

// As the user typed them (CLI11 has checked each value). Empty / nullopt / false: not given.
struct TimeCliOptions {
  std::string subhourly;          // "last" or "mean"
  std::optional<int> timeShift;   // whole hours -23..23
  bool utc = false;               // the file is stamped in UTC: shift by the site's time zone
};

// Adds --subhourly, --time-shift and --utc to the convert subcommand.
void AddTimeOptions(CLI::App& convert, TimeCliOptions& options);

// The code of --subhourly (kSubhourlyLast, kSubhourlyMean), or stored when not given.
int32_t ResolveSubhourly(const TimeCliOptions& options, int32_t stored);

// The shift of the run: --time-shift; with --utc, or for a layout whose rows are stamped in
// UTC (utcStamps), the site's time zone, which must be a whole number of hours; else stored
// (the settings file's EPWTimeShift or CSVTimeShift). Throws CsvUsageError (exit status 2)
// when --utc and --time-shift are both given, or the rows in UTC meet a time zone that is
// no whole number of hours.
int ResolveTimeShift(const TimeCliOptions& options, const SiteInfo& site, int stored,
                     bool utcStamps = false);

}  // namespace kestrum::cli
