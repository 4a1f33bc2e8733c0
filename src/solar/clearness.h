// The zenith-independent clearness index Kt' of an hour and the stability index dKt' of
// three consecutive hours, the inputs of the DIRINT coefficient.
// Source: Perez, R., P. Ineichen, E. Maxwell, R. Seals and A. Zelenka (1992), "Dynamic
// Global-to-Direct Irradiance Conversion Models", ASHRAE Transactions, pp. 354-369; Kt' from
// Perez et al. (1990), "Making Full Use of the Clearness Index for Parameterizing Hourly
// Insolation Conditions", Solar Energy 45(2). Single precision throughout.
#pragma once

#include <optional>

#include "solar/missing_value.h"

namespace solvane {

// Kt' = Kt / (1.031 * exp(-1.4 / (0.9 + 9.4 / AMp)) + 0.1), dimensionless, from the
// clearness index and the pressure-corrected air mass.
float ZenithIndependentClearness(float kt, float pressureAirMass);

// The clearness quantities of one hour. For an hour whose sun is below the horizon
// (cosine < 0) only zenithDeg is set and ktPrime is kMissing.
struct HourClearness {
  float zenithDeg = 0.0f;        // solar zenith angle, degrees
  float kt = 0.0f;               // clearness index
  float airMass = 0.0f;          // relative air mass, limited to 15.25
  float pressureAirMass = 0.0f;  // air mass corrected for the site elevation
  float ktPrime = kMissing;      // zenith-independent clearness index
};

// Clearness of an hour from its global irradiance (W/m2), the cosine of its zenith angle,
// the day's extraterrestrial normal irradiance (W/m2) and the site elevation (m).
HourClearness EvaluateHour(float global, float cosZenith, float extraterrestrial,
                           float elevationM);

// Clearness of a neighbouring hour: ktPrime is kMissing when its irradiance or its cosine
// carries the missing marker, or when its sun is below the horizon.
HourClearness EvaluateNeighbour(float global, float cosZenith, float extraterrestrial,
                                float elevationM);

// Stability index dKt' from the Kt' of the previous hour, this hour and the next hour, a
// neighbour without Kt' being kMissing: the mean absolute change when both neighbours have
// one, the one-sided change when only one has, nothing when neither has.
std::optional<float> StabilityIndex(float ktPrimePrev, float ktPrime, float ktPrimeNext);

}  // namespace solvane
