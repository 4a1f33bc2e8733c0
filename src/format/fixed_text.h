// Fixed-width numbers for the system's text files: rounded on the exact binary value,
// right-aligned, never cut.
#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>

#include "format/fixed_digits.h"

namespace kestrum {

// v rounded to `decimals` decimals with halves away from zero (0.125 -> "0.13"),
// right-aligned in `width` characters; a wider value is written in full. A value that
// rounds to zero carries no minus sign. Throws RunError for infinities and NaN.
std::string FormatFixed(double v, int width, int decimals);

// Appends FormatFixed(v, width, decimals) to out.
void AppendFixed(std::string& out, double v, int width, int decimals);

// An integer right-aligned in `width` characters (I-format).
void AppendInt(std::string& out, int64_t v, int width);
std::string FormatInt(int64_t v, int width);

// Bytes of room, beyond `width`, that PutFixed and PutInt need at p.
inline constexpr size_t kFieldRoom = 48;

// Writes FormatFixed(v, width, decimals) at p and returns the end of what it wrote; p
// must have width + kFieldRoom bytes of room, some of which may be overwritten beyond
// the end. Returns nullptr, writing nothing, for a value whose text would not fit there
// (|v| * 10^decimals of 9e18 or more): AppendFixed writes those. Throws RunError for
// infinities and NaN.
inline char* PutFixed(char* p, double v, int width, int decimals);

// Writes FormatInt(v, width) at p with the same room rule; returns the end.
inline char* PutInt(char* p, int64_t v, int width);

// Nearest integer, halves to the even neighbour (for codes: flags, cloud type, sectors).
int64_t RoundHalfEven(double v);

// Nearest integer, halves away from zero, on the exact value.
int64_t RoundHalfAway(double v);

[[gnu::always_inline]] inline char* PutFixed(char* p, double v, int width, int decimals) {
  if (!std::isfinite(v)) fixed_digits::ThrowNotFinite();
  if (decimals < 0 || decimals > 11) decimals = decimals < 0 ? 0 : 11;
  uint64_t n = 0;
  if (!fixed_digits::ScaledMagnitude(v, decimals, n)) return nullptr;
  const bool negative = n != 0 && v < 0;  // no minus sign on a value that rounds to zero
  switch (decimals) {
    case 0: return fixed_digits::PutScaled<0>(p, n, negative, width);
    case 1: return fixed_digits::PutScaled<1>(p, n, negative, width);
    case 2: return fixed_digits::PutScaled<2>(p, n, negative, width);
    case 3: return fixed_digits::PutScaled<3>(p, n, negative, width);
    case 4: return fixed_digits::PutScaled<4>(p, n, negative, width);
    case 5: return fixed_digits::PutScaled<5>(p, n, negative, width);
    case 6: return fixed_digits::PutScaled<6>(p, n, negative, width);
    case 7: return fixed_digits::PutScaled<7>(p, n, negative, width);
    case 8: return fixed_digits::PutScaled<8>(p, n, negative, width);
    case 9: return fixed_digits::PutScaled<9>(p, n, negative, width);
    case 10: return fixed_digits::PutScaled<10>(p, n, negative, width);
    default: return fixed_digits::PutScaled<11>(p, n, negative, width);
  }
}

inline char* PutInt(char* p, int64_t v, int width) {
  // The magnitude as unsigned, so that the most negative value has one too.
  const uint64_t n = v < 0 ? 0 - static_cast<uint64_t>(v) : static_cast<uint64_t>(v);
  return fixed_digits::PutScaled<0>(p, n, v < 0, width);
}

}  // namespace kestrum
