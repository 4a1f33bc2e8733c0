// Hours of a charted series: the date of a point, and the hours a run repaired.
#pragma once

#include <string>
#include <vector>

namespace kestrum {

// The date and hour of the point at position x of a review series (0 is hour 1 of the
// year, 1 January 01:00): "Jul 14 15:00". Hour 24 ends its day ("Jan 1 24:00"). Empty
// outside the year.
std::string HourLabel(int position);

// The decimals a column of the final-data file is written with (2 for the temperatures
// and relative humidity, 6 for the humidity ratio, 1 for radiation, 0 for wind).
int FinalColumnDecimals(int column);

// The positions where the original and the final value differ by more than the rounding of
// the final file (half a unit of its last decimal), over the hours both series have.
std::vector<int> RepairedHours(const std::vector<double>& original,
                               const std::vector<double>& final, int finalDecimals);

}  // namespace kestrum
