// Building CSV field map and small CSV files for the reader tests.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "csv/csv_field_map.h"
#include "run/calendar.h"

namespace kestrum::testing {

// A field map with the given choices and slot assignments (in layout order).
inline CsvFieldMap MakeFieldMap(int32_t dateInd, int32_t moistInd, int32_t solarInd,
                             const std::vector<std::string>& columns, int32_t firstRow = 1) {
  CsvFieldMap fieldMap;
  fieldMap.dateInd = dateInd;
  fieldMap.moistInd = moistInd;
  fieldMap.solarInd = solarInd;
  fieldMap.firstRow = firstRow;
  for (size_t i = 0; i < columns.size() && i < fieldMap.columns.size(); ++i) {
    fieldMap.columns[i] = columns[i];
  }
  return fieldMap;
}

// The lines of a whole year, one per hour of year h, joined with `end`.
inline std::string YearLines(const std::function<std::string(int)>& row,
                             const std::string& end = "\n") {
  std::string text;
  for (int h = 1; h <= 8760; ++h) text += row(h) + end;
  return text;
}

// "m,d,h" of hour of year h, hours 1..24.
inline std::string MonthDayHour(int h) {
  const CalendarHour t = SplitHourOfYear(h);
  return std::to_string(t.month) + "," + std::to_string(t.day) + "," + std::to_string(t.hour);
}

}  // namespace kestrum::testing
