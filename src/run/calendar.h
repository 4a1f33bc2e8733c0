// The 365-day calendar of a run: hours of the year 1..8760, hour 24 ending its day.
#pragma once

#include <array>
#include <cstdint>

namespace kestrum {

// Indexed by month 1..12 (entry 0 unused).
inline constexpr std::array<int, 13> DaysInMonth = {0, 31, 28, 31, 30, 31, 30,
                                                     31, 31, 30, 31, 30, 31};
inline constexpr std::array<int, 13> DaysBeforeMonth = {0, 0, 31, 59, 90, 120, 151,
                                                        181, 212, 243, 273, 304, 334};

struct CalendarHour {
  uint16_t month = 0;  // 1..12
  uint16_t day = 0;    // 1..31
  uint16_t hour = 0;   // 1..24
};

// Day of the year, 1..365. Arguments are not checked.
int YearDay(int month, int day);

// Hour of the year: (DaysBeforeMonth[month] + day - 1) * 24 + hour. Arguments are not
// checked: a month outside 1..12 gives an hour outside 1..8760 (month 0 is the December
// before, 13 the January after); a day beyond the month's length gives a later date;
// hour 0 gives the previous day's hour 24. Callers must check the result before using
// it as a table position.
int32_t HourOfYear(uint16_t month, uint16_t day, uint16_t hour);

// Inverse of HourOfYear for h in 1..8760.
CalendarHour SplitHourOfYear(int32_t h);

}  // namespace kestrum
