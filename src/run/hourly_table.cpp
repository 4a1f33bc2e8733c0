#include "run/hourly_table.h"

#include <algorithm>

namespace kestrum {

void HourlyTable::Fill(Series s, float value) {
  std::fill_n(series(s), kHoursPerYear, value);
}

void HourlyTable::ResetOptionalSeries() {
  Fill(SolarDirectNormal, kDirectNormalAbsent);
  Fill(SnowFlag, 0.0f);
  Fill(RainFlag, 0.0f);
  Fill(CloudType, 2.0f);
}

namespace {

// v := v * factor + offset, formed in double, stored as single.
void Scale(float* values, double factor, double offset) {
  for (int i = 0; i < kHoursPerYear; ++i) {
    values[i] = static_cast<float>(static_cast<double>(values[i]) * factor + offset);
  }
}

}  // namespace

void HourlyTable::NormaliseUnits(uint8_t dryBulbCode, uint8_t moistureCode, uint8_t solarCode,
                                 uint8_t windCode, int moistureIndicator) {
  if (dryBulbCode == 1) Scale(series(DryBulb), 1.8, 32.0);  // deg C -> deg F
  if (moistureCode == 1) {
    if (moistureIndicator == kMoistureRelHum) {
      Scale(series(Moisture), 100.0, 0.0);  // fraction -> %
    } else {
      Scale(series(Moisture), 1.8, 32.0);  // deg C -> deg F
    }
  }
  if (solarCode == 1) {  // Btu/hr-ft2 -> W/m2; the -1 marker survives
    Scale(series(SolarHorizontal), 3.155, 0.0);
    float* dn = series(SolarDirectNormal);
    for (int i = 0; i < kHoursPerYear; ++i) {
      if (dn[i] != kDirectNormalAbsent) dn[i] = static_cast<float>(static_cast<double>(dn[i]) * 3.155);
    }
  }
  if (windCode == 1) Scale(series(WindSpeed), 1.151, 0.0);  // knots -> mph
  if (windCode == 2) Scale(series(WindSpeed), 2.23, 0.0);   // m/s -> mph
}

}  // namespace kestrum
