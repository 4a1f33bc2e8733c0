// ParseReal gives the correctly rounded double of every decimal text, bit for bit the
// value of std::from_chars, whichever way it reads the text.
#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstring>
#include <random>
#include <string>

#include "run/text_fields.h"

namespace kestrum {
namespace {

void ExpectSameAsFromChars(const std::string& text) {
  double expected = 0.0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), expected);
  ASSERT_TRUE(ec == std::errc() && end == text.data() + text.size()) << text;
  double v = 12345.0;
  ASSERT_TRUE(ParseReal(text, v)) << text;
  ASSERT_EQ(std::memcmp(&v, &expected, sizeof v), 0)
      << text << ": " << v << " instead of " << expected;
}

TEST(ParseRealExact, DecimalsOfEveryLengthReadToTheCorrectlyRoundedDouble) {
  std::mt19937_64 random(99);
  for (int i = 0; i < 200000; ++i) {
    const int digits = 1 + static_cast<int>(random() % 18);  // past the 15 of the fast path
    std::string text = (random() % 3 == 0) ? "-" : "";
    std::string number;
    for (int k = 0; k < digits; ++k) number += static_cast<char>('0' + random() % 10);
    const int point = static_cast<int>(random() % (digits + 1));
    if (point > 0 && point < digits) number.insert(static_cast<size_t>(point), ".");
    ExpectSameAsFromChars(text + number);
  }
}

TEST(ParseRealExact, WeatherFileValuesAndEdges) {
  for (const char* text : {"-12.2", "99500", "0.0310", "999.000", "9999", "-0", "-0.0", "0",
                           "0.1", "0.3", "1.005", "123456789012345", "1234567890123456",
                           "0.000000000000001", "9007199254740993", "5.", ".5", "-.5",
                           "1e3", "2.5E-3", "000123.4500"}) {
    ExpectSameAsFromChars(text);
  }
  double v = 0;
  for (const char* bad : {"-", ".", "1.2.3", "1-2", "- 1", "0x10"}) {
    EXPECT_FALSE(ParseReal(bad, v)) << bad;
  }
}

}  // namespace
}  // namespace kestrum
