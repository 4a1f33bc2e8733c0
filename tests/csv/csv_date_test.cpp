#include "csv/csv_date.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace kestrum {
namespace {

TEST(DateOfSerialDay, CountsDaysFrom30December1899) {
  const struct {
    int64_t serial;
    int64_t year;
    int month, day;
  } cases[] = {
      {0, 1899, 12, 30},  {2, 1900, 1, 1},     {60, 1900, 2, 28},      {61, 1900, 3, 1},
      {44927, 2023, 1, 1}, {45351, 2024, 2, 29}, {-693593, 1, 1, 1},  {2958465, 9999, 12, 31},
  };
  for (const auto& c : cases) {
    const CivilDate d = DateOfSerialDay(c.serial);
    EXPECT_EQ(d.year, c.year) << c.serial;
    EXPECT_EQ(d.month, c.month) << c.serial;
    EXPECT_EQ(d.day, c.day) << c.serial;
  }
}

// 0 stands for "outside the year" (1 January 0:00 and what rounds to it), -1 for "no date".
TEST(HourOfYearOfDateField, SerialNumbersAndIso8601DatesGiveTheirHourOfTheYear) {
  const struct {
    const char* text;
    int32_t hour;
  } cases[] = {
      {"44927.0416666667", 1},   // 1 January 2023 1:00
      {"44928", 24},             // 2 January 0:00 is hour 24 of 1 January
      {"44927", 0},              // 1 January 0:00 lies before the year
      {"44927.0416", 1},         // 0.9984 of an hour is 1:00, not the hour before
      {"44927.0208333333", 1},   // half past midnight: halves go up
      {"44927.02083", 0},        // a moment before half past stays at 0:00
      {"44927.9861111", 24},     // 23:40 rounds to 0:00 of 2 January
      {"45291.9861111", 0},      // 31 December 23:40 rounds into the next year
      {"45351.5416666667", 1429},  // 29 February 2024 13:00 falls on 1 March
      {" 4.49270416666667E4 ", 1},
      {"-1.25", 8694},           // 29 December 1899 6:00
      {"2958465.5", 8748},       // 31 December 9999 12:00
      {"2023-07-01T14:00", 4358},
      {"2023-07-01 14:00", 4358},
      {" 2023-07-01t14:00:00.000 ", 4358},
      {"2023-07-01T14:29:59.4", 4358},
      {"2023-07-01T14:30", 4359},
      {"2023-07-01T24:00", 4368},
      {"2023-12-31T23:30", 0},
      {"2023-01-01T01:00", 1},
      {"2024-02-29T01:00", 1417},
      {"2023-02-30T01:00", -1},
      {"2023-07-01T25:00", -1},
      {"2023-07-01T24:30", -1},
      {"2023-07-01T14:60", -1},
      {"2023-07-01", -1},
      {"2023-7-1T14:00", -1},
      {"2023-07-01T14:00Z", -1},
      {"7/1/2023 14:00", -1},
      {"abc", -1},
      {"", -1},
      {"2958466", -1},           // past the year 9999
      {"1e300", -1},
  };
  for (const auto& c : cases) {
    const std::optional<int32_t> h = HourOfYearOfDateField(c.text);
    EXPECT_EQ(h.value_or(-1), c.hour) << '"' << c.text << '"';
  }
}

// With the year looked at: which hour a stamp names, by whether it ends or begins its
// hour, and whether that hour belongs to 29 February. -1: no date; "leap": left out.
TEST(HourOfDateField, StampsThatEndOrBeginTheirHourAndTheHoursOf29February) {
  const struct {
    const char* text;
    bool beginning;
    int32_t hour;
    bool leapDay = false;
  } cases[] = {
      {"2023-01-01T01:00", false, 1},
      {"2023-01-01T00:00", false, 0},      // ends the year before
      {"2023-01-02T00:00", false, 24},
      {"2023-03-01T00:00", false, 1416},   // 28 February's hour 24
      {"2024-02-29T00:00", false, 1416},   // 28 February's hour 24 of a leap year
      {"2024-02-29T01:00", false, 0, true},
      {"2024-03-01T00:00", false, 0, true},  // closes 29 February
      {"2024-03-01T01:00", false, 1417},
      {"2023-01-01T00:00", true, 1},
      {"2023-12-31T23:00", true, 8760},
      {"2024-02-29T00:00", true, 0, true},
      {"2024-02-29T23:00", true, 0, true},
      {"2024-03-01T00:00", true, 1417},
      {"44927", true, 1},                  // serial 1 January 2023 0:00
      {"45351.5416666667", false, 0, true},  // 29 February 2024 13:00
      {"abc", true, -1},
      // Compact stamps, as PVGIS writes them (beginning their hour).
      {"20180101:0000", true, 1},
      {"20180101:1200", true, 13},
      {"20161231:2300", true, 8760},
      {"20180101:0100", false, 1},
      {"20200229:0100", true, 0, true},
      {" 20070201:0030 ", true, 746},      // 0:30 rounds up to 1:00, the hour 1:00-2:00
      {"20180101:2400", true, 25},         // 24:00 is the next day's 0:00
      {"20180101:2430", true, -1},
      {"20190229:0000", true, -1},         // no 29 February in 2019
      {"2018011:0000", true, -1},
      {"20180101-0000", true, -1},
      {"20180101:000", true, -1},
  };
  for (const auto& c : cases) {
    const std::optional<DateFieldHour> h = HourOfDateField(c.text, c.beginning);
    EXPECT_EQ(h ? h->hourOfYear : -1, c.hour) << '"' << c.text << '"' << c.beginning;
    EXPECT_EQ(h && h->leapDay, c.leapDay) << '"' << c.text << '"' << c.beginning;
  }
}

}  // namespace
}  // namespace kestrum
