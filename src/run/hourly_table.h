// The hourly weather table: nine series of 8760 single-precision values,
// stored one series after another in one block, and the operations on it.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace kestrum {

inline constexpr int kHoursPerYear = 8760;
inline constexpr int kSeriesCount = 9;
inline constexpr float kNotSupplied = -999.0f;  // a value the source did not supply
inline constexpr float kDirectNormalAbsent = -1.0f;  // direct normal to be estimated

// Series index; the value of series s at hour h (1..8760) lies at s * 8760 + h - 1.
enum Series : int {
  DryBulb = 0,            // deg F
  Moisture = 1,           // dew point or wet bulb (deg F) or relative humidity (%)
  SolarHorizontal = 2,    // W/m2
  WindSpeed = 3,          // mph
  WindDirection = 4,      // degrees
  SolarDirectNormal = 5,  // W/m2, exactly -1 when the source gives none
  SnowFlag = 6,           // 0 or 1
  RainFlag = 7,           // 0 or 1
  CloudType = 8,          // 1, 2 or 3; 2 when the source gives none
};

// MoistureIndicator values: only "is it 2" matters to consumers.
inline constexpr int kMoistureDewPoint = 0;
inline constexpr int kMoistureWetBulb = 1;
inline constexpr int kMoistureRelHum = 2;

class HourlyTable {
 public:
  HourlyTable() : values_(static_cast<size_t>(kSeriesCount) * kHoursPerYear, 0.0f) {}

  // Hour h counts from 1 to 8760. Callers must keep h in range.
  float& at(Series s, int h) { return values_[index(s, h)]; }
  float at(Series s, int h) const { return values_[index(s, h)]; }

  float* series(Series s) { return values_.data() + static_cast<size_t>(s) * kHoursPerYear; }
  const float* series(Series s) const {
    return values_.data() + static_cast<size_t>(s) * kHoursPerYear;
  }
  float* data() { return values_.data(); }
  const float* data() const { return values_.data(); }

  void Fill(Series s, float value);

  // Direct normal -1, snow 0, rain 0, cloud type 2, for every hour.
  void ResetOptionalSeries();

  // Converts the table in place to the stored units. Codes: dry bulb 1 = deg C;
  // moisture 1 = deg C (temperature) or a 0..1 fraction (relative humidity);
  // solar 1 = Btu/hr-ft2; wind 1 = knots, 2 = m/s. Every other code leaves its
  // series alone. Products are formed in double and stored once as single.
  void NormaliseUnits(uint8_t dryBulbCode, uint8_t moistureCode, uint8_t solarCode,
                      uint8_t windCode, int moistureIndicator);

 private:
  static size_t index(Series s, int h) {
    return static_cast<size_t>(s) * kHoursPerYear + static_cast<size_t>(h - 1);
  }
  std::vector<float> values_;
};

}  // namespace kestrum
