#include "format/sun_alignment.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "format/solar_position.h"
#include "run/hourly_table.h"

namespace kestrum {

namespace {

constexpr int kShifts = 2 * kMaxSunShiftHours + 1;

// Sum of x[i] * y[i] for i < n, in four running sums that the processor can add side by
// side (one sum would wait for each addition before the next).
double Dot(const double* x, const double* y, size_t n) {
  double s0 = 0.0, s1 = 0.0, s2 = 0.0, s3 = 0.0;
  size_t i = 0;
  for (; i + 4 <= n; i += 4) {
    s0 += x[i] * y[i];
    s1 += x[i + 1] * y[i + 1];
    s2 += x[i + 2] * y[i + 2];
    s3 += x[i + 3] * y[i + 3];
  }
  for (; i < n; ++i) s0 += x[i] * y[i];
  return (s0 + s1) + (s2 + s3);
}

// Sum of a[i] * b[(i + k) mod n] for i < n, in two straight runs instead of a remainder
// per term.
double RotatedDot(const double* a, const double* b, size_t n, int k) {
  const auto size = static_cast<int>(n);
  const auto s = static_cast<size_t>(((k % size) + size) % size);
  return Dot(a, b + s, n - s) + Dot(a + (n - s), b, s);
}

}  // namespace

void HourlySunHeights(double latitude, double longitudeWest, double timeZone,
                      std::span<double> cosZenith) {
  for (int day = 1; day <= kHoursPerYear / 24; ++day) {
    const SolarDay sun = SolarDayAt(day, latitude);
    for (int hour = 1; hour <= 24; ++hour) {
      cosZenith[static_cast<size_t>((day - 1) * 24 + hour - 1)] =
          HourlyCosZenith(sun, hour, longitudeWest, timeZone);
    }
  }
}

void ShiftCorrelations(std::span<const double> a, std::span<const double> b,
                       std::span<const bool> counted, int maxShift,
                       std::span<double> correlations) {
  // Over the counted places S, with w the 0/1 weight of a place and a' = w (a - mean a):
  // sum (a - mean a)(b' - mean b') = a' . rot_k(b), and the spread of the b' that pair
  // with S is w . rot_k(b^2) - (w . rot_k(b))^2 / |S|. With every place counted, the b
  // that pair with S are all of b whatever the shift.
  const size_t n = a.size();
  const bool all = counted.empty() ||
                   std::find(counted.begin(), counted.end(), false) == counted.end();
  const auto counts = [&](size_t i) { return all || counted[i]; };
  double count = 0.0, meanA = 0.0;
  for (size_t i = 0; i < n; ++i) {
    if (counts(i)) {
      count += 1.0;
      meanA += a[i];
    }
  }
  if (count > 0.0) meanA /= count;
  std::vector<double> ac(n, 0.0);
  double spreadA = 0.0;
  for (size_t i = 0; i < n; ++i) {
    if (counts(i)) {
      ac[i] = a[i] - meanA;
      spreadA += ac[i] * ac[i];
    }
  }
  std::vector<double> w, bb;
  double sumB = 0.0, squaresB = 0.0;
  if (all) {
    for (double v : b) {
      sumB += v;
      squaresB += v * v;
    }
  } else {
    w.resize(n);
    bb.resize(n);
    for (size_t i = 0; i < n; ++i) {
      w[i] = counted[i] ? 1.0 : 0.0;
      bb[i] = b[i] * b[i];
    }
  }
  for (int k = -maxShift; k <= maxShift; ++k) {
    if (!all) {
      sumB = RotatedDot(w.data(), b.data(), n, k);
      squaresB = RotatedDot(w.data(), bb.data(), n, k);
    }
    const double spreadB = count > 0.0 ? squaresB - sumB * sumB / count : 0.0;
    const double norm = std::sqrt(spreadA * spreadB);
    correlations[static_cast<size_t>(k + maxShift)] =
        norm > 0.0 ? RotatedDot(ac.data(), b.data(), n, k) / norm : 0.0;
  }
}

std::optional<SunAlignment> AlignWithSun(std::span<const float> globalWm2, double latitude,
                                         double longitudeWest, double timeZone,
                                         std::span<const bool> measured) {
  constexpr auto kHours = static_cast<size_t>(kHoursPerYear);
  if (globalWm2.size() != kHours || (!measured.empty() && measured.size() != kHours)) {
    return std::nullopt;
  }
  if (!measured.empty() && std::count(measured.begin(), measured.end(), true) < kMinSunHours) {
    return std::nullopt;
  }
  std::vector<double> global(globalWm2.begin(), globalWm2.end());
  std::vector<double> sun(global.size());
  HourlySunHeights(latitude, longitudeWest, timeZone, sun);

  // One shift beyond each end, so that the best shift always has two neighbours.
  constexpr int kReach = kMaxSunShiftHours + 1;
  std::array<double, kShifts + 2> r{};
  ShiftCorrelations(global, sun, measured, kReach, r);

  size_t best = 1;
  for (size_t i = 2; i <= kShifts; ++i) {
    if (r[i] > r[best]) best = i;
  }
  if (!(r[best] >= kMinSunCorrelation)) return std::nullopt;

  SunAlignment a;
  a.correlation = r[best];
  const int whole = static_cast<int>(best) - kReach;
  const double below = r[best - 1], at = r[best], above = r[best + 1];
  const double bend = below - 2.0 * at + above;  // < 0 at a peak
  const double vertex = bend < 0.0 ? 0.5 * (below - above) / bend : 0.0;  // within -0.5..0.5
  a.exactShiftHours = whole + vertex;
  const int rounded = static_cast<int>(std::lround(a.exactShiftHours));
  a.shiftHours = std::max(-kMaxSunShiftHours, std::min(kMaxSunShiftHours, rounded));
  return a;
}

double LongitudeTimeZone(double longitude) { return longitude / 15.0; }

bool TimeZoneFarFromLongitude(double timeZone, double longitude) {
  return std::fabs(timeZone - LongitudeTimeZone(longitude)) > 3.0;
}

}  // namespace kestrum
