// The estimate of whole hours: three worked hours of a high-altitude site in June, and the
// boundaries that decide whether and how an hour is estimated.
#include <gtest/gtest.h>

#include <cmath>

#include "solar/direct_normal.h"
#include "solar/dirint_table.h"

namespace solvane {
namespace {

// Day 172, elevation 1609 m, dew point 5 deg C; the neighbours and the hour as given.
SolarRecord JuneHour(float gPrev, float g, float gNext, float muPrev, float mu, float muNext) {
  SolarRecord r{};
  r.GlobalPrev = gPrev;
  r.Global = g;
  r.GlobalNext = gNext;
  r.CosZenithPrev = muPrev;
  r.CosZenith = mu;
  r.CosZenithNext = muNext;
  r.DewPointC = 5.0f;
  r.DayOfYear = 172;
  r.ElevationM = 1609.0f;
  return r;
}

SolarRecord ClearNoon() { return JuneHour(850, 900, 880, 0.9534f, 0.9541f, 0.9072f); }
SolarRecord HazyMorning() { return JuneHour(250, 420, 600, 0.5219f, 0.6817f, 0.8124f); }

TEST(WorkedHour, ClearNoonIsInterpolatedBetweenWaterBins) {
  const DirectNormalEstimate e = EstimateDirectNormal(ClearNoon());
  ASSERT_EQ(e.outcome, EstimateOutcome::kEstimated);
  EXPECT_NEAR(e.extraterrestrial, 1322.62f, 0.005f);
  EXPECT_NEAR(e.current.kt, 0.7132f, 0.00005f);
  EXPECT_NEAR(e.current.airMass, 1.0474f, 0.00005f);
  EXPECT_NEAR(e.previous.ktPrime, 0.6640f, 0.00005f);
  EXPECT_NEAR(e.current.ktPrime, 0.7025f, 0.00005f);
  EXPECT_NEAR(e.next.ktPrime, 0.7261f, 0.00005f);
  ASSERT_TRUE(e.stability.has_value());
  EXPECT_NEAR(*e.stability, 0.0310f, 0.00005f);
  ASSERT_TRUE(e.waterCm.has_value());
  EXPECT_NEAR(*e.waterCm, 1.3165f, 0.00005f);
  EXPECT_NEAR(e.current.zenithDeg, 17.4f, 0.05f);
  EXPECT_EQ(e.bins.kt, 5);
  EXPECT_EQ(e.bins.zenith, 1);
  EXPECT_EQ(e.bins.delta, 2);
  EXPECT_EQ(e.bins.water, 2);
  // Zenith weight 1 on bin 1, water pair (1, 2) with 0.2446 on bin 1, Kt' bin 5 alone.
  EXPECT_NEAR(e.coefficient, 0.2446f * 1.000000f + 0.7554f * 1.062220f, 0.0001f);
  EXPECT_NEAR(e.coefficient, 1.0470f, 0.00005f);
  EXPECT_NEAR(e.disc, 581.1f, 0.05f);
  EXPECT_NEAR(e.directNormal, 608.4f, 0.05f);
}

TEST(WorkedHour, HazyMorningReadsOneCell) {
  const DirectNormalEstimate e = EstimateDirectNormal(HazyMorning());
  ASSERT_EQ(e.outcome, EstimateOutcome::kEstimated);
  EXPECT_NEAR(e.current.kt, 0.4658f, 0.00005f);
  EXPECT_EQ(e.bins.kt, 3);
  EXPECT_EQ(e.bins.zenith, 3);
  EXPECT_EQ(e.bins.delta, 4);
  EXPECT_EQ(e.bins.water, 2);
  EXPECT_EQ(e.coefficient, 0.932310f);
  EXPECT_NEAR(e.disc, 158.05f, 0.005f);
  EXPECT_NEAR(e.directNormal, 147.35f, 0.005f);
}

TEST(WorkedHour, WithoutNeighboursOrDewPointUsesTheLastBins) {
  SolarRecord r = HazyMorning();
  r.GlobalPrev = r.CosZenithPrev = kMissing;
  r.GlobalNext = r.CosZenithNext = kMissing;
  r.DewPointC = kMissing;
  const DirectNormalEstimate e = EstimateDirectNormal(r);
  EXPECT_FALSE(e.stability.has_value());
  EXPECT_FALSE(e.waterCm.has_value());
  EXPECT_EQ(e.bins.kt, 3);
  EXPECT_EQ(e.bins.zenith, 3);
  EXPECT_EQ(e.bins.delta, 7);
  EXPECT_EQ(e.bins.water, 5);
  EXPECT_EQ(e.coefficient, 1.004580f);
  EXPECT_NEAR(e.directNormal, 158.77f, 0.005f);
}

TEST(HourGate, GlobalBelowOneWattIsNotEstimated) {
  SolarRecord r = HazyMorning();
  r.Global = 0.99f;
  EXPECT_EQ(EstimateDirectNormal(r).outcome, EstimateOutcome::kLowGlobal);
  EXPECT_EQ(EstimateDirectNormal(r).directNormal, 0.0f);
  r.Global = kMissing;
  EXPECT_EQ(EstimateDirectNormal(r).directNormal, 0.0f);
  r.Global = std::nanf("");
  EXPECT_EQ(EstimateDirectNormal(r).directNormal, 0.0f);
  r.Global = 1.0f;
  EXPECT_EQ(EstimateDirectNormal(r).outcome, EstimateOutcome::kEstimated);
}

TEST(HourGate, SunBelowTheHorizonGivesZeroWhateverTheGlobal) {
  SolarRecord r = ClearNoon();
  r.CosZenith = -0.01f;
  r.Global = 1000.0f;
  const DirectNormalEstimate e = EstimateDirectNormal(r);
  EXPECT_EQ(e.outcome, EstimateOutcome::kNight);
  EXPECT_EQ(e.directNormal, 0.0f);
}

TEST(Neighbours, FirstHourOfTheYearUsesTheNextHourAlone) {
  SolarRecord r = ClearNoon();
  r.GlobalPrev = r.CosZenithPrev = kMissing;
  const DirectNormalEstimate e = EstimateDirectNormal(r);
  ASSERT_TRUE(e.stability.has_value());
  EXPECT_FLOAT_EQ(*e.stability, std::fabs(e.next.ktPrime - e.current.ktPrime));
  EXPECT_EQ(e.bins.delta, 2);  // |0.7261 - 0.7025| = 0.0236
}

TEST(Neighbours, LastHourOfTheYearUsesThePreviousHourAlone) {
  SolarRecord r = ClearNoon();
  r.GlobalNext = r.CosZenithNext = kMissing;
  const DirectNormalEstimate e = EstimateDirectNormal(r);
  ASSERT_TRUE(e.stability.has_value());
  EXPECT_FLOAT_EQ(*e.stability, std::fabs(e.current.ktPrime - e.previous.ktPrime));
  EXPECT_EQ(e.bins.delta, 3);  // |0.7025 - 0.6640| = 0.0385
}

TEST(Neighbours, DarkNeighbourAtZeroCosineTakesPartButNotOneBelowTheHorizon) {
  // Sunrise hour: the hour before had no sun (cosine exactly 0, no irradiance).
  SolarRecord r = JuneHour(0, 40, 180, 0.0f, 0.0343f, 0.1597f);
  DirectNormalEstimate e = EstimateDirectNormal(r);
  EXPECT_EQ(e.previous.ktPrime, 0.0f);
  ASSERT_TRUE(e.stability.has_value());
  EXPECT_FLOAT_EQ(*e.stability, 0.5f * (std::fabs(e.next.ktPrime - e.current.ktPrime) +
                                        std::fabs(e.current.ktPrime)));

  r.CosZenithPrev = -0.05f;
  e = EstimateDirectNormal(r);
  EXPECT_EQ(e.previous.ktPrime, kMissing);
  ASSERT_TRUE(e.stability.has_value());
  EXPECT_FLOAT_EQ(*e.stability, std::fabs(e.next.ktPrime - e.current.ktPrime));

  // Both neighbours under the horizon: no stability index, even for a sunlit hour.
  r.CosZenithNext = -0.05f;
  EXPECT_EQ(EstimateDirectNormal(r).bins.delta, 7);
}

TEST(Estimate, ResultIsNeverNegativeNorNaN) {
  // A sweep over irradiance, sun height, neighbours, dew point and elevation, including
  // clearness far above 1 (where DISC gives 0) and sunlit hours with tiny irradiance.
  const float globals[] = {1.0f, 5.0f, 50.0f, 300.0f, 900.0f, 1400.0f, 3000.0f};
  const float cosines[] = {0.0f, 0.01f, 0.065f, 0.2f, 0.5f, 0.8f, 1.0f};
  const float dewPoints[] = {kMissing, -40.0f, 0.0f, 20.0f, 30.0f};
  const float elevations[] = {-400.0f, 0.0f, 3000.0f};
  int estimated = 0;
  for (float g : globals)
    for (float mu : cosines)
      for (float td : dewPoints)
        for (float h : elevations)
          for (float neighbour : {kMissing, 0.0f, 500.0f}) {
            SolarRecord r{neighbour, g, neighbour, neighbour == kMissing ? kMissing : mu, mu,
                          neighbour == kMissing ? kMissing : mu, td, 355, h};
            const DirectNormalEstimate e = EstimateDirectNormal(r);
            ASSERT_TRUE(std::isfinite(e.directNormal)) << g << " " << mu << " " << td;
            ASSERT_GE(e.directNormal, 0.0f) << g << " " << mu << " " << td;
            if (e.directNormal > 0.0f) ++estimated;
          }
  EXPECT_GT(estimated, 100);
}

}  // namespace
}  // namespace solvane
