#include "solar/dirint_bins.h"

#include <array>
#include <cmath>

#include "solar/dirint_table.h"

namespace solvane {
namespace {

constexpr std::array<float, 5> kKtPrimeLimits = {0.24f, 0.40f, 0.56f, 0.70f, 0.80f};
constexpr std::array<float, 5> kZenithLimitsDeg = {25.0f, 40.0f, 55.0f, 70.0f, 80.0f};
constexpr std::array<float, 5> kStabilityLimits = {0.015f, 0.035f, 0.07f, 0.15f, 0.30f};
constexpr std::array<float, 3> kWaterLimitsCm = {1.0f, 2.0f, 3.0f};

// 1-based bin of value: the first bin whose (exclusive) upper limit the value is below,
// else the bin after the last limit.
template <std::size_t N>
int BinOf(float value, const std::array<float, N>& upperLimits) {
  for (std::size_t i = 0; i < N; ++i) {
    if (value < upperLimits[i]) return static_cast<int>(i) + 1;
  }
  return static_cast<int>(N) + 1;
}

}  // namespace

int KtPrimeBin(float ktPrime) { return BinOf(ktPrime, kKtPrimeLimits); }

int ZenithBin(float zenithDeg) { return BinOf(zenithDeg, kZenithLimitsDeg); }

int StabilityBin(std::optional<float> deltaKtPrime) {
  if (!deltaKtPrime) return kDeltaBins;
  return BinOf(*deltaKtPrime, kStabilityLimits);
}

int WaterBin(std::optional<float> waterCm) {
  if (!waterCm) return kWaterBins;
  return BinOf(*waterCm, kWaterLimitsCm);
}

float PrecipitableWater(float dewPointC) { return std::exp(0.07f * dewPointC - 0.075f); }

}  // namespace solvane
