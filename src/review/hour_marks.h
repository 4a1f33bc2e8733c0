// Hours of a charted series: the date of a point, the first hour of each month, and the
// hours a run repaired.
#pragma once

#include <array>
#include <string>
#include <vector>

namespace kestrum {

// The date and hour of the point at position x of a review series (0 is hour 1 of the
// year, 1 January 01:00): "Jul 14 15:00". Hour 24 ends its day ("Jan 1 24:00"). Empty
// outside the year.
std::string HourLabel(int position);

// The first hour of a month as a position of a review series, and the month's short name.
struct MonthStart {
  int position = 0;
  const char* name = "";
};

// January at 0, February at 744, March at 1416, ... December at 8016.
const std::array<MonthStart, 12>& MonthStarts();

// The decimals a column of the final-data file is written with (2 for the temperatures
// and relative humidity, 6 for the humidity ratio, 1 for radiation, 0 for wind).
int FinalColumnDecimals(int column);

// The positions where the original and the final value differ by more than the rounding of
// the final file (half a unit of its last decimal), over the hours both series have.
std::vector<int> RepairedHours(const std::vector<double>& original,
                               const std::vector<double>& final, int finalDecimals);

}  // namespace kestrum
