// The fixed-width writer against a slow reference that rounds the exact decimal expansion
// of the binary value, over many values of the kinds the system's files hold.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <random>
#include <string>

#include "format/fixed_text.h"

namespace kestrum {
namespace {

// v rounded to `decimals` decimals with halves away from zero, decided on the digits of
// its exact decimal expansion (every double has one of at most 1074 decimals).
std::string ExactReference(double v, int width, int decimals) {
  std::string digits(1500, '\0');
  const int n = std::snprintf(digits.data(), digits.size(), "%.1100f", std::fabs(v));
  digits.resize(static_cast<size_t>(n));
  const size_t point = digits.find('.');
  std::string kept = digits.substr(0, point) + digits.substr(point + 1, decimals);
  if (digits[point + 1 + decimals] >= '5') {  // the first digit dropped
    int i = static_cast<int>(kept.size()) - 1;
    while (i >= 0 && kept[i] == '9') kept[i--] = '0';
    if (i < 0) {
      kept.insert(kept.begin(), '1');
    } else {
      ++kept[i];
    }
  }
  const size_t whole = kept.size() - decimals;
  std::string text = kept.substr(0, whole);
  if (decimals > 0) text += "." + kept.substr(whole);
  if (std::signbit(v) && kept.find_first_not_of('0') != std::string::npos) text = "-" + text;
  if (static_cast<int>(text.size()) < width) text.insert(0, width - text.size(), ' ');
  return text;
}

TEST(FormatFixedExact, AgreesWithTheExactDecimalExpansion) {
  std::mt19937_64 random(20240611);
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  std::uniform_int_distribution<int> decimalsOf(0, 6);
  int checked = 0;
  for (int i = 0; i < 40000; ++i) {
    const int decimals = decimalsOf(random);
    const double scale = std::pow(10.0, decimals);
    // Magnitudes from 1e-4 to 1e7, about evenly over the decades.
    double v = std::pow(10.0, -4.0 + 11.0 * unit(random));
    switch (i % 4) {
      case 0: break;
      case 1: v = static_cast<float>(v); break;  // as stored in the hourly table
      case 2: v = (std::floor(v * scale) + 0.5) / scale; break;  // near a half
      case 3: v = std::nextafter((std::floor(v * scale) + 0.5) / scale, 0.0); break;
    }
    if (i % 3 == 0) v = -v;
    const int width = i % 9;
    ASSERT_EQ(FormatFixed(v, width, decimals), ExactReference(v, width, decimals))
        << "v = " << v << " with " << decimals << " decimals";
    ++checked;
  }
  EXPECT_EQ(checked, 40000);
}

TEST(FormatFixedExact, HugeValuesAreWrittenInFull) {
  // Beyond 9e18 after scaling the text comes from the C library; nothing is cut.
  for (double v : {1e19, -3.0e38, 1e300}) {
    EXPECT_EQ(FormatFixed(v, 8, 2), ExactReference(v, 8, 2));
  }
  EXPECT_EQ(FormatFixed(1e300, 0, 2).size(), 304u);
}

TEST(FormatInt, ExtremesAndPadding) {
  EXPECT_EQ(FormatInt(INT64_MIN, 0), "-9223372036854775808");
  EXPECT_EQ(FormatInt(INT64_MAX, 0), "9223372036854775807");
  EXPECT_EQ(FormatInt(-7, 4), "  -7");
  EXPECT_EQ(FormatInt(0, 2), " 0");
  EXPECT_EQ(FormatInt(123, 2), "123");
  EXPECT_EQ(FormatInt(5, 60), std::string(59, ' ') + "5");  // wider than any buffer
  EXPECT_EQ(FormatFixed(2.5, 60, 1), std::string(57, ' ') + "2.5");
}

}  // namespace
}  // namespace kestrum
