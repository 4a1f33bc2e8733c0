// The arithmetic of the wind direction profile: the rose's sector values, the percentage
// column, and rescaling a sector by dragging it.
#pragma once

#include <array>
#include <string>

#include "review/wind_sectors.h"

namespace kestrum {

using WindRoseValues = std::array<double, kWindSectors>;

// The value every sector gets when no hour was counted.
inline constexpr double kEmptyRoseValue = 547.0;

// Each sector's share of all counted hours in percent; 547 for every sector when fewer
// than one hour was counted.
WindRoseValues RoseValuesFromCounts(const WindSectorCounts& counts);

// Each value as a percentage of the sum of all values (all 0 when the sum is not positive).
WindRoseValues SharesInPercent(const WindRoseValues& values);

// A value as the grid shows it: fixed-point with two decimals ("547.00").
std::string PercentText(double value);

// The distance in pixels from the centre (cx, cy) to (x, y); the squares are summed as
// integers.
double PixelDistance(int cx, int cy, int x, int y);

// The value of a sector picked at distance d0 from the centre and released at d1.
inline double RescaledValue(double value, double d0, double d1) { return value * d1 / d0; }

}  // namespace kestrum
