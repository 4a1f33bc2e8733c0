#include "format/psychrometrics.h"

#include <gtest/gtest.h>

#include "support/test_support.h"
#include "run/run_error.h"

namespace kestrum {
namespace {

using testing::RecordingUi;

constexpr double kSeaLevelKPa = 101.325;

TEST(SatPressure, SwitchesFromIceToWaterExactlyAt32F) {
  // 0.61121 is the water value; the ice formula would give 0.61115 at 32 deg F.
  EXPECT_NEAR(SatPressure(32.0), 0.61121, 0.000005);
  EXPECT_NEAR(SatPressure(31.99), 0.61087, 0.000005);
}

TEST(SatPressure, WorkedValuesOverWater) {
  EXPECT_NEAR(SatPressure(212.0), 101.419, 0.0005);
  EXPECT_NEAR(SatPressure(68.0), 2.3388, 0.00005);
}

TEST(SatPressure, RefusesAbsoluteZeroAndBelow) {
  EXPECT_THROW(SatPressure(-459.67), RunError);
  EXPECT_THROW(SatPressure(-1000.0), RunError);
}

TEST(StationPressure, WorkedValueAndSeaLevel) {
  EXPECT_NEAR(StationPressure(59.0, 5000.0), 84.296, 0.0005);
  for (double t : {-40.0, 0.0, 59.0, 120.0}) EXPECT_DOUBLE_EQ(StationPressure(t, 0.0), 101.325);
}

TEST(StationPressure, TheHoursOwnDryBulbEntersTheLapseTerm) {
  // Warmer air thins out more slowly with height.
  EXPECT_LT(StationPressure(0.0, 5000.0), StationPressure(100.0, 5000.0));
}

TEST(StationPressure, RefusesAnElevationWithNoAtmosphere) {
  EXPECT_THROW(StationPressure(59.0, 200000.0), RunError);
}

TEST(MoistAir, SeventyDryBulbFiftyDewPointAtSeaLevel) {
  RecordingUi ui;
  const double pw = SatPressure(50.0);
  const double w = HumRatioFromVapPres(pw, kSeaLevelKPa, ui);
  EXPECT_NEAR(w, 0.0076305, 0.00000005);
  EXPECT_NEAR(MoistAirEnthalpy(70.0, w), 25.133, 0.0005);
  EXPECT_NEAR(DryAirDensity(70.0, kSeaLevelKPa, pw), 0.073979, 0.0000005);
  // Back from the humidity ratio to the vapour pressure.
  EXPECT_NEAR(VapPresFromHumRatio(kSeaLevelKPa, w), pw, 1e-12);
  EXPECT_TRUE(ui.notices.empty());
}

TEST(MoistAir, RelativeHumidityFromHumidityRatio) {
  RecordingUi ui;
  const double pws = SatPressure(70.0);
  const double ws = HumRatioFromVapPres(pws, kSeaLevelKPa, ui);
  const double w = HumRatioFromVapPres(SatPressure(50.0), kSeaLevelKPa, ui);
  EXPECT_NEAR(RelHumFromHumRatio(pws, kSeaLevelKPa, w, ws), 49.03, 0.005);
  // Saturated air is at 100 %, and RH -> vapour pressure -> RH is the identity.
  EXPECT_NEAR(RelHumFromHumRatio(pws, kSeaLevelKPa, ws, ws), 100.0, 1e-9);
  const double pw = VapPresFromRH(pws, 0.4903);
  EXPECT_NEAR(RelHumFromHumRatio(pws, kSeaLevelKPa, HumRatioFromVapPres(pw, kSeaLevelKPa, ui), ws),
              49.03, 1e-9);
}

TEST(MoistAir, HumidityRatioFromWetBulb) {
  RecordingUi ui;
  // At saturation the wet bulb equals the dry bulb and W equals Ws.
  const double ws70 = HumRatioFromVapPres(SatPressure(70.0), kSeaLevelKPa, ui);
  EXPECT_DOUBLE_EQ(HumRatioFromWetBulb(ws70, 70.0, 70.0), ws70);
  const double ws60 = HumRatioFromVapPres(SatPressure(60.0), kSeaLevelKPa, ui);
  EXPECT_NEAR(HumRatioFromWetBulb(ws60, 75.0, 60.0), 0.0075968, 0.00000005);
}

TEST(DewPoint, RoundTripsKeepTheirKnownDifferences) {
  RecordingUi ui;
  const double pw = SatPressure(50.0);
  EXPECT_NEAR(DewPointFromVapPres(pw, ui) * 1.8 + 32.0, 49.77, 0.005);
  double dp = 0.0;
  ASSERT_TRUE(DewPointIP(pw, dp));
  EXPECT_NEAR(dp, 50.06, 0.005);
}

TEST(DewPoint, BelowFreezingCorrelations) {
  RecordingUi ui;
  // Both correlations switch at freezing; well below it they stay within a degree.
  for (double t : {-20.0, 0.0, 14.0, 20.0}) {
    const double pw = SatPressure(t);
    EXPECT_NEAR(DewPointFromVapPres(pw, ui) * 1.8 + 32.0, t, 1.0) << t;
    double dp = 0.0;
    ASSERT_TRUE(DewPointIP(pw, dp));
    EXPECT_NEAR(dp, t, 1.0) << t;
  }
  EXPECT_TRUE(ui.notices.empty());
}

TEST(DewPoint, NegativeVapourPressureWarnsAndGivesZero) {
  RecordingUi ui;
  EXPECT_EQ(DewPointFromVapPres(-0.01, ui), 0.0);
  ASSERT_EQ(ui.notices.size(), 1u);
  EXPECT_EQ(ui.notices[0], "An impossible psychrometric calculation was encountered.");
}

TEST(DewPoint, ZeroVapourPressureIsRefusedNotInfinite) {
  RecordingUi ui;
  EXPECT_THROW(DewPointFromVapPres(0.0, ui), RunError);
}

TEST(DewPoint, PlausibilityTestFailsQuietlyWithoutVapour) {
  for (double pw : {0.0, -0.5}) {
    double dp = 99.0;
    EXPECT_FALSE(DewPointIP(pw, dp));
    EXPECT_EQ(dp, 0.0);
  }
}

TEST(HumRatioFromVapPres, EqualPressuresWarnThenFail) {
  RecordingUi ui;
  EXPECT_THROW(HumRatioFromVapPres(80.0, 80.0, ui), RunError);
  ASSERT_EQ(ui.notices.size(), 1u);
  EXPECT_EQ(ui.notices[0], "uh oh, atmospheric and water vapor pressures are equal!");
}

TEST(DryBulbFromWetBulb, SaturatedAirGivesItsOwnTemperature) {
  RecordingUi ui;
  for (double t : {20.0, 50.0, 90.0}) {
    const double ws = HumRatioFromVapPres(SatPressure(t), kSeaLevelKPa, ui);
    EXPECT_NEAR(DryBulbFromWetBulb(t, ws, kSeaLevelKPa, ui), t, 0.05) << t;
  }
}

}  // namespace
}  // namespace kestrum
