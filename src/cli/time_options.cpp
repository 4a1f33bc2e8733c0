#include "cli/time_options.h"

#include <CLI/CLI.hpp>

#include "cli/csv_options.h"
#include "run/hour_placement.h"
#include "run/text_fields.h"

namespace kestrum::cli {

void AddTimeOptions(CLI::App& app, TimeCliOptions& o) {
  app.add_option("--subhourly", o.subhourly,
                 "Rows that land on one hour (half-hourly data, repeated rows): last (the later "
                 "row wins, the default) or mean (every value the mean of the hour's rows, the "
                 "wind direction that of the mean wind vector)")
      ->transform(CLI::IsMember({"last", "mean"}, CLI::ignore_case));
  app.add_option_function<int>(
         "--time-shift", [&o](int hours) { o.timeShift = hours; },
         "Move every row by whole hours, -23..23: the row stamped hour s fills hour s+H of "
         "the year, wrapping around its ends (a file in UTC: the site's time zone, see --utc)")
      ->check(CLI::Range(-kMaxTimeShiftHours, kMaxTimeShiftHours));
  app.add_flag("--utc", o.utc,
               "The file is stamped in UTC: shift its rows by the site's time zone (a whole "
               "number of hours)");
}

int32_t ResolveSubhourly(const TimeCliOptions& o, int32_t stored) {
  if (o.subhourly.empty()) return stored;
  return o.subhourly == "mean" ? kSubhourlyMean : kSubhourlyLast;
}

int ResolveTimeShift(const TimeCliOptions& o, const SiteInfo& site, int stored, bool utcStamps) {
  if (o.utc && o.timeShift) {
    throw CsvUsageError("--utc and --time-shift both give the time shift: use one of them.");
  }
  if (o.timeShift) return *o.timeShift;
  if (!o.utc && !utcStamps) return stored;
  const std::string why = o.utc ? "--utc shifts the rows by the site's time zone, but "
                                : "The file is stamped in UTC, its rows shifted by the site's "
                                  "time zone, but ";
  double zone = 0.0;
  if (!ParseReal(site.timeZone, zone)) {
    throw CsvUsageError(why + "the time zone \"" + site.timeZone + "\" is not a number.");
  }
  const std::optional<int> shift = UtcShiftForTimeZone(site.timeZone);
  if (!shift) {
    throw CsvUsageError(why + site.timeZone +
                        " is not a whole number of hours: give the shift with --time-shift.");
  }
  return *shift;
}

}  // namespace kestrum::cli
