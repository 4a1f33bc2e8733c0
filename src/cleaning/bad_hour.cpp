#include "cleaning/bad_hour.h"

#include <cmath>

#include "run/hourly_table.h"

namespace kestrum {

BadHourRule RuleForRow(const CleaningLimits& limits, int row, int32_t moistureIndicator) {
  BadHourRule rule;
  rule.lower = limits.Min(row);
  rule.upper = limits.Max(row);
  if (row == 2 && moistureIndicator == kMoistureRelHum) {
    rule.lower = 0.0;    // %
    rule.upper = 100.0;  // %
  } else if (row == 2) {
    rule.upperIsDryBulb = true;  // a dew point or wet bulb never exceeds the dry bulb
  }
  for (int k = 1; k <= kMissingFlags; ++k) rule.flags[k - 1] = limits.Flag(row, k);
  return rule;
}

bool IsBadValue(float v, const BadHourRule& rule, float dryBulb) {
  const double value = v;
  if (std::isnan(value)) return true;
  const double upper = rule.upperIsDryBulb ? static_cast<double>(dryBulb) : rule.upper;
  if (value < rule.lower || value > upper) return true;
  for (int32_t flag : rule.flags) {
    if (value == static_cast<double>(flag)) return true;
  }
  return false;
}

const char* CleanedSeriesName(int row, int32_t moistureIndicator) {
  switch (row) {
    case 1: return "DryBulbTemp";
    case 2: return moistureIndicator == kMoistureRelHum ? "RelHum" : "DP/WB-Temp";
    case 3: return "Solar";
    case 4: return "WindVel";
    case 5: return "WindDir";
    default: return "";
  }
}

}  // namespace kestrum
