#include "format/fixed_text.h"

#include <gtest/gtest.h>

#include <cmath>

#include "run/run_error.h"

namespace kestrum {
namespace {

TEST(FormatFixed, WidthIsAMinimumAndNeverCuts) {
  EXPECT_EQ(FormatFixed(-1766.2, 8, 2), "-1766.20");
  EXPECT_EQ(FormatFixed(-1766.2f, 8, 2), "-1766.20");  // as stored in the table
  EXPECT_EQ(FormatFixed(-12345.5, 8, 2), "-12345.50");
  EXPECT_EQ(FormatFixed(40.1f, 8, 2), "   40.10");
  EXPECT_EQ(FormatFixed(-1.0, 8, 2), "   -1.00");
}

TEST(FormatFixed, HalvesRoundAwayFromZeroOnTheExactValue) {
  EXPECT_EQ(FormatFixed(0.125, 8, 2), "    0.13");
  EXPECT_EQ(FormatFixed(2.5, 4, 0), "   3");
  EXPECT_EQ(FormatFixed(-2.5, 4, 0), "  -3");
  EXPECT_EQ(FormatFixed(0.285, 0, 2), "0.28");  // 0.28499999... in binary
  EXPECT_EQ(FormatFixed(1.005, 0, 2), "1.00");  // 1.00499999...
}

TEST(FormatFixed, ValueRoundingToZeroHasNoMinusSign) {
  EXPECT_EQ(FormatFixed(-0.001, 8, 2), "    0.00");
  EXPECT_EQ(FormatFixed(-0.4, 4, 0), "   0");
  EXPECT_EQ(FormatFixed(-0.0, 0, 2), "0.00");
}

TEST(FormatFixed, NonFiniteValuesAreRefused) {
  EXPECT_THROW(FormatFixed(NAN, 8, 2), RunError);
  EXPECT_THROW(FormatFixed(INFINITY, 8, 2), RunError);
}

TEST(RoundHalfEven, RoundsHalvesToTheEvenNeighbour) {
  EXPECT_EQ(RoundHalfEven(2.5), 2);
  EXPECT_EQ(RoundHalfEven(3.5), 4);
  EXPECT_EQ(RoundHalfEven(-2.5), -2);
  EXPECT_EQ(RoundHalfAway(-2.5), -3);
}

}  // namespace
}  // namespace kestrum
