// The coefficient table generated from dirint_coefficients.csv: its index order and values.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "solar/dirint_table.h"

namespace solvane {
namespace {

TEST(DirintTable, FirstBlockInIndexOrder) {
  const float expected[7][5] = {
      {0.385230f, 0.385230f, 0.385230f, 0.462880f, 0.317440f},
      {0.338390f, 0.338390f, 0.221270f, 0.316730f, 0.503650f},
      {0.235680f, 0.235680f, 0.241280f, 0.157830f, 0.269440f},
      {0.830130f, 0.830130f, 0.171970f, 0.841070f, 0.457370f},
      {0.548010f, 0.548010f, 0.478000f, 0.966880f, 1.036370f},
      {0.548010f, 0.548010f, 1.000000f, 3.012370f, 1.976540f},
      {0.582690f, 0.582690f, 0.229720f, 0.892710f, 0.569950f},
  };
  for (int d = 1; d <= 7; ++d)
    for (int w = 1; w <= 5; ++w)
      EXPECT_EQ(DirintCell(1, 1, d, w), expected[d - 1][w - 1]) << "d " << d << " w " << w;
}

TEST(DirintTable, ClearestKtPrimeBlockInIndexOrder) {
  const float expected[7][5] = {
      {1.030000f, 1.040000f, 1.000000f, 1.000000f, 1.049510f},
      {1.050000f, 0.990000f, 0.990000f, 0.950000f, 0.996530f},
      {1.050000f, 0.990000f, 0.990000f, 0.820000f, 0.971940f},
      {1.050000f, 0.790000f, 0.880000f, 0.820000f, 0.951840f},
      {1.000000f, 0.530000f, 0.440000f, 0.710000f, 0.928730f},
      {0.540000f, 0.470000f, 0.500000f, 0.550000f, 0.773950f},
      {1.038270f, 0.920180f, 0.910930f, 0.821140f, 1.034560f},
  };
  for (int d = 1; d <= 7; ++d)
    for (int w = 1; w <= 5; ++w)
      EXPECT_EQ(DirintCell(6, 1, d, w), expected[d - 1][w - 1]) << "d " << d << " w " << w;
}

TEST(DirintTable, SingleCellsAcrossTheTable) {
  EXPECT_EQ(DirintCell(3, 3, 4, 2), 0.932310f);
  EXPECT_EQ(DirintCell(3, 3, 7, 5), 1.004580f);
  EXPECT_EQ(DirintCell(5, 1, 2, 1), 1.000000f);
  EXPECT_EQ(DirintCell(5, 1, 2, 2), 1.062220f);
}

// Every row of the source file lands in the cell its indices name.
TEST(DirintTable, MatchesEveryRowOfTheSourceFile) {
  std::ifstream in(std::string(KESTRUM_TEST_DATA) + "/../../src/solar/dirint_coefficients.csv");
  ASSERT_TRUE(in) << "coefficient file not found";
  std::string line;
  std::getline(in, line);
  int rows = 0;
  while (std::getline(in, line)) {
    int k, z, d, w;
    char value[32];
    ASSERT_EQ(std::sscanf(line.c_str(), "%d,%d,%d,%d,%31s", &k, &z, &d, &w, value), 5) << line;
    ASSERT_TRUE(k >= 1 && k <= kKtPrimeBins && z >= 1 && z <= kZenithBins && d >= 1 &&
                d <= kDeltaBins && w >= 1 && w <= kWaterBins)
        << line;
    EXPECT_EQ(DirintCell(k, z, d, w), std::strtof(value, nullptr)) << line;
    ++rows;
  }
  EXPECT_EQ(rows, kKtPrimeBins * kZenithBins * kDeltaBins * kWaterBins);
}

}  // namespace
}  // namespace solvane
