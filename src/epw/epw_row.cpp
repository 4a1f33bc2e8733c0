#include "epw/epw_row.h"

#include <cfloat>
#include <cmath>

#include "run/calendar.h"
#include "run/hourly_table.h"
#include "run/text_fields.h"

namespace kestrum {

namespace {

bool TakeWhole(std::string_view text, const char* what, int64_t& out, EpwRowProblem& problem) {
  if (ParseWholeNumber(text, out)) return true;
  problem = {std::string(text), what, "is not a whole number"};
  return false;
}

// A value must convert and fit a single-precision slot of the table.
bool TakeValue(std::string_view text, const char* what, float& out, EpwRowProblem& problem) {
  double v = 0.0;
  if (!ParseReal(text, v)) {
    problem = {std::string(text), what, "is not a number"};
    return false;
  }
  if (std::fabs(v) > FLT_MAX) {
    problem = {std::string(text), what, "is out of range"};
    return false;
  }
  out = static_cast<float>(v);
  return true;
}

}  // namespace

bool ParseEpwRow(std::string_view line, const EpwOptions& options, EpwRow& row,
                 EpwRowProblem& problem) {
  constexpr int kLastTakenField = 22;
  size_t pos = 1;
  std::string quoted;  // only a field in double quotes is copied
  for (int n = 1; n <= kLastTakenField; ++n) {
    const std::string_view field = NextFieldView(line, pos, quoted, AfterQuote::Consume);
    bool ok = true;
    switch (n) {
      case 2: ok = TakeWhole(field, "month", row.month, problem); break;
      case 3: ok = TakeWhole(field, "day", row.day, problem); break;
      case 4: ok = TakeWhole(field, "hour", row.hour, problem); break;
      case 7: ok = TakeValue(field, "dry bulb", row.dryBulbC, problem); break;
      case 8:
        if (!options.useRelHum) ok = TakeValue(field, "dew point", row.moisture, problem);
        break;
      case 9:
        if (options.useRelHum) ok = TakeValue(field, "relative humidity", row.moisture, problem);
        break;
      case 14:
        ok = TakeValue(field, "global horizontal radiation", row.globalHorizontal, problem);
        break;
      case 15:
        if (!options.calcDirectNormal) {
          ok = TakeValue(field, "direct normal radiation", row.directNormal, problem);
        }
        break;
      case 21: ok = TakeValue(field, "wind direction", row.windDirection, problem); break;
      case 22: ok = TakeValue(field, "wind speed", row.windSpeed, problem); break;
      default: break;  // year, minute, flags and the quantities not used
    }
    if (!ok) return false;
  }
  return true;
}

int32_t EpwHourIndex(const EpwRow& row) {
  if (row.month < 1 || row.month > 12) return 0;
  if (row.day < 0 || row.day > 0xFFFF || row.hour < 0 || row.hour > 0xFFFF) return 0;
  const int32_t h = HourOfYear(static_cast<uint16_t>(row.month), static_cast<uint16_t>(row.day),
                               static_cast<uint16_t>(row.hour));
  return (h >= 1 && h <= kHoursPerYear) ? h : 0;
}

}  // namespace kestrum
