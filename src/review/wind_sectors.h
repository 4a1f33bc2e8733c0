// Hours per wind-direction sector: sixteen sectors of 22.5 degrees, clockwise from North.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace kestrum {

inline constexpr int kWindSectors = 16;

// Hour counts per sector: 0 North, 1 NNE, ... 15 NNW.
using WindSectorCounts = std::array<int, kWindSectors>;

// "North", "NNE", "NE", ... "NNW".
extern const std::array<const char*, kWindSectors> kWindSectorNames;

// The sector of direction d (degrees): R = d + 11.25 rounded to the nearest integer with
// halves to even, s = (R * 10) div 225, and 16 is sector 0. None outside 0..360.
std::optional<int> WindSectorOf(double degrees);

// The sector of a direction field's text; none when it is not a number.
std::optional<int> WindSectorOfText(std::string_view text);

// Counts the directions in field `column` (1-based) of every line after the two header
// lines of a review file (12 in the final-data file, 8 in the original-data file). Texts
// that are not numbers and directions outside 0..360 are not counted. Throws InputError
// when the file cannot be read.
WindSectorCounts CountWindSectors(const std::string& path, int column);

// Writes the sector table: a header line "Sector,Hours,Percent", then one line per sector
// with its name, its count and its share of all counted hours in percent with two
// decimals (0.00 when nothing was counted), CR LF line ends. Throws RunError when the file
// cannot be written.
void WriteWindSectorTable(const std::string& path, const WindSectorCounts& counts);

}  // namespace kestrum
