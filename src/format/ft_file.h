// The FT weather text file: a site line, a line of monthly factors, the monthly ground
// temperatures, and one 78-character record per hour. Lines end with CR LF (added by
// the writer, not by these functions).
#pragma once

#include <array>
#include <string>

#include "format/text_sink.h"

namespace kestrum {

struct FtSite {
  bool epw = true;           // "EPW " + 16 characters + "2005", or 25 characters of a CSV run
  std::string description;   // SiteInfo description
  double latitude = 0;       // degrees, north positive
  double longitude = 0;      // degrees, east positive (written with its sign reversed)
  double timeZone = 0;       // hours, west negative (written with its sign reversed)
};

// Header line 1, 51 characters for the usual values.
std::string FtSiteLine(const FtSite& site);

// Header line 2: twelve "  1.00".
std::string FtFactorLine();

// Monthly ground temperatures, deg R, January first, from the 8760 cleaned dry bulbs (deg F)
// of a site at latitude (degrees, north positive). The annual wave of the ground lags the
// air's by some six weeks: warmest in September north of the equator, in March south of it
// (below latitude 0 the seasonal term changes sign).
std::array<double, 12> GroundTemperatures(const float* dryBulbF, double latitude);

// Header line 3: each value as one blank followed by the value with 1 decimal.
std::string FtGroundLine(const std::array<double, 12>& groundTempsR);

// One hour, in the units of the hourly formatter (double precision).
struct FtHour {
  int month = 1, day = 1, hour = 1;
  double wetBulbF = 0;
  double dryBulbF = 0;
  double pressureKPa = 101.325;
  double snowFlag = 0;          // rounded half to even
  double rainFlag = 0;          // rounded half to even
  double windDirectionDeg = 0;  // written as a sector 0..15
  double humRatio = 0;          // lb/lb
  double densityLbFt3 = 0;      // dry air
  double enthalpyBtuLb = 0;
  double globalWm2 = 0;         // written in Btu/(h ft2), 0 below 1
  double directNormalWm2 = 0;   // written in Btu/(h ft2), 0 below 1
  double cloudType = 2;         // rounded half to even
  double windSpeedMph = 0;      // written in knots
};

// Appends the hour's 78-character record (no line end).
void AppendFtRecord(TextSink& out, const FtHour& hour);

// Wind-direction sector 0..15: direction / 22.5 rounded half to even; 0 outside 0..15.
int WindSector(double directionDeg);

}  // namespace kestrum
