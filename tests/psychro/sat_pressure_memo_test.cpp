// The saturation-pressure memo of the wet-bulb search changes no result in any bit.
#include "format/sat_pressure_memo.h"

#include <gtest/gtest.h>

#include <cmath>

#include "format/moist_air_state.h"
#include "format/psychrometrics.h"
#include "recording_ui.h"
#include "run/run_error.h"

namespace kestrum {
namespace {

using testing_support::RecordingUi;

// A year of hours in coarse steps, with dry bulbs and dew points of single precision as
// the table holds them: many searches share temperatures, so the memo is hit, and with
// tens of thousands of distinct temperatures its slots are also overwritten.
TEST(SatPressureMemo, WholeHourStatesAreBitIdenticalWithAndWithoutIt) {
  RecordingUi ui;
  SatPressureMemo memo;
  int hours = 0;
  for (int kind : {kMoistureKindDewPoint, kMoistureKindRelHum, kMoistureKindWetBulb}) {
    for (int i = 0; i < 3000; ++i) {
      const float dryBulbF = static_cast<float>(-20.0 + 0.1 * (i % 1200));
      const float moisture = kind == kMoistureKindRelHum
                                 ? static_cast<float>(5 + (i * 7) % 95)
                                 : static_cast<float>(dryBulbF - 0.3 * (i % 97));
      const double elevationFt = (i % 3) * 2500.0;
      const MoistAirState plain =
          MoistAirFromHour(i + 1, dryBulbF, moisture, kind, elevationFt, ui);
      const MoistAirState memoised =
          MoistAirFromHour(i + 1, dryBulbF, moisture, kind, elevationFt, ui, &memo);
      ASSERT_EQ(memoised.wetBulbF, plain.wetBulbF) << dryBulbF << " " << moisture;
      ASSERT_EQ(memoised.dewPointF, plain.dewPointF);
      ASSERT_EQ(memoised.humRatio, plain.humRatio);
      ASSERT_EQ(memoised.relHumPct, plain.relHumPct);
      ASSERT_EQ(memoised.densityLbFt3, plain.densityLbFt3);
      ++hours;
    }
  }
  EXPECT_EQ(hours, 9000);
}

TEST(SatPressureMemo, MoreTemperaturesThanSlotsStillGiveTheirOwnValues) {
  SatPressureMemo memo;
  for (int round = 0; round < 2; ++round) {
    for (int i = 0; i < 100000; ++i) {
      const double t = -60.0 + 0.00213 * i;
      ASSERT_EQ(memo.SatPressureKPa(t), SatPressure(t)) << t;
    }
  }
}

TEST(SatPressureMemo, GivesSatPressureAndRemembersNoFailure) {
  SatPressureMemo memo;
  for (double t : {-40.0, 0.0, -0.0, 31.999, 32.0, 70.0, 212.0}) {
    EXPECT_EQ(memo.SatPressureKPa(t), SatPressure(t)) << t;
    EXPECT_EQ(memo.SatPressureKPa(t), SatPressure(t)) << t;  // now from its slot
  }
  // Below absolute zero, or not a number: refused every time, like SatPressure.
  for (int attempt = 0; attempt < 2; ++attempt) {
    EXPECT_THROW(memo.SatPressureKPa(-500.0), RunError);
    EXPECT_THROW(memo.SatPressureKPa(std::nan("")), RunError);
  }
}

}  // namespace
}  // namespace kestrum
