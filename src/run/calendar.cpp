#include "run/calendar.h"

namespace kestrum {

namespace {

// Days of the year before the first of month. Months outside 1..12 run on into the
// neighbouring years (0 is the December before, 13 the January after), so a bad month
// gives an hour outside 1..8760 instead of landing on a date inside the year.
int DaysBefore(int month) {
  if (month < 1) return -31;
  if (month <= 12) return DaysBeforeMonth[month];
  return 365 * ((month - 1) / 12) + DaysBeforeMonth[(month - 1) % 12 + 1];
}

}  // namespace

int YearDay(int month, int day) { return DaysBefore(month) + day; }

int32_t HourOfYear(uint16_t month, uint16_t day, uint16_t hour) {
  return (DaysBefore(month) + static_cast<int32_t>(day) - 1) * 24 + static_cast<int32_t>(hour);
}

CalendarHour SplitHourOfYear(int32_t h) {
  int32_t hour = h % 24;
  if (hour == 0) {
    hour = 24;
    h -= 1;
  }
  const int32_t d = h / 24 + 1;
  int month = 12;
  while (month > 1 && DaysBeforeMonth[month] >= d) --month;
  CalendarHour out;
  out.month = static_cast<uint16_t>(month);
  out.day = static_cast<uint16_t>(d - DaysBeforeMonth[month]);
  out.hour = static_cast<uint16_t>(hour);
  return out;
}

}  // namespace kestrum
