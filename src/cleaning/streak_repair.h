// Repairing one streak of consecutive bad hours of a cleaned series.
#pragma once

#include <cstdint>
#include <string_view>

#include "cleaning/repair_record.h"
#include "run/hourly_table.h"
#include "run/run_log.h"

namespace kestrum {

// The series a streak belongs to, and where its repairs are reported.
struct StreakSeries {
  HourlyTable& table;
  Series series;
  std::string_view name;       // series name in log lines, e.g. "DryBulbTemp"
  bool coupleDryBulb = false;  // moisture is a temperature: every repair rewrites DryBulb too
  bool detailedLog = false;    // one log line per repaired hour
  const RunLog& log;
  RepairRecord* record = nullptr;  // notes the method of every repaired hour, when given
};

// Repairs the streak of `length` bad hours that ends before endHour (the first good hour
// after it), or, with reachesYearEnd, the streak that ends on hour 8760 (endHour is then
// 8760). Not longer than interpLimit: linear interpolation between the good hours on either
// side (values at the start or end of the year are copied instead). Longer: the previous
// day's values are copied, or, within the first day of the year, the first good hour's.
// prevLimit is carried along but decides nothing: a long streak is copied from the
// previous day whatever its length.
// Writes the streak's log lines; the values are written in place as single precision.
void FillBadStreak(const StreakSeries& target, int endHour, int length, int32_t interpLimit,
                   int32_t prevLimit, bool reachesYearEnd);

}  // namespace kestrum
