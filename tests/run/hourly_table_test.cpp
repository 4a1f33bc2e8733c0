#include "run/hourly_table.h"

#include <gtest/gtest.h>

namespace kestrum {
namespace {

// A table holding `v` in every hour of every series.
HourlyTable Filled(float v) {
  HourlyTable t;
  for (int s = 0; s < kSeriesCount; ++s) t.Fill(static_cast<Series>(s), v);
  return t;
}

TEST(HourlyTable, ResetOptionalSeriesSetsAbsentDirectNormalAndDefaultCodes) {
  HourlyTable t = Filled(9.0f);
  t.ResetOptionalSeries();
  for (int h : {1, 8760}) {
    EXPECT_EQ(t.at(SolarDirectNormal, h), -1.0f);
    EXPECT_EQ(t.at(SnowFlag, h), 0.0f);
    EXPECT_EQ(t.at(RainFlag, h), 0.0f);
    EXPECT_EQ(t.at(CloudType, h), 2.0f);
    EXPECT_EQ(t.at(DryBulb, h), 9.0f);  // the readers' series are theirs to reset
  }
}

TEST(NormaliseUnits, CodesThatConvertNothingLeaveTheTableAlone) {
  for (uint8_t wind : {0, 3}) {
    HourlyTable t = Filled(10.0f);
    t.NormaliseUnits(0, 0, 0, wind, 0);
    for (int s = 0; s < kSeriesCount; ++s) EXPECT_EQ(t.at(static_cast<Series>(s), 100), 10.0f);
  }
}

TEST(NormaliseUnits, MoistureCodeFollowsTheMoistureIndicator) {
  HourlyTable rh = Filled(0.45f);
  rh.NormaliseUnits(0, 1, 0, 0, 2);
  EXPECT_FLOAT_EQ(rh.at(Moisture, 1), 45.0f);
  HourlyTable rhPercent = Filled(45.0f);
  rhPercent.NormaliseUnits(0, 2, 0, 0, 2);  // the EPW relative-humidity case
  EXPECT_EQ(rhPercent.at(Moisture, 1), 45.0f);
  for (int mi : {0, 1}) {
    HourlyTable dp = Filled(20.0f);
    dp.NormaliseUnits(0, 1, 0, 0, mi);
    EXPECT_EQ(dp.at(Moisture, 1), 68.0f);
  }
}

TEST(NormaliseUnits, SolarCodeKeepsTheAbsentDirectNormalMarker) {
  HourlyTable t = Filled(0.0f);
  t.at(SolarDirectNormal, 1) = -1.0f;
  t.at(SolarDirectNormal, 2) = 100.0f;
  t.at(SolarHorizontal, 1) = -1.0f;
  t.NormaliseUnits(0, 0, 1, 0, 1);
  EXPECT_EQ(t.at(SolarDirectNormal, 1), -1.0f);
  EXPECT_EQ(t.at(SolarDirectNormal, 2), 315.5f);
  EXPECT_EQ(t.at(SolarHorizontal, 1), -3.155f);
}

TEST(NormaliseUnits, WindCodesConvertKnotsAndMetresPerSecond) {
  HourlyTable knots = Filled(10.0f);
  knots.NormaliseUnits(0, 0, 0, 1, 0);
  EXPECT_EQ(knots.at(WindSpeed, 1), 11.51f);
  EXPECT_EQ(knots.at(WindDirection, 1), 10.0f);
  HourlyTable ms = Filled(10.0f);
  ms.NormaliseUnits(0, 0, 0, 2, 0);
  EXPECT_EQ(ms.at(WindSpeed, 1), 22.3f);
}

TEST(NormaliseUnits, MissingValuesAreConvertedLikeAnyOther) {
  HourlyTable t = Filled(-999.0f);
  t.NormaliseUnits(1, 1, 1, 2, 1);
  EXPECT_EQ(t.at(DryBulb, 5), -1766.2f);
  EXPECT_EQ(t.at(Moisture, 5), -1766.2f);
  EXPECT_EQ(t.at(SolarHorizontal, 5), -3151.845f);
  EXPECT_EQ(t.at(WindSpeed, 5), -2227.77f);
}

}  // namespace
}  // namespace kestrum
