// One EPW data row under every option: it converts or names what did not, it is refused
// for fields beyond the 35th exactly when the field scanner finds a non-empty one there,
// and its hour of the year is 0 or an hour of the table.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "epw/epw_row.h"
#include "fuzz_support.h"
#include "run/hourly_table.h"
#include "run/text_fields.h"

using namespace kestrum;

namespace {

// The field scanner's own answer: does a field after the 35th hold text?
bool TextBeyondTheLastField(std::string_view line) {
  size_t pos = 1;
  std::string quoted;
  for (int n = 1; pos <= line.size(); ++n) {
    const std::string_view field = NextFieldView(line, pos, quoted, AfterQuote::Consume);
    if (n > kEpwRowFields && !field.empty()) return true;
  }
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view line(reinterpret_cast<const char*>(data), size);
  for (int options = 0; options < 4; ++options) {
    EpwOptions o;
    o.useRelHum = (options & 1) != 0;
    o.calcDirectNormal = (options & 2) != 0;
    EpwRow row;
    EpwRowProblem problem;
    const bool beyond = TextBeyondTheLastField(line);
    if (!ParseEpwRow(line, o, row, problem)) {
      if (problem.reason.empty()) fuzz::Broken("a refused row without a reason");
      if (problem.what.empty() && !beyond) fuzz::Broken("refused for fields it does not have");
      continue;
    }
    if (beyond) fuzz::Broken("a row with text beyond its 35th field was taken");
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
