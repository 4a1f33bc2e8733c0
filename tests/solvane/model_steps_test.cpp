// The single steps of the estimate: DISC, the clearness indices, the bins and the DIRINT
// coefficient with its clear-sky interpolation.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "solar/clearness.h"
#include "solar/dirint_bins.h"
#include "solar/dirint_coefficient.h"
#include "solar/dirint_table.h"
#include "solar/disc.h"

namespace solvane {
namespace {

// DISC in double precision with the constants the estimate keeps (2.22 in "a").
double DiscReference(double kt, double am, double i0) {
  double a, b, c;
  if (kt <= 0.6) {
    a = 0.512 - 1.56 * kt + 2.286 * kt * kt - 2.22 * kt * kt * kt;
    b = 0.37 + 0.962 * kt;
    c = -0.28 + 0.932 * kt - 2.048 * kt * kt;
  } else {
    a = -5.743 + 21.77 * kt - 27.49 * kt * kt + 11.56 * kt * kt * kt;
    b = 41.4 - 118.5 * kt + 66.05 * kt * kt + 31.9 * kt * kt * kt;
    c = -47.01 + 184.2 * kt - 222.0 * kt * kt + 73.81 * kt * kt * kt;
  }
  const double knc = 0.866 - 0.122 * am + 0.0121 * am * am - 0.000653 * std::pow(am, 3) +
                     0.000014 * std::pow(am, 4);
  return i0 * (knc - (a + b * std::exp(c * am)));
}

TEST(Disc, ExtraterrestrialIrradianceFollowsTheDay) {
  EXPECT_NEAR(ExtraterrestrialNormal(172), 1322.62f, 0.005f);
  EXPECT_NEAR(ExtraterrestrialNormal(1), 1367.0 * (1 + 0.033 * std::cos(0.0172142)), 0.01);
}

TEST(Disc, AirMassUses93Point9AndIsCappedAtHorizon) {
  const float mu = 0.1f;
  const float zd = ZenithDegrees(mu);
  EXPECT_NEAR(zd, std::acos(0.1) * 180.0 / std::numbers::pi, 0.0005);
  const double published = 1.0 / (0.1 + 0.15 * std::pow(93.885 - zd, -1.253));
  const double kept = 1.0 / (0.1 + 0.15 * std::pow(93.9 - zd, -1.253));
  EXPECT_NEAR(RelativeAirMass(mu, zd), kept, 0.0002);
  EXPECT_GT(std::fabs(RelativeAirMass(mu, zd) - published), 0.001);
  EXPECT_EQ(RelativeAirMass(0.0f, ZenithDegrees(0.0f)), 15.25f);
  EXPECT_NEAR(RelativeAirMass(0.9541f, ZenithDegrees(0.9541f)), 1.0474f, 0.00005f);
}

TEST(Disc, CosineJustAboveOneStillHasAZenithAngle) {
  EXPECT_EQ(ZenithDegrees(1.0000001f), 0.0f);
  EXPECT_TRUE(std::isfinite(RelativeAirMass(1.0000001f, ZenithDegrees(1.0000001f))));
}

// The published 2.222 would move the low-clearness results by 0.3 to 0.6 W/m2, far beyond
// the tolerance.
TEST(Disc, BothBranchesMatchTheModelWithCoefficient2Point22) {
  for (double kt : {0.05, 0.3, 0.5, 0.6, 0.61, 0.75, 0.85}) {
    for (double am : {1.0, 2.5, 8.0}) {
      EXPECT_NEAR(DiscDirectNormal(float(kt), float(am), 1340.0f), DiscReference(kt, am, 1340.0),
                  0.02)
          << "kt " << kt << " am " << am;
    }
  }
}

TEST(Disc, PositiveExponentCoefficientGivesZero) {
  EXPECT_EQ(DiscDirectNormal(2.0f, 1.5f, 1367.0f), 0.0f);  // c = 23.9
}

TEST(Clearness, ZenithIndependentIndexOfTheWorkedHours) {
  const float i0 = ExtraterrestrialNormal(172);
  EXPECT_NEAR(EvaluateHour(850, 0.9534f, i0, 1609).ktPrime, 0.6640f, 0.00005f);
  EXPECT_NEAR(EvaluateHour(900, 0.9541f, i0, 1609).ktPrime, 0.7025f, 0.00005f);
  EXPECT_NEAR(EvaluateHour(880, 0.9072f, i0, 1609).ktPrime, 0.7261f, 0.00005f);
  // The pressure correction enters Kt' only: at sea level the longer path through the air
  // makes the same hour read clearer.
  const HourClearness sea = EvaluateHour(900, 0.9541f, i0, 0);
  EXPECT_FLOAT_EQ(sea.pressureAirMass, sea.airMass);
  EXPECT_FLOAT_EQ(sea.airMass, EvaluateHour(900, 0.9541f, i0, 1609).airMass);
  EXPECT_GT(sea.ktPrime, 0.7025f + 0.01f);
}

TEST(Clearness, HoursWithoutKtPrime) {
  EXPECT_EQ(EvaluateHour(100, -0.001f, 1300, 0).ktPrime, kMissing);
  EXPECT_EQ(EvaluateNeighbour(kMissing, 0.5f, 1300, 0).ktPrime, kMissing);
  EXPECT_EQ(EvaluateNeighbour(100, kMissing, 1300, 0).ktPrime, kMissing);
  EXPECT_EQ(EvaluateNeighbour(0, 0.0f, 1300, 0).ktPrime, 0.0f);
}

TEST(Clearness, StabilityIndexForms) {
  EXPECT_FLOAT_EQ(*StabilityIndex(0.6640f, 0.7025f, 0.7261f),
                  0.5f * ((0.7261f - 0.7025f) + (0.7025f - 0.6640f)));
  EXPECT_FLOAT_EQ(*StabilityIndex(kMissing, 0.5f, 0.3f), 0.2f);
  EXPECT_FLOAT_EQ(*StabilityIndex(0.3f, 0.5f, kMissing), 0.2f);
  EXPECT_FALSE(StabilityIndex(kMissing, 0.5f, kMissing).has_value());
}

TEST(Bins, UpperLimitsAreExclusive) {
  EXPECT_EQ(KtPrimeBin(-0.1f), 1);
  EXPECT_EQ(KtPrimeBin(0.24f), 2);
  EXPECT_EQ(KtPrimeBin(0.6999f), 4);
  EXPECT_EQ(KtPrimeBin(0.70f), 5);
  EXPECT_EQ(KtPrimeBin(0.80f), 6);
  EXPECT_EQ(KtPrimeBin(1.7f), 6);

  EXPECT_EQ(ZenithBin(0.0f), 1);
  EXPECT_EQ(ZenithBin(25.0f), 2);
  EXPECT_EQ(ZenithBin(79.99f), 5);
  EXPECT_EQ(ZenithBin(80.0f), 6);
  EXPECT_EQ(ZenithBin(90.0f), 6);

  EXPECT_EQ(StabilityBin(0.0149f), 1);
  EXPECT_EQ(StabilityBin(0.015f), 2);
  EXPECT_EQ(StabilityBin(0.30f), 6);
  EXPECT_EQ(StabilityBin(std::nullopt), 7);

  EXPECT_EQ(WaterBin(0.99f), 1);
  EXPECT_EQ(WaterBin(1.0f), 2);
  EXPECT_EQ(WaterBin(3.0f), 4);
  EXPECT_EQ(WaterBin(9.0f), 4);
  EXPECT_EQ(WaterBin(std::nullopt), 5);
}

TEST(Bins, PrecipitableWaterFromDewPoint) {
  EXPECT_NEAR(PrecipitableWater(5.0f), 1.3165f, 0.00005f);
  EXPECT_NEAR(PrecipitableWater(0.0f), std::exp(-0.075), 1e-6);
}

TEST(Coefficient, BelowKtPrimeBin5ReadsOneCell) {
  // Zenith and water far from the bin centres change nothing below Kt' 0.70.
  EXPECT_EQ(DirintCoefficient({3, 3, 4, 2}, 0.5f, 54.9f, 1.99f), 0.932310f);
  EXPECT_EQ(DirintCoefficient({4, 6, 2, 4}, 0.6999f, 89.0f, 3.2f), DirintCell(4, 6, 2, 4));
}

void ExpectPair(const BinPair& pair, int lower, int upper, float lowerWeight) {
  EXPECT_EQ(pair.lower, lower);
  EXPECT_EQ(pair.upper, upper);
  EXPECT_NEAR(pair.lowerWeight, lowerWeight, 0.00005f);
}

TEST(Coefficient, InterpolationWeights) {
  EXPECT_EQ(ClearSkyWeights(0.70f).bin6, 0.0f);
  EXPECT_EQ(ClearSkyWeights(0.75f).bin6, 0.0f);
  EXPECT_NEAR(ClearSkyWeights(0.785f).bin6, 0.5f, 1e-5f);
  EXPECT_NEAR(ClearSkyWeights(0.785f).bin5, 0.5f, 1e-5f);
  EXPECT_EQ(ClearSkyWeights(0.83f).bin5, 0.0f);

  ExpectPair(ZenithPair(1, 17.4f), 1, 2, 1.0f);  // below the first centre
  ExpectPair(ZenithPair(2, 35.0f), 2, 3, (47.5f - 35.0f) / 15.0f);
  ExpectPair(ZenithPair(6, 80.0f), 5, 6, (82.5f - 80.0f) / 7.5f);
  ExpectPair(ZenithPair(6, 85.0f), 6, 6, 1.0f);  // beyond the last centre

  ExpectPair(WaterPair(2, PrecipitableWater(5.0f)), 1, 2, 0.2446f);
  ExpectPair(WaterPair(1, 0.5f), 1, 2, 1.0f);
  ExpectPair(WaterPair(4, 3.0f), 3, 4, 0.5f);
  ExpectPair(WaterPair(4, 4.2f), 4, 5, 1.0f);  // above 3.5 cm: bin 4 alone
  ExpectPair(WaterPair(5, 0.0f), 5, 5, 1.0f);  // dew point missing
}

TEST(Coefficient, ClearSkyBlendsEightCells) {
  // Kt' 0.785: half bin 5, half bin 6. Zenith 40 (bin 3): halfway between the centres of
  // bins 2 and 3. Water 2.0 cm (bin 3): halfway between bins 2 and 3. Stability bin 4.
  double sum = 0;
  for (int k : {5, 6})
    for (int z : {2, 3})
      for (int w : {2, 3}) sum += DirintCell(k, z, 4, w);
  EXPECT_NEAR(DirintCoefficient({6, 3, 4, 3}, 0.785f, 40.0f, 2.0f), sum / 8, 1e-5);
}

TEST(Coefficient, ClearSkyEdgesUseOneKtPrimeBin) {
  // Zenith below the first centre, dew point missing: one cell of the chosen Kt' bin.
  EXPECT_FLOAT_EQ(DirintCoefficient({6, 1, 1, 5}, 0.83f, 10.0f, 0.0f), 1.049510f);
  EXPECT_FLOAT_EQ(DirintCoefficient({5, 1, 1, 5}, 0.72f, 10.0f, 0.0f), DirintCell(5, 1, 1, 5));
  // Kt' exactly 0.70 is interpolated over water; 0.6999 is not.
  const float w = PrecipitableWater(5.0f);
  const float blended = 0.2446f * DirintCell(5, 1, 2, 1) + 0.7554f * DirintCell(5, 1, 2, 2);
  EXPECT_NEAR(DirintCoefficient({KtPrimeBin(0.70f), 1, 2, 2}, 0.70f, 17.4f, w), blended,
              0.0001f);
  EXPECT_EQ(DirintCoefficient({KtPrimeBin(0.6999f), 1, 2, 2}, 0.6999f, 17.4f, w),
            DirintCell(4, 1, 2, 2));
  // Above 3.5 cm the water pair is bin 4 alone.
  EXPECT_FLOAT_EQ(DirintCoefficient({5, 1, 3, 4}, 0.72f, 10.0f, 5.0f), DirintCell(5, 1, 3, 4));
}

}  // namespace
}  // namespace solvane
