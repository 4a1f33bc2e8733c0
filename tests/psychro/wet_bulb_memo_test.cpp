// Remembered wet bulbs: the same results in every bit, and only for exactly the same air.
#include "format/wet_bulb_memo.h"

#include <gtest/gtest.h>

#include <cmath>

#include "format/moist_air_state.h"
#include "format/psychrometrics.h"
#include "run/run_error.h"
#include "support/test_support.h"

namespace kestrum {
namespace {

using testing::RecordingUi;

// Hours of single-precision dry bulbs and moisture values as the table holds them,
// each pair coming back several times, for every moisture kind.
TEST(WetBulbMemo, HourStatesAreBitIdenticalWithAndWithoutIt) {
  RecordingUi ui;
  for (int kind : {kMoistureKindDewPoint, kMoistureKindRelHum, kMoistureKindWetBulb}) {
    WetBulbMemo memo;
    for (int i = 0; i < 2400; ++i) {
      const int pair = i % 600;  // every pair four times
      const float dryBulbF = static_cast<float>(-20.0 + 0.25 * pair);
      const float moisture = kind == kMoistureKindRelHum
                                 ? static_cast<float>(5 + (pair * 7) % 95)
                                 : static_cast<float>(dryBulbF - 0.3 * (pair % 97));
      const MoistAirState plain = MoistAirFromHour(i + 1, dryBulbF, moisture, kind, 5400.0, ui);
      const MoistAirState remembered =
          MoistAirFromHour(i + 1, dryBulbF, moisture, kind, 5400.0, ui, &memo);
      ASSERT_EQ(remembered.wetBulbF, plain.wetBulbF) << dryBulbF << " " << moisture;
      ASSERT_EQ(remembered.humRatio, plain.humRatio);
      ASSERT_EQ(remembered.relHumPct, plain.relHumPct);
    }
    // The wet-bulb kind takes its wet bulb from the table and never searches.
    EXPECT_EQ(memo.size(), kind == kMoistureKindWetBulb ? 0u : 600u);
  }
}

// More temperatures than the cache has slots, each asked twice: the function's own value
// every time, and a temperature at absolute zero fails every time.
TEST(WetBulbMemo, SaturationPressuresAreTheFunctionsOwn) {
  WetBulbMemo memo;
  for (int round = 0; round < 2; ++round) {
    for (int i = 0; i < 10000; ++i) {
      const double tempF = -60.0 + 0.0173 * i;
      ASSERT_EQ(memo.SatPressure(tempF), SatPressure(tempF)) << tempF;
    }
    EXPECT_THROW(memo.SatPressure(-459.67), RunError);
  }
}

TEST(WetBulbMemo, OnlyExactlyTheSameInputsFindAValue) {
  RecordingUi ui;
  WetBulbMemo memo;
  const double t = 71.6, w = 0.0081, p = 83.4;
  const double wetBulb = WetBulbFromHumRatio(t, w, p, ui, &memo);
  EXPECT_EQ(memo.Find(t, w, p), wetBulb);
  EXPECT_FALSE(memo.Find(t, std::nextafter(w, 1.0), p).has_value());
  EXPECT_FALSE(memo.Find(std::nextafter(t, 100.0), w, p).has_value());
  EXPECT_FALSE(memo.Find(t, w, std::nextafter(p, 0.0)).has_value());
  // A neighbouring humidity ratio is searched for, not taken from the memo.
  const double next = std::nextafter(w, 1.0);
  EXPECT_EQ(WetBulbFromHumRatio(t, next, p, ui, &memo), WetBulbFromHumRatio(t, next, p, ui));
  EXPECT_EQ(memo.size(), 2u);
}

}  // namespace
}  // namespace kestrum
