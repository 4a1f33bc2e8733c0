// The cleaning pass: finds and repairs bad hours of the five cleaned series.
#pragma once

#include "cleaning/cleaning_limits.h"
#include "cleaning/repair_record.h"
#include "run/stage_context.h"

namespace kestrum {

// Repairs DryBulb .. WindDirection in place, writes postclean-b.csv (postclean-c.csv on
// the repeated pass), and runs once more when repeat is set and bad hours remain.
// Returns false when any hour is still bad. detailedLog writes one log line per repair.
// record (optional) receives every streak found and the method of every repaired hour;
// it changes nothing the pass writes.
bool CleanWeatherData(bool repeat, const CleaningLimits& limits, bool detailedLog,
                      StageContext& ctx, RepairRecord* record = nullptr);

}  // namespace kestrum
