#include "format/moist_air_state.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "format/psychrometrics.h"
#include "support/test_support.h"
#include "run/run_error.h"

namespace kestrum {
namespace {

using testing::RecordingUi;

TEST(MoistAirFromHour, DewPointSeventyFiftyAtSeaLevel) {
  RecordingUi ui;
  const MoistAirState s = MoistAirFromHour(1, 70.0, 50.0, kMoistureKindDewPoint, 0.0, ui);
  EXPECT_DOUBLE_EQ(s.pressureKPa, 101.325);
  EXPECT_NEAR(s.humRatio, 0.0076305, 0.00000005);
  EXPECT_NEAR(s.relHumPct, 49.03, 0.005);
  EXPECT_NEAR(s.wetBulbF, 58.17, 0.005);
  EXPECT_NEAR(s.enthalpyBtuLb, 25.13, 0.005);
  EXPECT_NEAR(s.densityLbFt3, 0.073979, 0.0000005);
  EXPECT_EQ(s.dewPointF, 50.0);  // the source's dew point passes through unchanged
  // The wet bulb found reproduces the dry bulb.
  EXPECT_NEAR(DryBulbFromWetBulb(s.wetBulbF, s.humRatio, s.pressureKPa, ui), 70.0, 0.01);
  EXPECT_TRUE(ui.notices.empty());
}

TEST(MoistAirFromHour, DewPointNearFreezing) {
  RecordingUi ui;
  // Table values are single precision; the formatter widens them.
  const MoistAirState s = MoistAirFromHour(1, 40.1f, 31.82f, kMoistureKindDewPoint, 0.0, ui);
  EXPECT_NEAR(s.wetBulbF, 36.57, 0.005);
  EXPECT_NEAR(s.relHumPct, 71.94, 0.005);
  EXPECT_NEAR(s.humRatio, 0.003743, 0.0000005);
  EXPECT_EQ(s.dewPointF, static_cast<double>(31.82f));
}

TEST(MoistAirFromHour, SaturatedAirHasItsDryBulbAsWetBulb) {
  RecordingUi ui;
  const MoistAirState s = MoistAirFromHour(1, 70.0, 100.0, kMoistureKindRelHum, 0.0, ui);
  EXPECT_NEAR(s.wetBulbF, 70.00, 0.005);
  EXPECT_EQ(s.relHumPct, 100.0);
}

TEST(MoistAirFromHour, RelativeHumidityAtAltitude) {
  RecordingUi ui;
  const double elevationFt = 5000.0;
  const MoistAirState s = MoistAirFromHour(1, 90.0, 50.0, kMoistureKindRelHum, elevationFt, ui);
  EXPECT_NEAR(s.pressureKPa, 85.19, 0.005);
  EXPECT_NEAR(s.humRatio, 0.018103, 0.0000005);
  EXPECT_NEAR(s.dewPointF, 68.62, 0.005);
  EXPECT_NEAR(s.wetBulbF, 74.19, 0.005);
  EXPECT_EQ(s.relHumPct, 50.0);
}

TEST(MoistAirFromHour, WetBulbSixtyAtSeventyFive) {
  RecordingUi ui;
  const MoistAirState s = MoistAirFromHour(1, 75.0, 60.0, kMoistureKindWetBulb, 0.0, ui);
  EXPECT_NEAR(s.humRatio, 0.0075968, 0.00000005);
  EXPECT_NEAR(s.dewPointF, 49.65, 0.005);
  EXPECT_NEAR(s.relHumPct, 41.23, 0.005);
  EXPECT_EQ(s.wetBulbF, 60.0);  // the source's wet bulb, not a search result
  EXPECT_TRUE(ui.notices.empty());
}

TEST(MoistAirFromHour, ImpossibleWetBulbWarnsTwiceAndGivesFreezingDewPoint) {
  RecordingUi ui;
  // A wet bulb 50 deg F below the dry bulb leaves a negative humidity ratio.
  const MoistAirState s = MoistAirFromHour(17, 90.0, 40.0, kMoistureKindWetBulb, 0.0, ui);
  ASSERT_EQ(ui.notices.size(), 2u);
  EXPECT_EQ(ui.notices[0], "Psych Error encountered at hour 17 using a WBT of 40.0 and a DBT of 90.0");
  EXPECT_EQ(ui.notices[1], "An impossible psychrometric calculation was encountered.");
  EXPECT_EQ(s.dewPointF, 32.0);
  EXPECT_LT(s.humRatio, 0.0);
  EXPECT_TRUE(std::isfinite(s.relHumPct));
}

TEST(MoistAirFromHour, BoneDryAirIsRefusedRatherThanInfinite) {
  RecordingUi ui;
  EXPECT_THROW(MoistAirFromHour(1, 70.0, 0.0, kMoistureKindRelHum, 0.0, ui), RunError);
}

TEST(MoistAirFromHour, UnknownMoistureKindIsRefused) {
  RecordingUi ui;
  EXPECT_THROW(MoistAirFromHour(1, 70.0, 50.0, 0, 0.0, ui), RunError);
  EXPECT_THROW(MoistAirFromHour(1, 70.0, 50.0, 4, 0.0, ui), RunError);
}

TEST(MoistAirFromHour, WetBulbOfEveryKindAgrees) {
  // The same air described three ways gives the same wet bulb to within the search's
  // resolution and the dew-point correlation's error.
  RecordingUi ui;
  const MoistAirState fromDew = MoistAirFromHour(1, 85.0, 60.0, kMoistureKindDewPoint, 1000.0, ui);
  const MoistAirState fromRh =
      MoistAirFromHour(1, 85.0, fromDew.relHumPct, kMoistureKindRelHum, 1000.0, ui);
  EXPECT_NEAR(fromRh.wetBulbF, fromDew.wetBulbF, 0.02);
  EXPECT_NEAR(fromRh.dewPointF, 60.0, 0.3);
  const MoistAirState fromWet =
      MoistAirFromHour(1, 85.0, fromDew.wetBulbF, kMoistureKindWetBulb, 1000.0, ui);
  EXPECT_NEAR(fromWet.humRatio, fromDew.humRatio, 0.00002);
  EXPECT_TRUE(ui.notices.empty());
}

TEST(WetBulbSearch, WalksDownThenHomesIn) {
  RecordingUi ui;
  // Over a broad range of climates the answer lies below the dry bulb and reproduces it.
  for (double t : {-30.0, 10.0, 32.0, 55.0, 100.0, 120.0}) {
    for (double rh : {0.05, 0.5, 0.95}) {
      const double p = StationPressure(t, 2000.0);
      const double w = HumRatioFromVapPres(VapPresFromRH(SatPressure(t), rh), p, ui);
      const double wb = WetBulbFromHumRatio(t, w, p, ui);
      EXPECT_LE(wb, t + 0.01) << t << " " << rh;
      EXPECT_NEAR(DryBulbFromWetBulb(wb, w, p, ui), t, 0.01) << t << " " << rh;
    }
  }
}

TEST(StepSearch, StopsAtTheFirstGuessPastASignChange) {
  // error falls through 0 at 3.14159: steps of 1 overshoot to 4, 0.1 back to 3.1,
  // 0.01 up to 3.15, where the error (-0.00841) is small enough.
  int calls = 0;
  const auto found = StepSearch(
      [&](double g) {
        ++calls;
        return 3.14159 - g;
      },
      0.0, 10000);
  ASSERT_TRUE(found.has_value());
  EXPECT_NEAR(*found, 3.15, 1e-9);
  EXPECT_LT(calls, 30);
}

TEST(StepSearch, ZeroErrorCountsAsFalling) {
  // At the root itself the direction is -1: the first step goes down.
  std::vector<double> guesses;
  const auto found = StepSearch(
      [&](double g) {
        guesses.push_back(g);
        return 2.0 - g;
      },
      2.0, 10000);
  ASSERT_GE(guesses.size(), 2u);
  EXPECT_EQ(guesses[0], 2.0);
  EXPECT_EQ(guesses[1], 1.0);
  ASSERT_TRUE(found.has_value());
  EXPECT_NEAR(*found, 2.0, 0.01);
}

TEST(StepSearch, GivesUpOnAJumpInsteadOfLoopingForever) {
  // The error jumps from +1 to -1 at 0.5 and is never small: without a limit the steps
  // would shrink below the spacing of doubles and the search would never end.
  int calls = 0;
  const auto found = StepSearch(
      [&](double g) {
        ++calls;
        return g < 0.5 ? 1.0 : -1.0;
      },
      0.0, 10000);
  EXPECT_FALSE(found.has_value());
  EXPECT_LE(calls, 10000);
}

TEST(StepSearch, GivesUpWhenTheErrorIsNotANumber) {
  const auto found = StepSearch([](double) { return std::nan(""); }, 70.0, 500);
  EXPECT_FALSE(found.has_value());
}

}  // namespace
}  // namespace kestrum
