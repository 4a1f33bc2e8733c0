// The hourly rows of an EPW file into the hourly table, and the original-data file.
#pragma once

#include <string>

#include "run/stage_context.h"

namespace kestrum {

struct EpwOptions {
  bool useRelHum = false;         // EPWUseRH: moisture from relative humidity, not dew point
  bool calcDirectNormal = false;  // EPWCalcDN: estimate every hour's direct normal
  bool useObservations = true;    // EPWUseObs: stored and shown, nothing reads it
};

// Reads the rows after "DATA PERIODS" into DryBulb .. WindDirection (and SolarDirectNormal
// unless calcDirectNormal), normalises units, writes <base>-orig.csv. Returns true; every
// failure is thrown (InputError naming the file, the line number and the text).
bool ReadEPWData(const std::string& path, const EpwOptions& options, StageContext& ctx);

}  // namespace kestrum
