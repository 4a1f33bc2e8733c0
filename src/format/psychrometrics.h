// Moist-air relations for the hourly formatter: small pure functions after the
// psychrometric chapter of the ASHRAE Handbook of Fundamentals (inch-pound units with
// pressures in kPa).
//
// Units unless a name says otherwise: temperatures in deg F, pressures in kPa, humidity
// ratio in lb water / lb dry air, density in lb/ft3, enthalpy in Btu/lb dry air.
//
// The functions never hand back an infinity or a NaN: where a relation has no value
// (a division by zero, the logarithm of zero or of a negative number) they throw
// RunError. The two that warn the user first take a RunUi for the notice.
#pragma once

namespace kestrum {

class RunUi;

// Barometric pressure at elevation, kPa:
//   p = 101.325 * (1 - 0.003566 * z / (t + 459.67)) ^ 5.26
// t: the hour's dry bulb, deg F (it enters the lapse term); z: elevation, ft.
// Throws RunError when the base is not positive (elevation far above any site).
double StationPressure(double dryBulbF, double elevationFt);

// Saturation vapour pressure over water (t >= 32 deg F) or ice (t < 32 deg F), kPa,
// Hyland-Wexler correlations evaluated in kelvin. Throws RunError at or below absolute zero.
double SatPressure(double tempF);

// Vapour pressure from relative humidity: pw = phi * pws, kPa; phi is a fraction 0..1.
double VapPresFromRH(double satPressureKPa, double relHumFraction);

// Vapour pressure from humidity ratio: pw = p * W / (0.62198 + W), kPa.
double VapPresFromHumRatio(double pressureKPa, double humRatio);

// Humidity ratio from vapour pressure: W = 0.62198 * pw / (p - pw), lb/lb.
// When p equals pw exactly the user is told "uh oh, atmospheric and water vapor
// pressures are equal!" through ui and RunError is thrown.
double HumRatioFromVapPres(double vapPressureKPa, double pressureKPa, RunUi& ui);

// Relative humidity, %, from the degree of saturation mu = W / Ws:
//   RH = mu / (1 - (1 - mu) * pws / p) * 100
// pws and Ws are taken at the dry bulb.
double RelHumFromHumRatio(double satPressureKPa, double pressureKPa, double humRatio,
                          double satHumRatio);

// Humidity ratio from the wet bulb, lb/lb:
//   W = ((1093 - 0.556 t*) Ws* - 0.24 (t - t*)) / (1093 + 0.444 t - t*)
// Ws*: saturation humidity ratio at the wet bulb t*; t: dry bulb, deg F. One expression
// above and below freezing.
double HumRatioFromWetBulb(double satHumRatioAtWetBulb, double dryBulbF, double wetBulbF);

// Dew point, deg C, from vapour pressure in kPa (SI correlation on ln of pw in Pa):
//   a = ln(1000 pw); td = -35.957 - 1.872 a + 1.1689 a^2, or below 0 deg C
//   td = -60.45 + 7.0322 a + 0.37 a^2.
// pw < 0: the notice "An impossible psychrometric calculation was encountered." goes
// through ui and the result is 0 deg C. pw == 0 has no dew point: RunError.
double DewPointFromVapPres(double vapPressureKPa, RunUi& ui);

// Dew point, deg F, from vapour pressure in kPa (inch-pound correlation on psi), used
// as a plausibility test. Returns false and sets dewPointF to 0 when pw is not positive.
bool DewPointIP(double vapPressureKPa, double& dewPointF);

// Density of the dry air, lb/ft3:
//   rho = (p - pw) / ((t + 459.67) * 53.352) / 0.04788026
// 53.352 ft lbf/(lb R) is the gas constant of dry air; 0.04788026 turns kPa into lbf/ft2.
double DryAirDensity(double dryBulbF, double pressureKPa, double vapPressureKPa);

// Enthalpy of moist air, Btu/lb dry air: h = 0.24 t + W (1061 + 0.444 t).
double MoistAirEnthalpy(double dryBulbF, double humRatio);

// The dry bulb, deg F, at which air of humidity ratio W at pressure p has wet bulb t*
// (the SI wet-bulb relation solved for the dry bulb, in deg C, then turned into deg F).
// ui receives the notice of HumRatioFromVapPres.
double DryBulbFromWetBulb(double wetBulbF, double humRatio, double pressureKPa, RunUi& ui);
// The same with the saturation pressure at the wet bulb, SatPressure(wetBulbF) (kPa), given.
double DryBulbFromWetBulb(double wetBulbF, double satPressureKPa, double humRatio,
                          double pressureKPa, RunUi& ui);

}  // namespace kestrum
