#include "chart/view_range.h"

#include <algorithm>

namespace kestrum::chart {

Span PannedWithin(Span view, double by, Span data) {
  if (view.width() >= data.width()) return view;
  if (view.min + by < data.min) by = data.min - view.min;
  if (view.max + by > data.max) by = data.max - view.max;
  return {view.min + by, view.max + by};
}

Span ZoomedAbout(Span view, double x, double factor, Span data, double minWidth) {
  const double full = data.width();
  const double width = std::clamp(view.width() * factor, std::min(minWidth, full), full);
  x = std::clamp(x, view.min, view.max);
  const double share = view.width() > 0.0 ? (x - view.min) / view.width() : 0.5;
  double min = x - share * width;
  min = std::clamp(min, data.min, data.max - width);
  return {min, min + width};
}

std::optional<double> LowestInView(const std::vector<double>& xs, const std::vector<double>& ys,
                                   double x0, double x1) {
  const auto first = std::lower_bound(xs.begin(), xs.end(), x0);
  const auto last = std::upper_bound(first, xs.end(), x1);
  if (first == last) return std::nullopt;
  const auto from = ys.begin() + (first - xs.begin());
  return *std::min_element(from, from + (last - first));
}

}  // namespace kestrum::chart
