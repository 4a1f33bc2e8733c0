#include "chart/axis_scale.h"

#include <algorithm>
#include <cmath>

namespace kestrum::chart {

double NiceStep(double span, int maxSteps) {
  maxSteps = std::max(1, maxSteps);
  if (!(span > 0.0) || !std::isfinite(span)) return 1.0;
  const double raw = span / maxSteps;
  const double power = std::pow(10.0, std::floor(std::log10(raw)));
  for (double m : {1.0, 2.0, 5.0, 10.0}) {
    if (m * power >= raw * (1.0 - 1e-12)) return m * power;
  }
  return 10.0 * power;
}

int DecimalsForStep(double step) {
  if (!(step > 0.0) || step >= 1.0) return 0;
  return std::clamp(static_cast<int>(std::ceil(-std::log10(step) - 1e-9)), 0, 12);
}

AxisScale AutoScale(double lo, double hi, int maxSteps, bool roundEnds) {
  AxisScale s;
  if (!std::isfinite(lo) || !std::isfinite(hi)) return s;
  if (hi < lo) std::swap(lo, hi);
  if (hi == lo) {
    const double half = lo == 0.0 ? 1.0 : std::fabs(lo) * 0.1;
    lo -= half;
    hi += half;
  }
  s.step = NiceStep(hi - lo, maxSteps);
  if (roundEnds) {
    lo = std::floor(lo / s.step + 1e-9) * s.step;
    hi = std::ceil(hi / s.step - 1e-9) * s.step;
  }
  s.min = lo;
  s.max = hi;
  s.decimals = DecimalsForStep(s.step);
  return s;
}

}  // namespace kestrum::chart
