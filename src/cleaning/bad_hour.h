// Which hourly values of a cleaned series count as bad.
#pragma once

#include <array>
#include <cstdint>

#include "cleaning/cleaning_limits.h"

namespace kestrum {

// The test for one cleaned series (rows 1..5 of the cleaning limits).
struct BadHourRule {
  double lower = 0;              // a value below it is bad
  double upper = 0;              // a value above it is bad, unless upperIsDryBulb
  bool upperIsDryBulb = false;   // dew point or wet bulb: bounded by the same hour's dry bulb
  std::array<int32_t, kMissingFlags> flags{};  // a value equal to one of them is bad
};

// The rule of row 1..5. Row 2 with relative humidity (moistureIndicator 2) is bounded by
// 0 and 100 %; with a dew point or wet bulb its Max is replaced by the hour's dry bulb.
BadHourRule RuleForRow(const CleaningLimits& limits, int row, int32_t moistureIndicator);

// True when v is bad: below the lower bound, above the upper bound (dryBulb when the rule
// says so), equal to a flag, or not a number. A value equal to a bound is good. Compared
// in double precision.
bool IsBadValue(float v, const BadHourRule& rule, float dryBulb);

// The name of row 1..5 in log lines: "DryBulbTemp", "DP/WB-Temp" or "RelHum", "Solar",
// "WindVel", "WindDir".
const char* CleanedSeriesName(int row, int32_t moistureIndicator);

}  // namespace kestrum
