#include "solar/dirint_coefficient.h"

#include <algorithm>
#include <array>
#include <span>

#include "solar/dirint_table.h"

namespace solvane {
namespace {

// Representative values of the bins, index 0 = bin 1.
constexpr std::array<float, kZenithBins> kZenithCentresDeg = {19.0f, 32.5f, 47.5f,
                                                              62.5f, 75.0f, 82.5f};
constexpr std::array<float, 4> kWaterCentresCm = {0.75f, 1.5f, 2.5f, 3.5f};

// Lower bin and its weight for value in bin `bin`, centres[i] standing for bin i + 1. The
// last bin with a centre and the first bin take weight 1 beyond their own centre; the upper
// bin is limited to upperLimit.
BinPair PairAround(int bin, float value, std::span<const float> centres, int upperLimit) {
  const int lastBin = static_cast<int>(centres.size());
  BinPair pair;
  bool weightFixed = false;
  if (value >= centres[bin - 1]) {
    pair.lower = bin;
    if (bin == lastBin) weightFixed = true;
  } else if (bin == 1) {
    pair.lower = 1;
    weightFixed = true;
  } else {
    pair.lower = bin - 1;
  }
  if (weightFixed) {
    pair.lowerWeight = 1.0f;
  } else {
    const float upperCentre = centres[pair.lower];  // centre of bin lower + 1
    const float lowerCentre = centres[pair.lower - 1];
    pair.lowerWeight = (upperCentre - value) / (upperCentre - lowerCentre);
  }
  pair.upper = std::min(pair.lower + 1, upperLimit);
  return pair;
}

}  // namespace

KtPrimeWeights ClearSkyWeights(float ktPrime) {
  KtPrimeWeights weights;
  if (ktPrime >= 0.75f) weights.bin6 = std::min(1.0f, (ktPrime - 0.75f) * 14.285714f);
  weights.bin5 = 1.0f - weights.bin6;
  return weights;
}

BinPair ZenithPair(int zenithBin, float zenithDeg) {
  return PairAround(zenithBin, zenithDeg, kZenithCentresDeg, kZenithBins);
}

BinPair WaterPair(int waterBin, float waterCm) {
  if (waterBin == kWaterBins) return BinPair{kWaterBins, kWaterBins, 1.0f};
  return PairAround(waterBin, waterCm, kWaterCentresCm, kWaterBins);
}

float DirintCoefficient(const DirintBins& bins, float ktPrime, float zenithDeg, float waterCm) {
  if (bins.kt <= 4) return DirintCell(bins.kt, bins.zenith, bins.delta, bins.water);

  const KtPrimeWeights kw = ClearSkyWeights(ktPrime);
  const BinPair zp = ZenithPair(bins.zenith, zenithDeg);
  const BinPair wp = WaterPair(bins.water, waterCm);
  const int d = bins.delta;
  auto blended = [&](int z, int w) {
    return kw.bin5 * DirintCell(5, z, d, w) + kw.bin6 * DirintCell(6, z, d, w);
  };
  const float wz = zp.lowerWeight;
  const float ww = wp.lowerWeight;
  return ww * (wz * blended(zp.lower, wp.lower) + (1.0f - wz) * blended(zp.upper, wp.lower)) +
         (1.0f - ww) *
             (wz * blended(zp.lower, wp.upper) + (1.0f - wz) * blended(zp.upper, wp.upper));
}

}  // namespace solvane
