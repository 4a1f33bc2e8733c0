#include "format/fixed_text.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "run/run_error.h"

namespace kestrum {

namespace fixed_digits {

[[noreturn]] void ThrowNotFinite() {
  throw RunError("A value that is not a finite number cannot be written");
}

}  // namespace fixed_digits

void AppendFixed(std::string& out, double v, int width, int decimals) {
  const size_t old = out.size();
  out.resize(old + static_cast<size_t>(width > 0 ? width : 0) + kFieldRoom);
  char* const end = PutFixed(out.data() + old, v, width, decimals);
  if (end != nullptr) {
    out.resize(static_cast<size_t>(end - out.data()));
    return;
  }
  out.resize(old);
  // Far beyond any width of the system's files: plain correctly rounded text, which
  // can run to more than 300 characters.
  if (decimals < 0 || decimals > 11) decimals = decimals < 0 ? 0 : 11;
  const int len = std::snprintf(nullptr, 0, "%.*f", decimals, v);
  std::string text(static_cast<size_t>(len) + 1, '\0');
  std::snprintf(text.data(), text.size(), "%.*f", decimals, v);
  text.pop_back();
  if (len < width) out.append(static_cast<size_t>(width - len), ' ');
  out += text;
}

std::string FormatFixed(double v, int width, int decimals) {
  std::string out;
  AppendFixed(out, v, width, decimals);
  return out;
}

void AppendInt(std::string& out, int64_t v, int width) {
  const size_t old = out.size();
  out.resize(old + static_cast<size_t>(width > 0 ? width : 0) + kFieldRoom);
  char* const end = PutInt(out.data() + old, v, width);
  out.resize(static_cast<size_t>(end - out.data()));
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
  if (!fixed_digits::ScaledMagnitude(v, 0, n)) return static_cast<int64_t>(std::round(v));
  return v < 0 ? -static_cast<int64_t>(n) : static_cast<int64_t>(n);
}

}  // namespace kestrum
