// The hourly formatter: psychrometrics and direct normal for every hour, written to the
// FT file and the final-data file.
#pragma once

#include <vector>

#include "format/outside_libraries.h"
#include "run/run_state.h"
#include "run/stage_context.h"

namespace kestrum {

// site: the texts of the running branch (EPW or CSV). epwUseRelHum: the EPW option
// "Use Relative Humidity" (decides the moisture kind of an EPW run). Refuses a site out
// of range before creating any file (throws RunError naming the field and its value).
// Writes <base>.ft and <base>-final.csv; returns true. directNormalWm2 (optional)
// receives the direct normal written for each hour, estimated or the table's own.
bool FormatWeatherData(const SiteInfo& site, bool epwUseRelHum, StageContext& ctx,
                       SolvaneLibrary& solvane, std::vector<double>* directNormalWm2 = nullptr);

}  // namespace kestrum
