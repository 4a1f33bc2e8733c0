// The pictures of the HTML run report, drawn as inline SVG: pure functions from the year's
// values (already in the report's units) to SVG text. No script, no font or file from
// elsewhere; every element a test may count carries a class of its own.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace kestrum {

// A month's minimum, mean and maximum of one quantity; hours 0: nothing to draw.
struct MonthRange {
  int hours = 0;
  double min = 0;
  double mean = 0;
  double max = 0;
};
using MonthRanges = std::array<MonthRange, 12>;

// Per month a bar from the minimum to the maximum with the mean marked, as read
// (class "read") and as converted (class "conv") side by side; each mean a line of class
// "mean". A month without values has no bar.
std::string MonthlyRangeSvg(const MonthRanges& read, const MonthRanges& converted,
                            const std::string& title, const std::string& unit);

// Per month one bar of each series (class "bar s0", "bar s1", ...), side by side; a series
// may be empty (not drawn, not in the legend).
struct MonthlySeries {
  std::string name;
  std::vector<double> values;  // 12 values, or none
};
std::string MonthlySumsSvg(std::span<const MonthlySeries> series, const std::string& title,
                           const std::string& unit);

enum class HeatPalette { Temperature, Radiation };

// The year as a grid of days (365 columns) by hours (24 rows, hour 1 at the top), each hour
// coloured by its value (8760 values, index h - 1) on one of kHeatLevels colours between
// the year's lowest and highest value: one path of class "cells" per colour used, made of
// one horizontal run ("M day hour h days") per stretch of neighbouring days of that colour.
inline constexpr int kHeatLevels = 16;
std::string YearHeatMapSvg(std::span<const float> values, HeatPalette palette,
                           const std::string& title, const std::string& unit);

// One row of the repair strip: the bit of the hourly marks it shows and its name.
struct StripRow {
  std::string name;
  uint8_t bit = 0;
  int hours = 0;  // hours marked, shown beside the name
};

// The year as a strip per row (hour 1 on the left, 8760 on the right), each stretch of
// marked hours drawn as a run of class "marks" (at least one pixel wide, so a single hour
// shows); a row without marks says "none".
std::string RepairStripSvg(std::span<const uint8_t> marks, std::span<const StripRow> rows);

// The wind rose: sixteen sectors (North up, clockwise), each petal stacked by speed class,
// its length the share of all hours; rings with their percentages. Hours whose speed is
// below classes[0] are calm: counted apart and said in the middle, not drawn in a petal.
// Speeds in the unit named; directions in degrees (hours outside 0..360 not counted).
// Petals are paths of class "petal c<k>" (k the speed class), rings circles of class "ring".
std::string WindRoseSvg(std::span<const float> speed, std::span<const float> directionDeg,
                        const std::array<double, 5>& classes, const std::string& unit);

// The lowest and the step of a value axis with about `ticks` round steps over lo..hi.
struct AxisSteps {
  double lo = 0;
  double hi = 1;
  double step = 1;
};
AxisSteps NiceAxis(double lo, double hi, int ticks);

}  // namespace kestrum
