#include "run/calendar.h"

#include <gtest/gtest.h>

namespace kestrum {
namespace {

TEST(Calendar, HourOfYearOfKnownDates) {
  EXPECT_EQ(HourOfYear(1, 1, 1), 1);
  EXPECT_EQ(HourOfYear(12, 31, 24), 8760);
  EXPECT_EQ(HourOfYear(3, 1, 1), 1417);  // February has 28 days
  EXPECT_EQ(HourOfYear(2, 28, 24), 1416);
  EXPECT_EQ(HourOfYear(1, 2, 0), 24);    // hour 0 is the previous day's hour 24
  EXPECT_EQ(YearDay(3, 1), 60);
  EXPECT_EQ(YearDay(12, 31), 365);
}

TEST(Calendar, SplitHourOfYearPutsHour24OnTheDayItEnds) {
  const CalendarHour a = SplitHourOfYear(24);
  EXPECT_EQ(a.month, 1);
  EXPECT_EQ(a.day, 1);
  EXPECT_EQ(a.hour, 24);
  const CalendarHour b = SplitHourOfYear(25);
  EXPECT_EQ(b.month, 1);
  EXPECT_EQ(b.day, 2);
  EXPECT_EQ(b.hour, 1);
  const CalendarHour c = SplitHourOfYear(8760);
  EXPECT_EQ(c.month, 12);
  EXPECT_EQ(c.day, 31);
  EXPECT_EQ(c.hour, 24);
}

TEST(Calendar, SplitIsTheInverseOfHourOfYearForEveryHour) {
  for (int32_t h = 1; h <= 8760; ++h) {
    const CalendarHour t = SplitHourOfYear(h);
    ASSERT_GE(t.day, 1);
    ASSERT_LE(t.day, DaysInMonth[t.month]);
    ASSERT_EQ(HourOfYear(t.month, t.day, t.hour), h) << "hour " << h;
  }
}

TEST(Calendar, MonthsOutsideTheYearGiveHoursOutsideTheTable) {
  EXPECT_LE(HourOfYear(0, 31, 24), 0);
  EXPECT_GT(HourOfYear(13, 1, 1), 8760);
  EXPECT_GT(HourOfYear(65535, 1, 1), 8760);
  EXPECT_EQ(HourOfYear(1, 1, 0), 0);
  EXPECT_EQ(HourOfYear(12, 32, 1), 8761);  // a date past 31 December
}

}  // namespace
}  // namespace kestrum
