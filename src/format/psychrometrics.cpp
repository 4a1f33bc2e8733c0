#include "format/psychrometrics.h"

#include <cmath>
#include <string>

#include "format/fixed_text.h"
#include "run/run_error.h"
#include "run/run_ui.h"

namespace kestrum {

namespace {

// Molecular weight ratio of water vapour to dry air.
constexpr double kWaterToAir = 0.62198;
// Offset of the Rankine scale, deg F.
constexpr double kRankineOffset = 459.67;

std::string Number(double v, int decimals) {
  return std::isfinite(v) ? FormatFixed(v, 0, decimals) : std::string("(not a number)");
}

}  // namespace

double StationPressure(double dryBulbF, double elevationFt) {
  const double base = 1.0 - 0.003566 * elevationFt / (dryBulbF + kRankineOffset);
  if (!(base > 0.0) || !std::isfinite(base)) {
    throw RunError("The station pressure has no value for a dry bulb of " + Number(dryBulbF, 2) +
                   " deg F at an elevation of " + Number(elevationFt, 1) + " ft.");
  }
  return 101.325 * std::exp(5.26 * std::log(base));
}

double SatPressure(double tempF) {
  const double T = (tempF - 32.0) / 1.8 + 273.15;  // kelvin
  if (!(T > 0.0) || !std::isfinite(T)) {
    throw RunError("The saturation pressure has no value at " + Number(tempF, 2) +
                   " deg F (at or below absolute zero).");
  }
  const double lnT = std::log(T);
  double lnPws = 0.0;  // ln of the pressure in Pa
  if (tempF >= 32.0) {
    // Over liquid water.
    lnPws = -5800.2206 / T + 1.3914993 - 0.048640239 * T + 4.1764768e-5 * T * T -
            1.4452093e-8 * T * T * T + 6.5459673 * lnT;
  } else {
    // Over ice.
    lnPws = -5674.5359 / T + 6.3925247 - 0.009677843 * T + 6.2215701e-7 * T * T +
            2.0747825e-9 * T * T * T - 9.484024e-13 * T * T * T * T + 4.1635019 * lnT;
  }
  return std::exp(lnPws) / 1000.0;
}

double VapPresFromRH(double satPressureKPa, double relHumFraction) {
  return relHumFraction * satPressureKPa;
}

double VapPresFromHumRatio(double pressureKPa, double humRatio) {
  return pressureKPa * humRatio / (kWaterToAir + humRatio);
}

double HumRatioFromVapPres(double vapPressureKPa, double pressureKPa, RunUi& ui) {
  if (pressureKPa == vapPressureKPa) {
    ui.Notice("uh oh, atmospheric and water vapor pressures are equal!");
    throw RunError("The humidity ratio has no value: the atmospheric and water vapour pressures "
                   "are equal (" + Number(pressureKPa, 3) + " kPa).");
  }
  return kWaterToAir * vapPressureKPa / (pressureKPa - vapPressureKPa);
}

double RelHumFromHumRatio(double satPressureKPa, double pressureKPa, double humRatio,
                          double satHumRatio) {
  const double mu = humRatio / satHumRatio;  // degree of saturation
  return mu / (1.0 - (1.0 - mu) * satPressureKPa / pressureKPa) * 100.0;
}

double HumRatioFromWetBulb(double satHumRatioAtWetBulb, double dryBulbF, double wetBulbF) {
  return ((1093.0 - 0.556 * wetBulbF) * satHumRatioAtWetBulb - 0.24 * (dryBulbF - wetBulbF)) /
         (1093.0 + 0.444 * dryBulbF - wetBulbF);
}

double DewPointFromVapPres(double vapPressureKPa, RunUi& ui) {
  if (vapPressureKPa < 0.0) {
    ui.Notice("An impossible psychrometric calculation was encountered.");
    return 0.0;
  }
  if (!(vapPressureKPa > 0.0) || !std::isfinite(vapPressureKPa)) {
    throw RunError("The dew point has no value for a vapour pressure of " +
                   Number(vapPressureKPa, 6) + " kPa.");
  }
  const double a = std::log(vapPressureKPa * 1000.0);  // ln of the pressure in Pa
  const double td = -35.957 - 1.872 * a + 1.1689 * a * a;
  if (td >= 0.0) return td;
  return -60.45 + 7.0322 * a + 0.37 * a * a;
}

bool DewPointIP(double vapPressureKPa, double& dewPointF) {
  const double x = vapPressureKPa / 6.895;  // psi
  if (!(x > 0.0) || !std::isfinite(x)) {
    dewPointF = 0.0;
    return false;
  }
  const double a = std::log(x);
  double td = 100.45 + 33.193 * a + 2.319 * a * a + 0.17074 * a * a * a +
              1.2063 * std::pow(x, 0.1984);
  if (td < 32.0) td = 90.12 + 26.142 * a + 0.8927 * a * a;
  if (!std::isfinite(td)) {
    dewPointF = 0.0;
    return false;
  }
  dewPointF = td;
  return true;
}

double DryAirDensity(double dryBulbF, double pressureKPa, double vapPressureKPa) {
  return (pressureKPa - vapPressureKPa) / ((dryBulbF + kRankineOffset) * 53.352) / 0.04788026;
}

double MoistAirEnthalpy(double dryBulbF, double humRatio) {
  return 0.24 * dryBulbF + humRatio * (1061.0 + 0.444 * dryBulbF);
}

double DryBulbFromWetBulb(double wetBulbF, double humRatio, double pressureKPa, RunUi& ui) {
  return DryBulbFromWetBulb(wetBulbF, SatPressure(wetBulbF), humRatio, pressureKPa, ui);
}

double DryBulbFromWetBulb(double wetBulbF, double satPressureKPa, double humRatio,
                          double pressureKPa, RunUi& ui) {
  const double wsStar = HumRatioFromVapPres(satPressureKPa, pressureKPa, ui);
  const double tc = (wetBulbF - 32.0) / 1.8;  // wet bulb, deg C
  const double dryBulbC =
      (tc + (2501.0 - 2.381 * tc) * wsStar - 2501.0 * humRatio + 4.186 * tc * humRatio) /
      (1.0 + 1.805 * humRatio);
  return dryBulbC * 1.8 + 32.0;
}

}  // namespace kestrum
