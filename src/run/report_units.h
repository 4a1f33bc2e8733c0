// The units a run report gives its values in: SI by default, or inch-pound. The table keeps
// deg F, mph and W/m2; these turn them into the report's units.
#pragma once

namespace kestrum {

enum class ReportUnits { Si, Ip };

// Temperature: deg C (SI) or deg F (IP), from deg F.
double ReportTemperature(double degF, ReportUnits units);
const char* TemperatureUnit(ReportUnits units);  // "C" or "F"

// Wind speed: m/s (SI, by the readers' own factor of 2.23 mph per m/s, so that a source's
// 2.0 m/s reports as 2.0) or mph (IP), from mph.
double ReportSpeed(double mph, ReportUnits units);
const char* SpeedUnit(ReportUnits units);  // "m/s" or "mph"

// Irradiance: W/m2 (SI) or Btu/h-ft2 (IP, 3.1546 W/m2 each, the FT file's factor).
double ReportIrradiance(double wm2, ReportUnits units);
const char* IrradianceUnit(ReportUnits units);  // "W/m2" or "Btu/h-ft2"

// Radiation summed over a month or the year: kWh/m2 (SI) or kBtu/ft2 (IP), from kWh/m2.
double ReportRadiationSum(double kwhM2, ReportUnits units);
const char* RadiationSumUnit(ReportUnits units);  // "kWh/m2" or "kBtu/ft2"

// Elevation: m (SI) or ft (IP), from metres.
double ReportElevation(double metres, ReportUnits units);
const char* ElevationUnit(ReportUnits units);  // "m" or "ft"

// "si" or "ip".
const char* ReportUnitsName(ReportUnits units);

}  // namespace kestrum
