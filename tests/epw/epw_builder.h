// Writing small EPW files for the reader tests.
#pragma once

#include <functional>
#include <string>

#include "run/calendar.h"

namespace kestrum::testing {

// The quantities of one data row, in the file's units.
struct EpwValues {
  double dryBulbC = 10.0;
  double dewPointC = 5.0;
  double relHum = 70.0;
  double globalHorizontal = 0.0;
  double directNormal = 0.0;
  double windDirection = 180.0;
  double windSpeed = 2.0;
  int minute = 60;
};

inline std::string Num(double v) {
  std::string s = std::to_string(v);
  while (s.back() == '0') s.pop_back();
  if (s.back() == '.') s.pop_back();
  return s;
}

// A row as the EPW files have it: 35 fields, the present-weather and flag fields included.
inline std::string EpwRowText(int month, int day, int hour, const EpwValues& v) {
  return "1999," + std::to_string(month) + "," + std::to_string(day) + "," +
         std::to_string(hour) + "," + std::to_string(v.minute) +
         ",?9?9?9?9E0?9?9?9?9*9?9?9," + Num(v.dryBulbC) + "," + Num(v.dewPointC) + "," +
         Num(v.relHum) + ",101300,0,0,290," + Num(v.globalHorizontal) + "," +
         Num(v.directNormal) + ",0,0,0,0,0," + Num(v.windDirection) + "," + Num(v.windSpeed) +
         ",2,2,16.0,77777,9,999999999,129,0.1080,0,88,0.160,0.0,1.0";
}

inline std::string EpwHeaderText(const std::string& location =
                                     "LOCATION,Testville,ST,USA,TMY3,123456,40.00,-105.00,-7.0,1600.0") {
  return location + "\r\n" +
         "DESIGN CONDITIONS,0\r\n"
         "TYPICAL/EXTREME PERIODS,0\r\n"
         "GROUND TEMPERATURES,0\r\n"
         "HOLIDAYS/DAYLIGHT SAVINGS,No,0,0,0\r\n"
         "COMMENTS 1,Made for a test\r\n"
         "COMMENTS 2,\r\n"
         "DATA PERIODS,1,1,Data,Sunday, 1/ 1,12/31\r\n";
}

// A whole 365-day file; values(h) gives the row of hour of year h.
inline std::string EpwYearText(const std::function<EpwValues(int)>& values) {
  std::string text = EpwHeaderText();
  for (int h = 1; h <= 8760; ++h) {
    const CalendarHour t = SplitHourOfYear(h);
    text += EpwRowText(t.month, t.day, t.hour, values(h)) + "\r\n";
  }
  return text;
}

}  // namespace kestrum::testing
