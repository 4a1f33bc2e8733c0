#include "solar/clearness.h"

#include <cmath>

#include "solar/disc.h"

namespace solvane {

float ZenithIndependentClearness(float kt, float pressureAirMass) {
  return kt / (1.031f * std::exp(-1.4f / (0.9f + 9.4f / pressureAirMass)) + 0.1f);
}

HourClearness EvaluateHour(float global, float cosZenith, float extraterrestrial,
                           float elevationM) {
  HourClearness hour;
  hour.zenithDeg = ZenithDegrees(cosZenith);
  if (cosZenith < 0.0f) return hour;  // sun below the horizon: no Kt'

  hour.kt = ClearnessIndex(global, extraterrestrial, cosZenith);
  hour.airMass = RelativeAirMass(cosZenith, hour.zenithDeg);
  hour.pressureAirMass = PressureCorrectedAirMass(hour.airMass, elevationM);
  hour.ktPrime = ZenithIndependentClearness(hour.kt, hour.pressureAirMass);
  return hour;
}

HourClearness EvaluateNeighbour(float global, float cosZenith, float extraterrestrial,
                                float elevationM) {
  if (IsMissing(global) || IsMissing(cosZenith)) return HourClearness{};
  return EvaluateHour(global, cosZenith, extraterrestrial, elevationM);
}

std::optional<float> StabilityIndex(float ktPrimePrev, float ktPrime, float ktPrimeNext) {
  const bool hasPrev = !IsMissing(ktPrimePrev);
  const bool hasNext = !IsMissing(ktPrimeNext);
  if (!hasPrev && !hasNext) return std::nullopt;
  if (!hasPrev) return std::fabs(ktPrimeNext - ktPrime);
  if (!hasNext) return std::fabs(ktPrime - ktPrimePrev);
  return 0.5f * (std::fabs(ktPrimeNext - ktPrime) + std::fabs(ktPrime - ktPrimePrev));
}

}  // namespace solvane
