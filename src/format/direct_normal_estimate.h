// Direct normal for an hour whose source gives none: the hour and its neighbours go into
// the solar library's record, the library returns the estimate.
#pragma once

#include "format/outside_libraries.h"
#include "format/site_parameters.h"
#include "format/solar_position.h"
#include "run/calendar.h"

namespace kestrum {

class DirectNormalEstimator {
 public:
  // record: the library's record (from its INIT_DLL); globalWm2: the 8760 global
  // horizontal values of the year, W/m2.
  DirectNormalEstimator(SolvaneLibrary& library, SolarRecord& record, const float* globalWm2,
                        const SiteParameters& site);

  // Direct normal, W/m2, of hour n (1..8760) on calendar hour ch, dew point in deg F.
  // The radiation neighbours cross day boundaries (hour 24 is followed by hour 1 of the
  // next day); the solar-position neighbours keep the day and pass hour 0 or 25, which
  // count as its hour 24. Hours 1 and 8760 have no previous or next hour: -999 marks both
  // of its fields. Every field is stored in single precision.
  double Estimate(int n, const CalendarHour& ch, double dewPointF);

 private:
  float CosZenith(int hour) const;

  SolvaneLibrary& library_;
  SolarRecord& record_;
  const float* global_;
  SiteParameters site_;
  float elevationM_;
  SolarDay sun_;
  int sunDay_ = 0;  // the day of year sun_ was prepared for
};

}  // namespace kestrum
