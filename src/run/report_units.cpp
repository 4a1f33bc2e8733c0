#include "run/report_units.h"

namespace kestrum {

namespace {

constexpr double kMphPerMetrePerSecond = 2.23;  // as the readers convert m/s
constexpr double kWm2PerBtuHFt2 = 3.1546;       // as the FT file converts radiation
constexpr double kMetresPerFoot = 0.3048;

bool Si(ReportUnits units) { return units == ReportUnits::Si; }

}  // namespace

double ReportTemperature(double degF, ReportUnits units) {
  return Si(units) ? (degF - 32.0) / 1.8 : degF;
}
const char* TemperatureUnit(ReportUnits units) { return Si(units) ? "C" : "F"; }

double ReportSpeed(double mph, ReportUnits units) {
  return Si(units) ? mph / kMphPerMetrePerSecond : mph;
}
const char* SpeedUnit(ReportUnits units) { return Si(units) ? "m/s" : "mph"; }

double ReportIrradiance(double wm2, ReportUnits units) {
  return Si(units) ? wm2 : wm2 / kWm2PerBtuHFt2;
}
const char* IrradianceUnit(ReportUnits units) { return Si(units) ? "W/m2" : "Btu/h-ft2"; }

// 1 kBtu/ft2 = 1000 Btu/ft2 = 3154.6 Wh/m2 = 3.1546 kWh/m2.
double ReportRadiationSum(double kwhM2, ReportUnits units) {
  return Si(units) ? kwhM2 : kwhM2 / kWm2PerBtuHFt2;
}
const char* RadiationSumUnit(ReportUnits units) { return Si(units) ? "kWh/m2" : "kBtu/ft2"; }

double ReportElevation(double metres, ReportUnits units) {
  return Si(units) ? metres : metres / kMetresPerFoot;
}
const char* ElevationUnit(ReportUnits units) { return Si(units) ? "m" : "ft"; }

const char* ReportUnitsName(ReportUnits units) { return Si(units) ? "si" : "ip"; }

}  // namespace kestrum
