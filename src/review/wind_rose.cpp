#include "review/wind_rose.h"

#include <cmath>
#include <cstdint>

#include "format/fixed_text.h"

namespace kestrum {

WindRoseValues RoseValuesFromCounts(const WindSectorCounts& counts) {
  double total = 0.0;
  for (int c : counts) total += c;
  WindRoseValues values;
  for (int k = 0; k < kWindSectors; ++k) {
    values[k] = total >= 1.0 ? counts[k] / total * 100.0 : kEmptyRoseValue;
  }
  return values;
}

WindRoseValues SharesInPercent(const WindRoseValues& values) {
  double total = 0.0;
  for (double v : values) total += v;
  WindRoseValues shares{};
  if (!(total > 0.0)) return shares;
  for (int k = 0; k < kWindSectors; ++k) shares[k] = values[k] / total * 100.0;
  return shares;
}

std::string PercentText(double value) { return FormatFixed(value, 0, 2); }

double PixelDistance(int cx, int cy, int x, int y) {
  const int64_t dx = cx - x;
  const int64_t dy = cy - y;
  return std::sqrt(static_cast<double>(dx * dx + dy * dy));
}

}  // namespace kestrum
