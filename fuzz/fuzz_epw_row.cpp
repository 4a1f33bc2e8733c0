// One EPW data row under every option: it converts or names what did not, and its hour of
// the year is 0 or an hour of the table.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "epw/epw_row.h"
#include "fuzz_support.h"
#include "run/hourly_table.h"

using namespace kestrum;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view line(reinterpret_cast<const char*>(data), size);
  for (int options = 0; options < 4; ++options) {
    EpwOptions o;
    o.useRelHum = (options & 1) != 0;
    o.calcDirectNormal = (options & 2) != 0;
    EpwRow row;
    EpwRowProblem problem;
    if (!ParseEpwRow(line, o, row, problem)) {
      if (problem.reason.empty()) fuzz::Broken("a refused row without a reason");
      continue;
    }
    for (float v : {row.dryBulbC, row.moisture, row.globalHorizontal, row.windDirection,
                    row.windSpeed, row.directNormal}) {
      if (!std::isfinite(v)) fuzz::Broken("a value that is not finite");
    }
    const int32_t h = EpwHourIndex(row);
    if (h < 0 || h > kHoursPerYear) fuzz::Broken("an hour outside the table");
    if (h != 0 && (row.month < 1 || row.month > 12 || row.hour < 1 || row.hour > 24)) {
      fuzz::Broken("a stored row without a date of the year");
    }
  }
  return 0;
}
