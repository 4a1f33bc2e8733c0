// The DISC model: direct-normal irradiance from the clearness index and the air mass.
// Source: Maxwell, E. L. (1987), "A Quasi-Physical Model for Converting Hourly Global
// Horizontal to Direct Normal Insolation", SERI/TR-215-3087. Everything is computed in
// single precision, as the estimate has always been.
//
// Two constants differ from the published model and are kept as they are: the cubic term of
// the low-clearness "a" coefficient is 2.22 (published 2.222), and the air-mass formula uses
// 93.9 (published 93.885). The DISC step also takes the air mass without the pressure
// correction.
#pragma once

namespace solvane {

// Extraterrestrial normal irradiance, W/m2, of day dayOfYear (1..365):
// 1367 * (1 + 0.033 * cos(0.0172142 * n)).
float ExtraterrestrialNormal(int dayOfYear);

// Solar zenith angle, degrees, of a cosine; the cosine is limited to -1..1 first so that a
// value rounded just past 1 still gives an angle.
float ZenithDegrees(float cosZenith);

// Relative optical air mass (Kasten 1966 form), dimensionless, for cosZenith >= 0 and its
// zenith angle in degrees: 1 / (mu + 0.15 * (93.9 - Zd)^-1.253), at most 15.25.
float RelativeAirMass(float cosZenith, float zenithDeg);

// Air mass corrected for the site's pressure: airMass * exp(-0.0001184 * elevation in m).
float PressureCorrectedAirMass(float airMass, float elevationM);

// Clearness index Kt, dimensionless: global (W/m2) over the extraterrestrial irradiance
// (W/m2) on the horizontal, the cosine floored at 0.065.
float ClearnessIndex(float global, float extraterrestrial, float cosZenith);

// DISC direct normal, W/m2, from the clearness index, the relative air mass (not pressure
// corrected) and the extraterrestrial normal irradiance. 0 where the model's exponent
// coefficient c is positive (clearness far above 1). May be negative: the caller limits the
// final estimate.
float DiscDirectNormal(float kt, float airMass, float extraterrestrial);

}  // namespace solvane
