// Fixed-width numbers for the system's text files: rounded on the exact binary value,
// right-aligned, never cut.
#pragma once

#include <cstdint>
#include <string>

namespace kestrum {

// v rounded to `decimals` decimals with halves away from zero (0.125 -> "0.13"),
// right-aligned in `width` characters; a wider value is written in full. A value that
// rounds to zero carries no minus sign. Throws RunError for infinities and NaN.
std::string FormatFixed(double v, int width, int decimals);

// Appends FormatFixed(v, width, decimals) to out (no allocation of its own).
void AppendFixed(std::string& out, double v, int width, int decimals);

// An integer right-aligned in `width` characters (I-format).
void AppendInt(std::string& out, int64_t v, int width);
std::string FormatInt(int64_t v, int width);

// Nearest integer, halves to the even neighbour (for codes: flags, cloud type, sectors).
int64_t RoundHalfEven(double v);

// Nearest integer, halves away from zero, on the exact value.
int64_t RoundHalfAway(double v);

}  // namespace kestrum
