#include "ftpack/ft_text.h"

#include <algorithm>
#include <utility>

namespace kestrum::ftpack {

namespace {

constexpr std::array<int, 13> kDaysBeforeMonth = {0,   0,   31,  59,  90,  120, 151,
                                                  181, 212, 243, 273, 304, 334};

size_t FieldLength(FieldFormat f) { return static_cast<size_t>(f.width) + (f.point ? 1 : 0); }

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

constexpr std::array<int, 13> kDaysInMonth = {0, 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

// Month, day and hour of the hours of the year one after the other: what CalendarOfHour
// gives for 1, 2, 3, ... without its search through the months.
class HourCalendar {
 public:
  int month = 1, day = 1, hour = 1;
  void Advance() {
    if (++hour <= 24) return;
    hour = 1;
    if (++day <= kDaysInMonth[month]) return;
    day = 1;
    ++month;
  }
  bool Matches(const FtHourFields& rec) const {
    return rec[kMonth] == month && rec[kDay] == day && rec[kHour] == hour;
  }
};

// ParseField on the FieldLength(f) characters at text. Inlined where f is a constant, so
// that the checks of a whole record fold into straight code.
[[gnu::always_inline]] inline bool ParseFieldChars(const char* text, FieldFormat f,
                                                   int32_t& scaled) {
  if (f.width <= 0 || f.width > 9) return false;
  const size_t n = static_cast<size_t>(f.width);
  if (f.point && text[n] != '.') return false;
  size_t i = 0;
  while (i < n && text[i] == ' ') ++i;
  bool negative = false;
  if (i < n && text[i] == '-') {
    negative = true;
    ++i;
  }
  const size_t firstDigit = i;
  int64_t v = 0;
  while (i < n && IsDigit(text[i])) {
    v = v * 10 + (text[i] - '0');
    ++i;
  }
  const size_t wholeDigits = i - firstDigit;
  if (wholeDigits == 0) return false;
  if (f.decimals > 0) {
    if (i >= n || text[i] != '.') return false;
    ++i;
    for (int k = 0; k < f.decimals; ++k) {
      if (i >= n || !IsDigit(text[i])) return false;
      v = v * 10 + (text[i] - '0');
      ++i;
    }
  }
  if (i != n) return false;
  // Only the writer's own form is accepted: right-aligned (checked above), no leading
  // zeros ("029.9", but "0.5" is fine), no "-0" and no sign on zero.
  if (wholeDigits > 1 && text[firstDigit] == '0') return false;
  if (negative && v == 0) return false;
  // At most 9 characters: the value fits an int32_t.
  scaled = static_cast<int32_t>(negative ? -v : v);
  return true;
}

[[gnu::always_inline]] inline bool FitsFieldInline(int32_t scaled, FieldFormat f) {
  // Whether the text AppendField writes fits f.width, without writing it: the text has at
  // least decimals + 1 digits, a point when there are decimals and a sign when negative, so
  // a field holds values up to 10^room - 1 in size, room being the width less point and sign.
  const int point = f.decimals > 0 ? 1 : 0;
  const int room = f.width - point - (scaled < 0 ? 1 : 0);
  if (room < f.decimals + 1) return false;
  if (room >= 10) return true;  // every int32_t has at most 10 digits
  static constexpr int64_t kLargest[] = {0,      9,       99,       999,       9999,
                                         99999,  999999,  9999999,  99999999,  999999999};
  const int64_t magnitude = scaled < 0 ? -static_cast<int64_t>(scaled) : scaled;
  return magnitude <= kLargest[room];
}

// Where each field of an hourly record starts.
constexpr auto kHourFieldStarts = [] {
  std::array<size_t, kHourFieldCount + 1> starts{};
  for (int f = 0; f < kHourFieldCount; ++f) {
    starts[f + 1] = starts[f] + static_cast<size_t>(kHourFieldFormats[f].width) +
                    (kHourFieldFormats[f].point ? 1 : 0);
  }
  return starts;
}();
static_assert(kHourFieldStarts[kHourFieldCount] == kFtRecordWidth);

// Every field of the record at text (kFtRecordWidth characters) read into rec; false at
// the first that does not read (rec is then partly filled).
template <size_t... I>
bool ParseRecordFields(const char* text, FtHourFields& rec, std::index_sequence<I...>) {
  return (ParseFieldChars(text + kHourFieldStarts[I], kHourFieldFormats[I], rec[I]) && ...);
}

template <size_t... I>
bool RecordFits(const FtHourFields& rec, std::index_sequence<I...>) {
  return (FitsFieldInline(rec[I], kHourFieldFormats[I]) && ...);
}

constexpr auto kEveryHourField = std::make_index_sequence<kHourFieldCount>();

// A line for a message: at most 90 characters, control characters shown as '?'.
std::string Shown(std::string_view line) {
  std::string shown(line.substr(0, 90));
  for (char& c : shown) {
    if (static_cast<unsigned char>(c) < 0x20) c = '?';
  }
  if (line.size() > 90) shown += "...";
  return "\"" + shown + "\"";
}

std::string LineLabel(int lineNo) { return "line " + std::to_string(lineNo); }

// Splits the text into lines that each end with CR LF.
class LineReader {
 public:
  enum class Next { Line, End, Unterminated };

  explicit LineReader(std::string_view text) : text_(text) {}

  Next Read(std::string_view& line) {
    if (pos_ >= text_.size()) return Next::End;
    ++lineNo_;
    const size_t end = text_.find("\r\n", pos_);
    if (end == std::string_view::npos) {
      line = text_.substr(pos_);
      pos_ = text_.size();
      return Next::Unterminated;
    }
    line = text_.substr(pos_, end - pos_);
    pos_ = end + 2;
    return Next::Line;
  }

  // The next `width` characters when CR LF follows them, else null. Read gives the same
  // line when none of them is a CR.
  const char* PeekLineOf(size_t width) const {
    if (pos_ > text_.size() || text_.size() - pos_ < width + 2) return nullptr;
    const char* const line = text_.data() + pos_;
    return line[width] == '\r' && line[width + 1] == '\n' ? line : nullptr;
  }
  // Moves past the line PeekLineOf(width) gave.
  void SkipLineOf(size_t width) {
    ++lineNo_;
    pos_ += width + 2;
  }

  int lineNo() const { return lineNo_; }

 private:
  std::string_view text_;
  size_t pos_ = 0;
  int lineNo_ = 0;
};

bool HasLineBreak(std::string_view text) {
  return text.find('\r') != std::string_view::npos || text.find('\n') != std::string_view::npos;
}

// Why the field of format f at column `at` (0-based) of line lineNo was refused.
std::string FieldProblem(std::string_view line, size_t at, FieldFormat f, int lineNo) {
  const size_t len = FieldLength(f);
  return LineLabel(lineNo) + ", columns " + std::to_string(at + 1) + "-" +
         std::to_string(at + len) + ": " + Shown(line.substr(at, len)) + " is not a number of " +
         std::to_string(f.width) + " characters with " + std::to_string(f.decimals) + " decimals";
}

// Reads `count` consecutive fields of format f starting at column `start` (0-based).
bool ParseRun(std::string_view line, size_t start, FieldFormat f, int32_t* values, int count,
              std::string& reason, int lineNo) {
  const size_t len = FieldLength(f);
  for (int i = 0; i < count; ++i) {
    const size_t at = start + static_cast<size_t>(i) * len;
    if (!ParseField(line.substr(at, len), f, values[i])) {
      reason = FieldProblem(line, at, f, lineNo);
      return false;
    }
  }
  return true;
}

FtParseResult Fail(FtStatus status, std::string reason) {
  return FtParseResult{status, std::move(reason)};
}

std::string WrongLength(int lineNo, std::string_view what, std::string_view line, size_t width) {
  return LineLabel(lineNo) + " (" + std::string(what) + ") has " + std::to_string(line.size()) +
         " characters instead of " + std::to_string(width) + ": " + Shown(line);
}

FtParseResult ParseHeader(LineReader& reader, FtData& data) {
  std::string_view line;
  const char* names[3] = {"site line", "monthly factors", "ground temperatures"};
  for (int n = 0; n < 3; ++n) {
    const LineReader::Next next = reader.Read(line);
    if (next == LineReader::Next::End) {
      return Fail(FtStatus::BadHeader,
                  "the file ends before its " + std::string(names[n]) + " (line " +
                      std::to_string(n + 1) + ")");
    }
    if (next == LineReader::Next::Unterminated) {
      return Fail(FtStatus::BadHeader, LineLabel(reader.lineNo()) + " (" + names[n] +
                                           ") has no CR LF line end: " + Shown(line));
    }
    std::string reason;
    if (n == 0) {
      if (line.size() != kFtSiteLineWidth) {
        return Fail(FtStatus::BadHeader, WrongLength(1, names[0], line, kFtSiteLineWidth));
      }
      const std::string_view description = line.substr(0, kFtDescriptionWidth);
      if (HasLineBreak(description)) {
        return Fail(FtStatus::BadHeader, "line 1: the description holds a line break");
      }
      std::copy(description.begin(), description.end(), data.site.description.begin());
      size_t at = kFtDescriptionWidth;
      const struct {
        FieldFormat format;
        int32_t* value;
      } fields[] = {{kLatitudeFormat, &data.site.latitude},
                    {kLongitudeFormat, &data.site.westLongitude},
                    {kTimeZoneFormat, &data.site.westTimeZone},
                    {kSiteCodeFormat, &data.site.siteCode}};
      for (const auto& field : fields) {
        if (!ParseRun(line, at, field.format, field.value, 1, reason, 1)) {
          return Fail(FtStatus::BadHeader, reason);
        }
        at += FieldLength(field.format);
      }
    } else {
      if (line.size() != kFtMonthlyLineWidth) {
        return Fail(FtStatus::BadHeader, WrongLength(n + 1, names[n], line, kFtMonthlyLineWidth));
      }
      const bool factors = n == 1;
      if (!ParseRun(line, 0, factors ? kMonthFactorFormat : kGroundTempFormat,
                    factors ? data.monthFactors.data() : data.groundTemps.data(), 12, reason,
                    n + 1)) {
        return Fail(FtStatus::BadHeader, reason);
      }
    }
  }
  return {};
}

FtParseResult ParseHours(LineReader& reader, FtData& data) {
  data.hours.assign(kFtHours, FtHourFields{});
  std::string_view line;
  HourCalendar calendar;
  for (int h = 1; h <= kFtHours; ++h, calendar.Advance()) {
    FtHourFields& rec = data.hours[static_cast<size_t>(h - 1)];
    // A record as the FT writer makes it, the usual case: its fields hold only digits,
    // blanks, points and minus signs, so the line ends at the CR LF after its 78
    // characters, exactly as Read would end it.
    if (const char* text = reader.PeekLineOf(kFtRecordWidth);
        text != nullptr && ParseRecordFields(text, rec, kEveryHourField) && calendar.Matches(rec)) {
      reader.SkipLineOf(kFtRecordWidth);
      continue;
    }
    rec = FtHourFields{};  // as it was: the reading below fills what it reads, as ever
    const LineReader::Next next = reader.Read(line);
    if (next == LineReader::Next::End) {
      return Fail(FtStatus::BadHours, "the file ends after " + std::to_string(h - 1) +
                                          " hourly records; " + std::to_string(kFtHours) +
                                          " are needed");
    }
    const int lineNo = reader.lineNo();
    if (next == LineReader::Next::Unterminated) {
      return Fail(FtStatus::BadHours,
                  LineLabel(lineNo) + " has no CR LF line end: " + Shown(line));
    }
    if (line.size() != kFtRecordWidth) {
      return Fail(FtStatus::BadHours, WrongLength(lineNo, "hourly record", line, kFtRecordWidth));
    }
    size_t at = 0;
    for (int f = 0; f < kHourFieldCount; ++f) {
      const FieldFormat format = kHourFieldFormats[f];
      if (!ParseField(line.substr(at, FieldLength(format)), format, rec[f])) {
        return Fail(FtStatus::BadHours, FieldProblem(line, at, format, lineNo));
      }
      at += FieldLength(format);
    }
    int month = 0, day = 0, hour = 0;
    CalendarOfHour(h, month, day, hour);
    if (rec[kMonth] != month || rec[kDay] != day || rec[kHour] != hour) {
      return Fail(FtStatus::BadHours,
                  LineLabel(lineNo) + ": record " + std::to_string(h) + " should be month " +
                      std::to_string(month) + " day " + std::to_string(day) + " hour " +
                      std::to_string(hour) + ": " + Shown(line));
    }
  }
  if (reader.Read(line) != LineReader::Next::End) {
    return Fail(FtStatus::BadHours, "text follows the last hourly record on " +
                                        LineLabel(reader.lineNo()) + ": " + Shown(line));
  }
  return {};
}

}  // namespace

bool FitsField(int32_t scaled, FieldFormat f) { return FitsFieldInline(scaled, f); }

bool AppendField(std::string& out, int32_t scaled, FieldFormat f) {
  // The number is written from its last digit backwards into the end of text.
  char text[40];
  char* const end = text + sizeof text;
  char* p = end;
  const int64_t v = scaled;
  uint64_t magnitude = static_cast<uint64_t>(v < 0 ? -v : v);
  for (int k = 0; k < f.decimals; ++k) {
    *--p = static_cast<char>('0' + magnitude % 10);
    magnitude /= 10;
  }
  if (f.decimals > 0) *--p = '.';
  // At least one digit before the point: 5 with two decimals is "0.05".
  do {
    *--p = static_cast<char>('0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude != 0);
  if (v < 0) *--p = '-';
  const size_t len = static_cast<size_t>(end - p);
  const size_t width = static_cast<size_t>(f.width);
  if (len < width) out.append(width - len, ' ');
  out.append(p, len);
  if (f.point) out += '.';
  return len <= width;
}

bool ParseField(std::string_view text, FieldFormat f, int32_t& scaled) {
  if (f.width <= 0 || f.width > 9 || text.size() != FieldLength(f)) return false;
  return ParseFieldChars(text.data(), f, scaled);
}

FtParseResult ParseFtText(std::string_view text, FtData& data) {
  LineReader reader(text);
  FtParseResult header = ParseHeader(reader, data);
  if (!header.ok()) return header;
  return ParseHours(reader, data);
}

std::string PrintFtText(const FtData& data) {
  std::string out;
  out.reserve(kFtSiteLineWidth + 2 + 2 * (kFtMonthlyLineWidth + 2) +
              static_cast<size_t>(kFtHours) * (kFtRecordWidth + 2));
  out.append(data.site.description.data(), data.site.description.size());
  AppendField(out, data.site.latitude, kLatitudeFormat);
  AppendField(out, data.site.westLongitude, kLongitudeFormat);
  AppendField(out, data.site.westTimeZone, kTimeZoneFormat);
  AppendField(out, data.site.siteCode, kSiteCodeFormat);
  out += "\r\n";
  for (int32_t v : data.monthFactors) AppendField(out, v, kMonthFactorFormat);
  out += "\r\n";
  for (int32_t v : data.groundTemps) AppendField(out, v, kGroundTempFormat);
  out += "\r\n";
  for (const FtHourFields& rec : data.hours) {
    for (int f = 0; f < kHourFieldCount; ++f) AppendField(out, rec[f], kHourFieldFormats[f]);
    out += "\r\n";
  }
  return out;
}

std::string CheckFtData(const FtData& data) {
  const std::string_view description(data.site.description.data(), data.site.description.size());
  if (HasLineBreak(description)) return "the description holds a line break";
  if (!FitsField(data.site.latitude, kLatitudeFormat)) {
    return "the latitude does not fit its field";
  }
  if (!FitsField(data.site.westLongitude, kLongitudeFormat)) {
    return "the longitude does not fit its field";
  }
  if (!FitsField(data.site.westTimeZone, kTimeZoneFormat)) {
    return "the time zone does not fit its field";
  }
  if (!FitsField(data.site.siteCode, kSiteCodeFormat)) {
    return "the site code does not fit its field";
  }
  for (int m = 0; m < 12; ++m) {
    if (!FitsField(data.monthFactors[m], kMonthFactorFormat)) {
      return "monthly factor " + std::to_string(m + 1) + " does not fit its field";
    }
    if (!FitsField(data.groundTemps[m], kGroundTempFormat)) {
      return "ground temperature " + std::to_string(m + 1) + " does not fit its field";
    }
  }
  if (data.hours.size() != static_cast<size_t>(kFtHours)) {
    return std::to_string(data.hours.size()) + " hourly records instead of " +
           std::to_string(kFtHours);
  }
  HourCalendar calendar;
  for (int h = 1; h <= kFtHours; ++h, calendar.Advance()) {
    const FtHourFields& rec = data.hours[static_cast<size_t>(h - 1)];
    if (!calendar.Matches(rec)) {
      return "hourly record " + std::to_string(h) + " carries the wrong date";
    }
    if (RecordFits(rec, kEveryHourField)) continue;
    for (int f = 0; f < kHourFieldCount; ++f) {
      if (!FitsField(rec[f], kHourFieldFormats[f])) {
        return "field " + std::to_string(f + 1) + " of hourly record " + std::to_string(h) +
               " does not fit its field";
      }
    }
  }
  return {};
}

void CalendarOfHour(int h, int& month, int& day, int& hour) {
  hour = h % 24;
  if (hour == 0) {
    hour = 24;
    h -= 1;
  }
  const int dayOfYear = h / 24 + 1;
  month = 12;
  while (month > 1 && kDaysBeforeMonth[month] >= dayOfYear) --month;
  day = dayOfYear - kDaysBeforeMonth[month];
}

}  // namespace kestrum::ftpack
