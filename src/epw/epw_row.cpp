#include "epw/epw_row.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

#include "epw/text_lines.h"
#include "run/calendar.h"
#include "run/hourly_table.h"
#include "run/text_fields.h"

namespace kestrum {

namespace {

// The problems are made out of line: a row that converts builds no strings.
[[gnu::noinline, gnu::cold]] void SetProblem(EpwRowProblem& problem, std::string_view text,
                                              const char* what, const char* reason) {
  problem = {std::string(text), what, reason};
}

bool TakeWhole(std::string_view text, const char* what, int64_t& out, EpwRowProblem& problem) {
  if (ParseWholeNumber(text, out)) [[likely]] return true;
  SetProblem(problem, text, what, "is not a whole number");
  return false;
}

// A value must convert and fit a single-precision slot of the table.
bool TakeValue(std::string_view text, const char* what, float& out, EpwRowProblem& problem) {
  double v = 0.0;
  if (!ParseReal(text, v)) [[unlikely]] {
    SetProblem(problem, text, what, "is not a number");
    return false;
  }
  if (std::fabs(v) > FLT_MAX) [[unlikely]] {
    SetProblem(problem, text, what, "is out of range");
    return false;
  }
  out = static_cast<float>(v);
  return true;
}

// A quick look at the fields after the 22nd, from rest on: false when none after the 35th
// can hold text. Without quotes, tabs, form feeds and carriage returns a field is what lies
// between two commas, so the 36th field needs a 13th comma.
bool MayHaveFieldsBeyond(std::string_view rest) {
  constexpr long kUntakenFields = kEpwRowFields - 22;
  for (char c : {'"', '\t', '\f', '\r'}) {
    if (rest.find(c) != std::string_view::npos) return true;  // left to the field scanner
  }
  if (std::count(rest.begin(), rest.end(), ',') < kUntakenFields) return false;
  size_t after = 0;
  for (long n = 0; n < kUntakenFields; ++n) after = rest.find(',', after) + 1;
  return rest.find_first_not_of(" ,", after) != std::string_view::npos;
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
  // Fields 23 to 35 are not taken; a non-empty field after them means the row does not
  // have the EPW layout (a value typed with a decimal comma, "12,5", splits into two).
  if (pos > line.size() || !MayHaveFieldsBeyond(line.substr(pos - 1))) return true;
  for (int n = kLastTakenField + 1; pos <= line.size(); ++n) {
    const std::string_view field = NextFieldView(line, pos, quoted, AfterQuote::Consume);
    if (n > kEpwRowFields && !field.empty()) {
      problem = {std::string(field), "",
                 "the row has fields beyond the " + std::to_string(kEpwRowFields) +
                     " of an EPW row (field " + std::to_string(n) + " is " +
                     QuoteForMessage(field) + ")"};
      return false;
    }
  }
  return true;
}

bool IsLeapDay(const EpwRow& row) { return row.month == 2 && row.day == 29; }

int32_t EpwHourIndex(const EpwRow& row) {
  if (row.month < 1 || row.month > 12 || row.hour < 1 || row.hour > 24 || row.day < 1) return 0;
  const int month = static_cast<int>(row.month);
  if (row.day > DaysInMonth[month] && !IsLeapDay(row)) return 0;
  return HourOfYear(static_cast<uint16_t>(row.month), static_cast<uint16_t>(row.day),
                    static_cast<uint16_t>(row.hour));
}

}  // namespace kestrum
