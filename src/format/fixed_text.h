// Fixed-width numbers for the system's text files: rounded on the exact binary value,
// right-aligned, never cut.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

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
char* PutFixed(char* p, double v, int width, int decimals);

// Writes FormatInt(v, width) at p with the same room rule; returns the end.
char* PutInt(char* p, int64_t v, int width);

// Nearest integer, halves to the even neighbour (for codes: flags, cloud type, sectors).
int64_t RoundHalfEven(double v);

// Nearest integer, halves away from zero, on the exact value.
int64_t RoundHalfAway(double v);

}  // namespace kestrum
