// The hourly formatter: psychrometrics and direct normal for every hour, written to the
// FT file and the final-data file.
#pragma once

#include <vector>

#include "format/outside_libraries.h"
#include "run/run_state.h"
#include "run/stage_context.h"

namespace kestrum {

// What the formatter wrote for each hour (index h - 1), for the outputs made after it: the
// repaired year as EPW and the quality summary.
struct FormattedYear {
  std::vector<double> directNormalWm2;  // estimated or the table's own, W/m2
  std::vector<double> dewPointF;        // deg F
  std::vector<double> relHumPct;        // %
  std::vector<double> pressureKPa;      // station pressure, kPa
};

// site: the texts of the running branch (EPW or CSV). epwUseRelHum: the EPW option
// "Use Relative Humidity" (decides the moisture kind of an EPW run). Refuses a site out
// of range before creating any file (throws RunError naming the field and its value).
// Writes <base>.ft and <base>-final.csv; returns true. formatted (optional) receives the
// values written for each hour.
bool FormatWeatherData(const SiteInfo& site, bool epwUseRelHum, StageContext& ctx,
                       SolvaneLibrary& solvane, FormattedYear* formatted = nullptr);

}  // namespace kestrum
