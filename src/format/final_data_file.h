// The final-data review file (<base>-final.csv): two header lines and one row per hour
// of the formatted values, for charting against the values as read.
#pragma once

#include <string>

#include "format/text_sink.h"

namespace kestrum {

inline constexpr const char* kFinalDataHeader1 =
    " , , ,DryBulbT,WetBulbT,DewPtT,RelHum,HumRatio,Sol-GlobHor,Sol-DirNorm,WindSpd,WindDir";
inline constexpr const char* kFinalDataHeader2 =
    "Month,Day,Hour,F,F,F,%,lbmw/lbma,w/m2,w/m2,mph,degrees";

// One hour of the final-data file, in the units of the hourly formatter.
struct FinalDataRow {
  int month = 1, day = 1, hour = 1;
  double dryBulbF = 0;
  double wetBulbF = 0;
  double dewPointF = 0;
  double relHumPct = 0;
  double humRatio = 0;          // lb water / lb dry air
  double globalWm2 = 0;         // global horizontal, W/m2
  double directNormalWm2 = 0;   // from the table or estimated, W/m2
  double windSpeedMph = 0;
  double windDirectionDeg = 0;
};

// Appends the row (no line end): month, day and hour in 2 characters, the four
// temperatures and the relative humidity with 2 decimals in 8, the humidity ratio with
// 6 decimals in 8, the two radiation values with 1 decimal in 7, wind speed and
// direction rounded to whole numbers in 4; fields joined by single commas.
void AppendFinalDataRow(TextSink& out, const FinalDataRow& row);

}  // namespace kestrum
