// The one-field date of a CSV row: a date-time serial number (days since 30 December 1899,
// the fraction the time of day), an ISO 8601 date and time, or a compact stamp
// YYYYMMDD:HHMM, as a day and an hour.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace kestrum {

// A moment rounded to its nearest whole hour: the day as a serial day number (0 is
// 30 December 1899) and the hour of that day, 0..23.
struct SerialHour {
  int64_t day = 0;
  int hour = 0;
};

struct CivilDate {
  int64_t year = 0;
  int month = 0;  // 1..12
  int day = 0;    // 1..31
};

// The date of a serial day number (proleptic Gregorian calendar).
CivilDate DateOfSerialDay(int64_t serialDay);

// The serial day number of a date (proleptic Gregorian calendar); a day past its month's
// end runs on into the next month.
int64_t SerialDayOf(int64_t year, int month, int day);

// Whether the month and day are a date of that year (29 February of a leap year is).
bool IsDateOf(int64_t year, int64_t month, int64_t day);

// A serial date-time value first rounded to the millisecond, then its time of day to the
// nearest whole hour, halves up; a time that rounds to 24:00 is hour 0 of the next day.
// A negative value counts its fraction as the time of day of the day its whole part names.
// Nothing for values outside the years 1..9999.
std::optional<SerialHour> SerialHourOf(double serial);

// "YYYY-MM-DDTHH:MM" or "YYYY-MM-DD HH:MM", optionally with ":SS" and a decimal fraction of
// the second, blanks around it allowed ("T" in either case), rounded to the hour as above.
// Nothing for any other text or an impossible date or time (30 February, 25:00).
std::optional<SerialHour> SerialHourOfIso8601(std::string_view text);

// "YYYYMMDD:HHMM" (20180101:0000, the stamps of PVGIS files), blanks around it allowed,
// rounded to the hour as above (it is one already unless its minutes are not 00). Nothing
// for any other text or an impossible date or time.
std::optional<SerialHour> SerialHourOfCompactStamp(std::string_view text);

// The hour of the 365-day year of a one-field date: the text read as a serial number, or
// failing that as an ISO 8601 date and time or a compact stamp; the year is ignored. Hour 0 of a day is hour
// 24 of the day before, so 1 January 0:00 gives 0, and 29 February falls on 1 March.
// Nothing when the text is neither.
std::optional<int32_t> HourOfYearOfDateField(std::string_view text);

// The year of the day whose hour a one-field date gives (hour 0 belongs to the day before,
// so 1 January 0:00 gives the year before); nothing when the text is no date.
std::optional<int64_t> YearOfDateField(std::string_view text);
// The hour a one-field date stamps: its hour of the 365-day year, 0 when that lies outside
// 1..8760, or that the hour belongs to 29 February, which a 365-day year has no room for.
struct DateFieldHour {
  int32_t hourOfYear = 0;
  bool leapDay = false;
};

// Like HourOfYearOfDateField, with the year looked at for 29 February. When a stamp ends
// its hour (stampsBeginning false), 0:00 is hour 24 of the day before, so that 1 March 0:00
// of a leap year closes 29 February; 1 January 0:00 lies outside the year. When a stamp
// begins its hour, 0:00 is hour 1 of its day and 23:00 hour 24.
std::optional<DateFieldHour> HourOfDateField(std::string_view text, bool stampsBeginning);

// The accepted forms, for error messages.
inline constexpr const char* kCsvDateForms =
    "a date-time serial number (days since 30 December 1899, the fraction the time of day, "
    "e.g. 45108.5833), an ISO 8601 date and time (2023-07-01T14:00 or 2023-07-01 14:00) or "
    "a compact stamp (20230701:1400)";

}  // namespace kestrum
