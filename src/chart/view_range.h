// The arithmetic of moving and zooming a chart's horizontal range over its data: pans that
// stop at the data's ends, wheel zooms about a point, and the lowest value in view.
#pragma once

#include <optional>
#include <vector>

namespace kestrum::chart {

struct Span {
  double min = 0.0;
  double max = 1.0;
  double width() const { return max - min; }
};

// The view after moving it by `by` (in data units), stopped at the ends of data: it never
// shows less of the data than it did. A view at least as wide as the data does not move.
Span PannedWithin(Span view, double by, Span data);

// The view after scaling its width by factor (below 1 zooms in) about x, which stays at the
// same place in the view. The width stays between minWidth and the data's width and the
// view within the data.
Span ZoomedAbout(Span view, double x, double factor, Span data, double minWidth);

// The lowest y of the points whose x lies in [x0, x1] (xs ascending); none when no point
// does.
std::optional<double> LowestInView(const std::vector<double>& xs, const std::vector<double>& ys,
                                   double x0, double x1);

}  // namespace kestrum::chart
