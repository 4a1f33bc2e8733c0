// The parts of the fixed-width writers (fixed_text.h): exact rounding of a scaled value and
// its digits written two at a time, inline so that a field of constant decimals compiles
// to its own straight code.
#pragma once

#include <bit>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace kestrum {

namespace fixed_digits {

[[noreturn]] void ThrowNotFinite();

inline constexpr double kPow10[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9, 1e10, 1e11};

inline constexpr uint64_t kPow10Whole[] = {1ull,
                                    10ull,
                                    100ull,
                                    1000ull,
                                    10000ull,
                                    100000ull,
                                    1000000ull,
                                    10000000ull,
                                    100000000ull,
                                    1000000000ull,
                                    10000000000ull,
                                    100000000000ull,
                                    1000000000000ull,
                                    10000000000000ull,
                                    100000000000000ull,
                                    1000000000000000ull,
                                    10000000000000000ull,
                                    100000000000000000ull,
                                    1000000000000000000ull,
                                    10000000000000000000ull};

// "00" "01" ... "99": two digits at a time.
inline constexpr char kDigitPairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

inline constexpr char kBlanks[] = "                ";  // 16

// |v| * 10^decimals rounded to an integer, halves away from zero, decided on the exact
// product: q + e == |v| * 10^d exactly (e from a fused multiply-add).
inline bool ScaledMagnitude(double v, int decimals, uint64_t& n) {
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

// Decimal digits of x, at least one.
inline int DigitCount(uint64_t x) {
  // x | 1 keeps 0 at one digit and changes no comparison with an even power of ten.
  const uint64_t y = x | 1;
  const int t = static_cast<int>((std::bit_width(y) * 1233) >> 12);  // floor of log10, or one below
  return t + (y >= kPow10Whole[t] ? 1 : 0);
}

// Blanks over [p, p + count); at least 16 bytes of room at p.
inline void PutBlanks(char* p, int count) {
  if (count <= 16) [[likely]] {
    std::memcpy(p, kBlanks, 16);
  } else {
    std::memset(p, ' ', static_cast<size_t>(count));
  }
}

// The digits of n written backwards so that they end at `end`; at least one digit.
inline char* PutWholeBackwards(char* end, uint64_t n) {
  while (n >= 100) {
    end -= 2;
    std::memcpy(end, kDigitPairs + 2 * (n % 100), 2);
    n /= 100;
  }
  if (n >= 10) {
    end -= 2;
    std::memcpy(end, kDigitPairs + 2 * n, 2);
  } else {
    *--end = static_cast<char>('0' + n);
  }
  return end;
}

// Exactly D digits of n (< 10^D) written backwards so that they end at `end`.
template <int D>
char* PutDecimalsBackwards(char* end, uint64_t n) {
  for (int k = D; k >= 2; k -= 2) {
    end -= 2;
    std::memcpy(end, kDigitPairs + 2 * (n % 100), 2);
    n /= 100;
  }
  if constexpr (D % 2 == 1) *--end = static_cast<char>('0' + n);
  return end;
}

// The text of n / 10^D with D decimals, a leading minus when `negative`, right-aligned in
// `width`, at p; returns its end. The divisions are by constants.
template <int D>
char* PutScaled(char* p, uint64_t n, bool negative, int width) {
  constexpr uint64_t scale = kPow10Whole[D];
  const uint64_t whole = n / scale;
  // The usual field fits its width: it then ends at p + width whatever its digits, so the
  // next field's place is known before these digits are (the writes of a row overlap).
  const int wholeRoom = width - (negative ? 1 : 0) - (D > 0 ? D + 1 : 0);
  char* end;
  if (wholeRoom >= 1 && wholeRoom <= 19 && whole < kPow10Whole[wholeRoom]) [[likely]] {
    PutBlanks(p, width);
    end = p + width;
  } else {
    const int len = (negative ? 1 : 0) + DigitCount(whole) + (D > 0 ? D + 1 : 0);
    const int pad = width > len ? width - len : 0;
    PutBlanks(p, pad);
    end = p + pad + len;
  }
  char* first = end;
  if constexpr (D > 0) {
    first = PutDecimalsBackwards<D>(first, n - whole * scale);
    *--first = '.';
  }
  first = PutWholeBackwards(first, whole);
  if (negative) first[-1] = '-';
  return end;
}

}  // namespace fixed_digits

}  // namespace kestrum
