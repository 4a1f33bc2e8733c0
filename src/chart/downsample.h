// Which points of a long series to draw: where several points fall on one pixel column,
// the first, the lowest, the highest and the last of them draw the same line.
#pragma once

#include <cstddef>
#include <span>
#include <vector>

namespace kestrum::chart {

// Indices, ascending, of the points of (xs, ys) to draw for the x range [x0, x1] spread
// over `columns` pixel columns. xs must be ascending. The nearest point outside each end
// is included so that the line runs to the edges. All points in range when they are few.
std::vector<size_t> PointsToDraw(std::span<const double> xs, std::span<const double> ys,
                                 double x0, double x1, int columns);

}  // namespace kestrum::chart
