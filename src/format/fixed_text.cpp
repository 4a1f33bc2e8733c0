#include "format/fixed_text.h"

#include <cmath>
#include <cstdio>
#include <cstring>

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
  const int64_t whole = static_cast<int64_t>(q);  // the floor: 0 <= q < 2^63
  const double frac = q - static_cast<double>(whole);  // exact
  // Up when frac + e >= 0.5, judged only for frac >= 0.25: t = frac - 0.5 is then exact
  // (Sterbenz). The error e is at most half an ulp of q, below q * 2^-53, so a t farther
  // from zero than q * 2^-52 decides by its sign alone (a frac below 0.25 then gives a t
  // below zero); only the rare t closer to zero needs e. This keeps the usual case free
  // of branches on the fraction, which is as good as random.
  const double t = frac - 0.5;
  bool up;
  if (std::fabs(t) > q * 0x1p-52) [[likely]] {
    up = t > 0;
  } else {
    up = frac >= 0.25 && t >= -std::fma(a, scale, -q);  // t + e >= 0 on exact values
  }
  n = static_cast<uint64_t>(whole) + (up ? 1u : 0u);
  return true;
}

// A number's text, built backwards from its last character at the end of a buffer that
// starts out blank: the blanks of a right-aligned field are then already in front of it,
// and the usual field goes to the output in one piece.
class BackwardsText {
 public:
  BackwardsText() { std::memset(buf_, ' ', sizeof buf_); }

  void Put(char c) { *--first_ = c; }

  // The decimal digits of n, at least one.
  void PutDigits(uint64_t n) {
    do {
      Put(static_cast<char>('0' + n % 10));
      n /= 10;
    } while (n != 0);
  }

  // Appends the text right-aligned in `width` characters; a longer text is written whole.
  void AppendTo(std::string& out, int width) const {
    const size_t len = static_cast<size_t>(end() - first_);
    const size_t pad = static_cast<int>(len) < width ? static_cast<size_t>(width) - len : 0;
    if (pad <= static_cast<size_t>(first_ - buf_)) {
      out.append(first_ - pad, pad + len);
    } else {
      out.append(pad, ' ');
      out.append(first_, len);
    }
  }

 private:
  const char* end() const { return buf_ + sizeof buf_; }

  // Room for the padding of every field of the system's files, a sign, 20 digits and a
  // point.
  char buf_[48];
  char* first_ = buf_ + sizeof buf_;
};

}  // namespace

void AppendFixed(std::string& out, double v, int width, int decimals) {
  if (!std::isfinite(v)) throw RunError("A value that is not a finite number cannot be written");
  if (decimals < 0 || decimals > 11) decimals = decimals < 0 ? 0 : 11;
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
  // From the last decimal backwards: n = 1234 with 2 decimals gives "12.34", n = 5 gives
  // "0.05" (at least one digit before the point).
  const bool negative = n != 0 && v < 0;  // no minus sign on a value that rounds to zero
  BackwardsText text;
  for (int k = 0; k < decimals; ++k) {
    text.Put(static_cast<char>('0' + n % 10));
    n /= 10;
  }
  if (decimals > 0) text.Put('.');
  text.PutDigits(n);
  if (negative) text.Put('-');
  text.AppendTo(out, width);
}

std::string FormatFixed(double v, int width, int decimals) {
  std::string out;
  AppendFixed(out, v, width, decimals);
  return out;
}

void AppendInt(std::string& out, int64_t v, int width) {
  BackwardsText text;
  // The magnitude as unsigned, so that the most negative value has one too.
  text.PutDigits(v < 0 ? 0 - static_cast<uint64_t>(v) : static_cast<uint64_t>(v));
  if (v < 0) text.Put('-');
  text.AppendTo(out, width);
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
