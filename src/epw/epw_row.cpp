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

// The fields of a row from the first on. A field that holds just a plain number, the
// usual case, is read in the same pass that finds its end; any other goes through
// NextFieldView and the full number readers, which give the same result for the plain
// ones.
class RowFields {
 public:
  explicit RowFields(std::string_view line) : line_(line) {}

  void Skip() { NextFieldView(line_, pos_, quoted_, AfterQuote::Consume); }

  [[gnu::always_inline]] bool Whole(const char* what, int64_t& out, EpwRowProblem& problem) {
    if (const char* at = Start()) {
      int64_t v = 0;
      if (const char* stop = text_fields_detail::ScanShortWholeNumber(at, End(), v); Ends(stop)) {
        out = v;
        MovePast(stop);
        return true;
      }
    }
    return WholeInFull(what, out, problem);
  }

  [[gnu::always_inline]] bool Value(const char* what, float& out, EpwRowProblem& problem) {
    if (const char* at = Start()) {
      double v = 0.0;
      if (const char* stop = text_fields_detail::ScanPlainDecimal(at, End(), v);
          Ends(stop) && std::fabs(v) <= FLT_MAX) {
        out = static_cast<float>(v);
        MovePast(stop);
        return true;
      }
    }
    return ValueInFull(what, out, problem);
  }

  size_t position() const { return pos_; }
  std::string& quoted() { return quoted_; }

 private:
  // Any other field, kept out of line so that the plain cases stay small.
  [[gnu::noinline]] bool WholeInFull(const char* what, int64_t& out, EpwRowProblem& problem) {
    return TakeWhole(NextFieldView(line_, pos_, quoted_, AfterQuote::Consume), what, out,
                     problem);
  }
  [[gnu::noinline]] bool ValueInFull(const char* what, float& out, EpwRowProblem& problem) {
    return TakeValue(NextFieldView(line_, pos_, quoted_, AfterQuote::Consume), what, out,
                     problem);
  }

  // The first character of the next field, null past the end of the line.
  const char* Start() const { return pos_ <= line_.size() ? line_.data() + pos_ - 1 : nullptr; }
  const char* End() const { return line_.data() + line_.size(); }
  // A number that stops at a delimiter or at the end of the line is the whole field.
  bool Ends(const char* stop) const {
    return stop != nullptr && (stop == End() || text_fields_detail::IsDelimiter(*stop));
  }
  // On to the field after the one ending at stop, as NextFieldView moves on.
  void MovePast(const char* stop) { pos_ = static_cast<size_t>(stop - line_.data()) + 2; }

  std::string_view line_;
  size_t pos_ = 1;  // 1-based, as NextFieldView keeps it
  std::string quoted_;  // only a field in double quotes is copied
};

}  // namespace

bool ParseEpwRow(std::string_view line, const EpwOptions& options, EpwRow& row,
                 EpwRowProblem& problem) {
  RowFields fields(line);
  fields.Skip();  // 1: year
  if (!fields.Whole("month", row.month, problem)) return false;
  if (!fields.Whole("day", row.day, problem)) return false;
  if (!fields.Whole("hour", row.hour, problem)) return false;
  fields.Skip();  // 5: minute
  fields.Skip();  // 6: data source and uncertainty flags
  if (!fields.Value("dry bulb", row.dryBulbC, problem)) return false;
  if (options.useRelHum) {
    fields.Skip();
    if (!fields.Value("relative humidity", row.moisture, problem)) return false;
  } else {
    if (!fields.Value("dew point", row.moisture, problem)) return false;
    fields.Skip();
  }
  for (int n = 10; n <= 13; ++n) fields.Skip();  // pressure, extraterrestrial and infrared
  if (!fields.Value("global horizontal radiation", row.globalHorizontal, problem)) return false;
  if (options.calcDirectNormal) {
    fields.Skip();
  } else if (!fields.Value("direct normal radiation", row.directNormal, problem)) {
    return false;
  }
  for (int n = 16; n <= 20; ++n) fields.Skip();  // diffuse radiation, illuminances
  if (!fields.Value("wind direction", row.windDirection, problem)) return false;
  if (!fields.Value("wind speed", row.windSpeed, problem)) return false;
  constexpr int kLastTakenField = 22;
  size_t pos = fields.position();
  std::string& quoted = fields.quoted();
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
