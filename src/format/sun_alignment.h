// Whether the hours of a weather year keep time with the sun: the global horizontal
// radiation of the year set against the sun's height at the site, hour by hour, for every
// whole-hour shift of one against the other. A file stamped in UTC, at the start of each
// hour or with a wrong time zone shows its sun a whole number of hours off the clock.
//
// Sun's height: HourlyCosZenith (solar_position.h) of each hour of the 365-day year, the
// same model the direct-normal estimate uses. Measure: Pearson's correlation coefficient
// over all 8760 hours, the sun series shifted with wrap-around at the end of the year.
#pragma once

#include <optional>
#include <span>

namespace kestrum {

inline constexpr int kMaxSunShiftHours = 12;

struct SunAlignment {
  // The whole-hour shift k, -12..12, that best aligns the radiation with the sun: moving
  // every hour of the radiation k hours later (the row of hour s to hour s + k) puts its
  // sun where the site's clock has it. k > 0: the sun in the data rises and peaks k hours
  // early against the clock; k < 0: late; 0: aligned.
  int shiftHours = 0;
  // The same shift before rounding, hours: the peak of the correlation over the whole-hour
  // shifts refined by a parabola through the best shift and its two neighbours.
  double exactShiftHours = 0;
  // Correlation coefficient (dimensionless, -1..1) at the best whole-hour shift.
  double correlation = 0;
};

// Below this correlation at the best shift the radiation holds no daily course of the sun
// to align (a column of something else, or of mostly repaired hours): no shift is named.
inline constexpr double kMinSunCorrelation = 0.3;
// The fewest measured hours (a month) whose radiation is set against the sun.
inline constexpr int kMinSunHours = 30 * 24;

// The sun's height of every hour of the year, hour of the year n at index n - 1:
// HourlyCosZenith (dimensionless, 0..1) for the site.
//   latitude:      degrees, north positive
//   longitudeWest: degrees, west positive
//   timeZone:      hours from Greenwich, west negative
void HourlySunHeights(double latitude, double longitudeWest, double timeZone,
                      std::span<double> cosZenith);

// The correlation coefficient of the pairs (a[i], b[(i + k) mod n]) for each k in
// -maxShift..maxShift (result index k + maxShift), over the places i where counted[i] is
// true (every place when counted is empty). a, b and a non-empty counted have the same
// length n > 2 * maxShift. 0 where either side of the pairs has no variance.
void ShiftCorrelations(std::span<const double> a, std::span<const double> b,
                       std::span<const bool> counted, int maxShift,
                       std::span<double> correlations);

// Aligns the global horizontal radiation of the 8760 hours (W/m2, as converted) with the
// sun of the site (arguments as for HourlySunHeights). measured[n - 1] tells whether hour n
// holds a value of the source (false: one the cleaning pass made); only those are set
// against the sun, so that a day copied over a missing season cannot lend its clouds to
// the whole year. Empty: every hour counts.
//
// Rule: the best whole-hour shift k0 in -12..12, refined by the vertex of the parabola
// through the correlations at k0 - 1, k0 and k0 + 1, rounded to the nearest whole hour
// (halves away from zero). Clouds that favour one half of the day move the radiation's
// centre by up to a quarter of an hour or so in files that keep time (Golden +0.20 h,
// San Francisco -0.12 h); files stamped a whole hour off land within that distance of the
// whole hour, and one whose samples lie between (PVGIS, UTC and 0.18 h after the stamp, at
// a site one hour east of Greenwich: +0.63 h) on the side of the nearer whole hour.
//
// nullopt when fewer than kMinSunHours hours count, when the radiation has no variance (no
// sun at all, or a constant) or its best correlation lies below kMinSunCorrelation.
std::optional<SunAlignment> AlignWithSun(std::span<const float> globalWm2, double latitude,
                                         double longitudeWest, double timeZone,
                                         std::span<const bool> measured = {});

// The time zone the longitude suggests, hours: longitude (degrees, east positive) / 15.
double LongitudeTimeZone(double longitude);

// True when the time zone (hours, west negative) lies more than 3 hours from
// LongitudeTimeZone(longitude): a sign or a zone that is likely wrong.
bool TimeZoneFarFromLongitude(double timeZone, double longitude);

}  // namespace kestrum
