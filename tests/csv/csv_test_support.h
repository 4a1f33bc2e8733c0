// Building CSV field specifications and small CSV files for the reader tests.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "csv/csv_spec.h"
#include "run/calendar.h"

namespace kestrum::testing {

// A specification with the given choices and slot assignments (in layout order).
inline CsvFieldSpec MakeSpec(int32_t dateInd, int32_t moistInd, int32_t solarInd,
                             const std::vector<std::string>& columns, int32_t firstRow = 1) {
  CsvFieldSpec spec;
  spec.dateInd = dateInd;
  spec.moistInd = moistInd;
  spec.solarInd = solarInd;
  spec.firstRow = firstRow;
  for (size_t i = 0; i < columns.size() && i < spec.columns.size(); ++i) {
    spec.columns[i] = columns[i];
  }
  return spec;
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
