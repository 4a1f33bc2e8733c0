#include "solar/disc.h"

#include <algorithm>
#include <cmath>

namespace solvane {

float ExtraterrestrialNormal(int dayOfYear) {
  const float n = static_cast<float>(dayOfYear);
  return 1367.0f * (1.0f + 0.033f * std::cos(0.0172142f * n));
}

float ZenithDegrees(float cosZenith) {
  const float mu = std::clamp(cosZenith, -1.0f, 1.0f);
  const float zenithRad = std::acos(mu);
  return 57.29578f * zenithRad;
}

float RelativeAirMass(float cosZenith, float zenithDeg) {
  const float airMass = 1.0f / (cosZenith + 0.15f * std::pow(93.9f - zenithDeg, -1.253f));
  return std::min(airMass, 15.25f);
}

float PressureCorrectedAirMass(float airMass, float elevationM) {
  return airMass * std::exp(-0.0001184f * elevationM);
}

float ClearnessIndex(float global, float extraterrestrial, float cosZenith) {
  return global / (extraterrestrial * std::max(cosZenith, 0.065f));
}

float DiscDirectNormal(float kt, float airMass, float extraterrestrial) {
  const float kt2 = kt * kt;
  const float kt3 = kt2 * kt;
  float a, b, c;
  if (kt <= 0.6f) {
    a = 0.512f - 1.56f * kt + 2.286f * kt2 - 2.22f * kt3;
    b = 0.37f + 0.962f * kt;
    c = -0.28f + 0.932f * kt - 2.048f * kt2;
  } else {
    a = -5.743f + 21.77f * kt - 27.49f * kt2 + 11.56f * kt3;
    b = 41.4f - 118.5f * kt + 66.05f * kt2 + 31.9f * kt3;
    c = -47.01f + 184.2f * kt - 222.0f * kt2 + 73.81f * kt3;
  }
  if (c > 0.0f) return 0.0f;

  const float am = airMass;
  const float am2 = am * am;
  const float knc = 0.866f - 0.122f * am + 0.0121f * am2 - 0.000653f * am2 * am +
                    0.000014f * am2 * am2;
  return extraterrestrial * (knc - (a + b * std::exp(c * am)));
}

}  // namespace solvane
