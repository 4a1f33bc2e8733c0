// The hourly rows of an EPW file into the hourly table, and the original-data file.
#pragma once

#include <cstdint>
#include <string>

#include "run/stage_context.h"

namespace kestrum {

struct EpwOptions {
  bool useRelHum = false;         // EPWUseRH: moisture from relative humidity, not dew point
  bool calcDirectNormal = false;  // EPWCalcDN: estimate every hour's direct normal
  bool useObservations = true;    // EPWUseObs: stored and shown, nothing reads it
  // Rows that share an hour: kSubhourlyLast (the later row wins) or kSubhourlyMean
  // (run/hour_placement.h). The command line's --subhourly.
  int32_t subhourly = 0;
};

// Reads the rows after "DATA PERIODS" into DryBulb .. WindDirection (and SolarDirectNormal
// unless calcDirectNormal), normalises units, writes <base>-orig.csv. The row of hour s
// fills hour s + timeShiftHours (wrapping around the year); rows of 29 February are left
// out. What became of rows that are not one hour each is warned (RowPlacement). Returns
// true; every failure is thrown (InputError naming the file, the line number and the text).
bool ReadEPWData(const std::string& path, const EpwOptions& options, StageContext& ctx,
                 int timeShiftHours = 0);

}  // namespace kestrum
