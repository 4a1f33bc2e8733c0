#include "format/fixed_text.h"

#include <charconv>
#include <cmath>
#include <cstdio>

#include "run/run_error.h"

namespace kestrum {

namespace {

constexpr double kPow10[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9, 1e10, 1e11};

// |v| * 10^decimals rounded to an integer, halves away from zero, decided on the exact
// product: q + e == |v| * 10^d exactly (e from a fused multiply-add).
bool ScaledMagnitude(double v, int decimals, uint64_t& n) {
  const double a = std::fabs(v);
  const double scale = kPow10[decimals];
  const double q = a * scale;
  if (!(q < 9.0e18)) return false;
  const double e = std::fma(a, scale, -q);
  const double whole = std::floor(q);
  const double frac = q - whole;  // exact
  bool up = false;
  if (frac >= 0.25) {
    const double t = frac - 0.5;  // exact (Sterbenz)
    up = t >= -e;                 // t + e >= 0 on exact values
  }
  n = static_cast<uint64_t>(whole) + (up ? 1u : 0u);
  return true;
}

void AppendPadded(std::string& out, const char* text, size_t len, int width) {
  if (static_cast<int>(len) < width) out.append(static_cast<size_t>(width) - len, ' ');
  out.append(text, len);
}

}  // namespace

void AppendFixed(std::string& out, double v, int width, int decimals) {
  if (!std::isfinite(v)) throw RunError("A value that is not a finite number cannot be written");
  if (decimals < 0 || decimals > 11) decimals = decimals < 0 ? 0 : 11;
  char buf[48];
  uint64_t n = 0;
  if (!ScaledMagnitude(v, decimals, n)) {
    // Far beyond any width of the system's files: plain correctly rounded text.
    const int len = std::snprintf(buf, sizeof buf, "%.*f", decimals, v);
    AppendPadded(out, buf, static_cast<size_t>(len), width);
    return;
  }
  char digits[24];
  auto res = std::to_chars(digits, digits + sizeof digits, n);
  size_t nd = static_cast<size_t>(res.ptr - digits);
  size_t len = 0;
  if (n != 0 && v < 0) buf[len++] = '-';
  const size_t d = static_cast<size_t>(decimals);
  // At least one digit before the point.
  if (nd <= d) {
    buf[len++] = '0';
    if (d > 0) buf[len++] = '.';
    for (size_t i = nd; i < d; ++i) buf[len++] = '0';
    for (size_t i = 0; i < nd; ++i) buf[len++] = digits[i];
  } else {
    for (size_t i = 0; i < nd - d; ++i) buf[len++] = digits[i];
    if (d > 0) {
      buf[len++] = '.';
      for (size_t i = nd - d; i < nd; ++i) buf[len++] = digits[i];
    }
  }
  AppendPadded(out, buf, len, width);
}

std::string FormatFixed(double v, int width, int decimals) {
  std::string out;
  AppendFixed(out, v, width, decimals);
  return out;
}

void AppendInt(std::string& out, int64_t v, int width) {
  char buf[24];
  auto res = std::to_chars(buf, buf + sizeof buf, v);
  AppendPadded(out, buf, static_cast<size_t>(res.ptr - buf), width);
}

std::string FormatInt(int64_t v, int width) {
  std::string out;
  AppendInt(out, v, width);
  return out;
}

int64_t RoundHalfEven(double v) {
  if (!std::isfinite(v)) throw RunError("A value that is not a finite number cannot be rounded");
  return static_cast<int64_t>(std::nearbyint(v));
}

int64_t RoundHalfAway(double v) {
  if (!std::isfinite(v)) throw RunError("A value that is not a finite number cannot be rounded");
  uint64_t n = 0;
  if (!ScaledMagnitude(v, 0, n)) return static_cast<int64_t>(std::round(v));
  return v < 0 ? -static_cast<int64_t>(n) : static_cast<int64_t>(n);
}

}  // namespace kestrum
