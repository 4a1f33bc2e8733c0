#include "format/direct_normal_estimate.h"

#include "run/hourly_table.h"

namespace kestrum {

namespace {
constexpr double kMetresPerFoot = 0.3048;
constexpr float kRecordMissing = -999.0f;  // a neighbour hour the library does not get
}  // namespace

DirectNormalEstimator::DirectNormalEstimator(SolvaneLibrary& library, SolarRecord& record,
                                             const float* globalWm2, const SiteParameters& site)
    : library_(library),
      record_(record),
      global_(globalWm2),
      site_(site),
      elevationM_(static_cast<float>(site.elevationFt * kMetresPerFoot)) {}

float DirectNormalEstimator::CosZenith(int hour) const {
  return static_cast<float>(HourlyCosZenith(sun_, hour, site_.longitudeWest, site_.timeZone));
}

double DirectNormalEstimator::Estimate(int n, const CalendarHour& ch, double dewPointF) {
  const int dayOfYear = YearDay(ch.month, ch.day);
  if (sunDay_ != dayOfYear) {
    sun_ = SolarDayAt(dayOfYear, site_.latitude);
    sunDay_ = dayOfYear;
  }
  const int i = n - 1;
  const bool first = n == 1;
  const bool last = n == kHoursPerYear;
  record_.GlobalPrev = first ? kRecordMissing : global_[i - 1];
  record_.CosZenithPrev = first ? kRecordMissing : CosZenith(ch.hour - 1);
  record_.Global = global_[i];
  record_.CosZenith = CosZenith(ch.hour);
  record_.GlobalNext = last ? kRecordMissing : global_[i + 1];
  record_.CosZenithNext = last ? kRecordMissing : CosZenith(ch.hour + 1);
  record_.DewPointC = static_cast<float>((dewPointF - 32.0) / 1.8);
  record_.DayOfYear = dayOfYear;
  record_.ElevationM = elevationM_;
  return library_.estimate();
}

}  // namespace kestrum
