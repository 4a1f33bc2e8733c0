#include "chart/downsample.h"

#include <algorithm>
#include <cmath>

namespace kestrum::chart {

std::vector<size_t> PointsToDraw(std::span<const double> xs, std::span<const double> ys,
                                 double x0, double x1, int columns) {
  std::vector<size_t> out;
  const size_t n = std::min(xs.size(), ys.size());
  if (n == 0) return out;
  size_t first = static_cast<size_t>(std::lower_bound(xs.begin(), xs.begin() + n, x0) - xs.begin());
  size_t last = static_cast<size_t>(std::upper_bound(xs.begin(), xs.begin() + n, x1) - xs.begin());
  if (first > 0) --first;
  if (last < n) ++last;  // one past the nearest point after x1
  if (first >= last) return out;
  columns = std::max(1, columns);
  if (last - first <= static_cast<size_t>(columns) * 4 || !(x1 > x0)) {
    out.resize(last - first);
    for (size_t i = first; i < last; ++i) out[i - first] = i;
    return out;
  }
  out.reserve(static_cast<size_t>(columns) * 4 + 4);
  const double perColumn = columns / (x1 - x0);
  auto columnOf = [&](size_t i) {
    return static_cast<long>(std::floor((xs[i] - x0) * perColumn));
  };
  size_t i = first;
  while (i < last) {
    const long column = columnOf(i);
    const size_t start = i;
    size_t lowest = i, highest = i;
    for (++i; i < last && columnOf(i) == column; ++i) {
      if (ys[i] < ys[lowest]) lowest = i;
      if (ys[i] > ys[highest]) highest = i;
    }
    size_t picks[4] = {start, std::min(lowest, highest), std::max(lowest, highest), i - 1};
    for (size_t p : picks) {
      if (out.empty() || out.back() < p) out.push_back(p);
    }
  }
  return out;
}

}  // namespace kestrum::chart
