#include "review/wind_sectors.h"

#include <cmath>
#include <fstream>

#include "epw/text_lines.h"
#include "format/fixed_text.h"
#include "run/run_error.h"
#include "run/text_fields.h"

namespace kestrum {

const std::array<const char*, kWindSectors> kWindSectorNames = {
    "North", "NNE", "NE", "ENE", "East", "ESE", "SE", "SSE",
    "South", "SSW", "SW", "WSW", "West", "WNW", "NW", "NNW"};

std::optional<int> WindSectorOf(double degrees) {
  if (!(degrees >= 0.0 && degrees <= 360.0)) return std::nullopt;
  const long r = std::lrint(degrees + 11.25);  // default rounding: halves to even
  const long s = (r * 10) / 225;
  return static_cast<int>(s % kWindSectors);
}

std::optional<int> WindSectorOfText(std::string_view text) {
  double d = 0.0;
  if (!ParseReal(text, d)) return std::nullopt;
  return WindSectorOf(d);
}

WindSectorCounts CountWindSectors(const std::string& path, int column) {
  WindSectorCounts counts{};
  TextLineReader lines(path);
  std::string line;
  std::string quoted;
  for (int i = 0; i < 2 && lines.Next(line); ++i) {
  }
  while (lines.Next(line)) {
    size_t pos = 1;
    std::string_view field;
    for (int i = 0; i < column; ++i) field = NextFieldView(line, pos, quoted);
    if (const std::optional<int> s = WindSectorOfText(field)) ++counts[*s];
  }
  return counts;
}

void WriteWindSectorTable(const std::string& path, const WindSectorCounts& counts) {
  double total = 0.0;
  for (int c : counts) total += c;
  std::string text = "Sector,Hours,Percent\r\n";
  for (int k = 0; k < kWindSectors; ++k) {
    const double percent = total >= 1.0 ? counts[k] / total * 100.0 : 0.0;
    text += std::string(kWindSectorNames[k]) + "," + std::to_string(counts[k]) + "," +
            FormatFixed(percent, 0, 2) + "\r\n";
  }
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << text;
  out.close();
  if (!out) throw RunError("Cannot write " + path);
}

}  // namespace kestrum
