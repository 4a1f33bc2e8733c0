#include "format/fixed_text.h"

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
  const int64_t whole = static_cast<int64_t>(q);  // the floor: 0 <= q < 2^63
  const double frac = q - static_cast<double>(whole);  // exact
  bool up = false;
  if (frac >= 0.25) {
    const double t = frac - 0.5;  // exact (Sterbenz)
    up = t >= -e;                 // t + e >= 0 on exact values
  }
  n = static_cast<uint64_t>(whole) + (up ? 1u : 0u);
  return true;
}

// Appends the text [first, end) right-aligned in `width` characters. first lies inside the
// buffer that starts at bufferStart: the blanks are put in front of the text in that
// buffer while there is room, so the usual field goes to out in one piece.
void AppendRightAligned(std::string& out, char* bufferStart, char* first, char* end, int width) {
  const size_t len = static_cast<size_t>(end - first);
  size_t pad = static_cast<int>(len) < width ? static_cast<size_t>(width) - len : 0;
  while (pad > 0 && first > bufferStart) {
    *--first = ' ';
    --pad;
  }
  if (pad > 0) out.append(pad, ' ');
  out.append(first, static_cast<size_t>(end - first));
}

// Writes the decimal digits of n backwards so that the last one lies just before end;
// returns the first digit.
char* WriteDigitsBackwards(char* end, uint64_t n) {
  do {
    *--end = static_cast<char>('0' + n % 10);
    n /= 10;
  } while (n != 0);
  return end;
}

}  // namespace

void AppendFixed(std::string& out, double v, int width, int decimals) {
  if (!std::isfinite(v)) throw RunError("A value that is not a finite number cannot be written");
  if (decimals < 0 || decimals > 11) decimals = decimals < 0 ? 0 : 11;
  // Room for the padding of every field of the system's files, the sign, 19 digits and
  // the point.
  char buf[48];
  char* const end = buf + sizeof buf;
  uint64_t n = 0;
  if (!ScaledMagnitude(v, decimals, n)) {
    // Far beyond any width of the system's files: plain correctly rounded text, which
    // can run to more than 300 characters.
    const int len = std::snprintf(nullptr, 0, "%.*f", decimals, v);
    std::string text(static_cast<size_t>(len) + 1, '\0');
    std::snprintf(text.data(), text.size(), "%.*f", decimals, v);
    text.pop_back();
    if (len < width) out.append(static_cast<size_t>(width - len), ' ');
    out += text;
    return;
  }
  // The text is built backwards from its last decimal: n = 1234 with 2 decimals gives
  // "12.34", n = 5 gives "0.05" (at least one digit before the point).
  const bool negative = n != 0 && v < 0;  // no minus sign on a value that rounds to zero
  char* p = end;
  for (int k = 0; k < decimals; ++k) {
    *--p = static_cast<char>('0' + n % 10);
    n /= 10;
  }
  if (decimals > 0) *--p = '.';
  p = WriteDigitsBackwards(p, n);
  if (negative) *--p = '-';
  AppendRightAligned(out, buf, p, end, width);
}

std::string FormatFixed(double v, int width, int decimals) {
  std::string out;
  AppendFixed(out, v, width, decimals);
  return out;
}

void AppendInt(std::string& out, int64_t v, int width) {
  char buf[32];
  char* const end = buf + sizeof buf;
  // The magnitude as unsigned, so that the most negative value has one too.
  const uint64_t magnitude = v < 0 ? 0 - static_cast<uint64_t>(v) : static_cast<uint64_t>(v);
  char* p = WriteDigitsBackwards(end, magnitude);
  if (v < 0) *--p = '-';
  AppendRightAligned(out, buf, p, end, width);
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
