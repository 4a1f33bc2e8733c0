#include "csv/csv_date.h"

#include <cmath>

#include "run/calendar.h"
#include "run/text_fields.h"

namespace kestrum {

namespace {

constexpr int64_t kMsPerHour = 3'600'000;
constexpr int64_t kMsPerDay = 24 * kMsPerHour;
// Serial day numbers of 1 January 1970 and of the ends of the years 1..9999.
constexpr int64_t kSerialDayOfUnixEpoch = 25569;
constexpr int64_t kFirstSerialDay = -693593;  // 1 January 1
constexpr int64_t kLastSerialDay = 2958465;   // 31 December 9999

bool IsLeapYear(int64_t y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int DaysInMonthOf(int64_t year, int month) {
  return month == 2 && IsLeapYear(year) ? 29 : DaysInMonth[month];
}

// Days since 1 January 1970 of a date (H. Hinnant's algorithm).
int64_t UnixDayOf(int64_t y, int m, int d) {
  y -= m <= 2 ? 1 : 0;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const int64_t yoe = y - era * 400;
  const int64_t doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
  const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

// Milliseconds of a moment into its day and nearest hour, halves up.
std::optional<SerialHour> RoundToHour(int64_t day, int64_t msOfDay) {
  SerialHour out;
  out.day = day;
  int64_t hour = (msOfDay + kMsPerHour / 2) / kMsPerHour;
  if (hour == 24) {
    hour = 0;
    ++out.day;
  }
  out.hour = static_cast<int>(hour);
  if (out.day < kFirstSerialDay || out.day > kLastSerialDay) return std::nullopt;
  return out;
}

// Exactly `count` digits of text from pos as a number.
bool TakeDigits(std::string_view text, size_t& pos, size_t count, int64_t& value) {
  if (pos + count > text.size()) return false;
  value = 0;
  for (size_t i = 0; i < count; ++i) {
    const char c = text[pos + i];
    if (c < '0' || c > '9') return false;
    value = value * 10 + (c - '0');
  }
  pos += count;
  return true;
}

bool Take(std::string_view text, size_t& pos, char c) {
  if (pos >= text.size() || text[pos] != c) return false;
  ++pos;
  return true;
}

std::string_view Trimmed(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

// A moment of a whole date and a time of day (24:00 allowed, as the end of the day).
std::optional<SerialHour> SerialHourOfMoment(int64_t year, int64_t month, int64_t day,
                                             int64_t hour, int64_t minute, int64_t second,
                                             int64_t ms) {
  if (month < 1 || month > 12 || day < 1 || day > DaysInMonthOf(year, static_cast<int>(month))) {
    return std::nullopt;
  }
  const bool endOfDay = hour == 24 && minute == 0 && second == 0 && ms == 0;  // 24:00
  if ((hour > 23 && !endOfDay) || minute > 59 || second > 59) return std::nullopt;
  const int64_t serialDay =
      UnixDayOf(year, static_cast<int>(month), static_cast<int>(day)) + kSerialDayOfUnixEpoch;
  if (endOfDay) return RoundToHour(serialDay + 1, 0);
  return RoundToHour(serialDay, hour * kMsPerHour + minute * 60'000 + second * 1000 + ms);
}

}  // namespace

int64_t SerialDayOf(int64_t year, int month, int day) {
  return UnixDayOf(year, month, day) + kSerialDayOfUnixEpoch;
}

bool IsDateOf(int64_t year, int64_t month, int64_t day) {
  return month >= 1 && month <= 12 && day >= 1 && day <= DaysInMonthOf(year, static_cast<int>(month));
}

CivilDate DateOfSerialDay(int64_t serialDay) {
  const int64_t z = serialDay - kSerialDayOfUnixEpoch + 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const int64_t doe = z - era * 146097;
  const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int64_t mp = (5 * doy + 2) / 153;
  CivilDate out;
  out.day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  out.month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  out.year = yoe + era * 400 + (out.month <= 2 ? 1 : 0);
  return out;
}

std::optional<SerialHour> SerialHourOf(double serial) {
  if (!std::isfinite(serial) || std::fabs(serial) > static_cast<double>(kLastSerialDay + 1)) {
    return std::nullopt;
  }
  // To the millisecond first, so that a value written with a few decimals fewer than a
  // double holds (14:30 as 0.6041666667) lands where it was meant to.
  const int64_t ms = std::llround(std::fabs(serial) * static_cast<double>(kMsPerDay));
  const int64_t wholeDays = ms / kMsPerDay;
  return RoundToHour(serial < 0 ? -wholeDays : wholeDays, ms % kMsPerDay);
}

std::optional<SerialHour> SerialHourOfIso8601(std::string_view text) {
  text = Trimmed(text);
  size_t pos = 0;
  int64_t year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
  if (!TakeDigits(text, pos, 4, year) || !Take(text, pos, '-') ||
      !TakeDigits(text, pos, 2, month) || !Take(text, pos, '-') ||
      !TakeDigits(text, pos, 2, day)) {
    return std::nullopt;
  }
  if (!(Take(text, pos, 'T') || Take(text, pos, 't') || Take(text, pos, ' '))) return std::nullopt;
  if (!TakeDigits(text, pos, 2, hour) || !Take(text, pos, ':') ||
      !TakeDigits(text, pos, 2, minute)) {
    return std::nullopt;
  }
  int64_t ms = 0;
  if (Take(text, pos, ':')) {
    if (!TakeDigits(text, pos, 2, second)) return std::nullopt;
    if (Take(text, pos, '.')) {
      // The fraction of the second, to the millisecond (further digits only checked).
      int64_t scale = 100;
      const size_t first = pos;
      for (; pos < text.size() && text[pos] >= '0' && text[pos] <= '9'; ++pos) {
        ms += (text[pos] - '0') * scale;
        scale /= 10;
      }
      if (pos == first) return std::nullopt;
    }
  }
  if (pos != text.size()) return std::nullopt;
  return SerialHourOfMoment(year, month, day, hour, minute, second, ms);
}

std::optional<SerialHour> SerialHourOfCompactStamp(std::string_view text) {
  text = Trimmed(text);
  size_t pos = 0;
  int64_t year = 0, month = 0, day = 0, hour = 0, minute = 0;
  if (!TakeDigits(text, pos, 4, year) || !TakeDigits(text, pos, 2, month) ||
      !TakeDigits(text, pos, 2, day) || !Take(text, pos, ':') ||
      !TakeDigits(text, pos, 2, hour) || !TakeDigits(text, pos, 2, minute) ||
      pos != text.size()) {
    return std::nullopt;
  }
  return SerialHourOfMoment(year, month, day, hour, minute, 0, 0);
}

namespace {

std::optional<SerialHour> SerialHourOfDateField(std::string_view text) {
  double serial = 0.0;
  if (ParseReal(text, serial)) return SerialHourOf(serial);
  if (std::optional<SerialHour> iso = SerialHourOfIso8601(text)) return iso;
  return SerialHourOfCompactStamp(text);
}

}  // namespace

std::optional<DateFieldHour> HourOfDateField(std::string_view text, bool stampsBeginning) {
  const std::optional<SerialHour> when = SerialHourOfDateField(text);
  if (!when) return std::nullopt;
  // The day the hour belongs to, and its hour 1..24.
  int64_t day = when->day;
  int hour = when->hour + (stampsBeginning ? 1 : 0);
  if (hour == 0) {
    const CivilDate date = DateOfSerialDay(day);
    if (date.month == 1 && date.day == 1) return DateFieldHour{};  // ends the year before
    --day;
    hour = 24;
  }
  const CivilDate date = DateOfSerialDay(day);
  DateFieldHour out;
  out.leapDay = date.month == 2 && date.day == 29;
  if (!out.leapDay) {
    out.hourOfYear = HourOfYear(static_cast<uint16_t>(date.month), static_cast<uint16_t>(date.day),
                                static_cast<uint16_t>(hour));
  }
  return out;
}

std::optional<int64_t> YearOfDateField(std::string_view text) {
  const std::optional<SerialHour> when = SerialHourOfDateField(text);
  if (!when) return std::nullopt;
  return DateOfSerialDay(when->hour == 0 ? when->day - 1 : when->day).year;
}

std::optional<int32_t> HourOfYearOfDateField(std::string_view text) {
  const std::optional<SerialHour> when = SerialHourOfDateField(text);
  if (!when) return std::nullopt;
  const CivilDate date = DateOfSerialDay(when->day);
  return HourOfYear(static_cast<uint16_t>(date.month), static_cast<uint16_t>(date.day),
                    static_cast<uint16_t>(when->hour));
}

}  // namespace kestrum
