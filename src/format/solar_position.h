// Where the sun stands in a given hour: the cosine of the solar zenith angle that
// stands for the whole hour, for the direct-normal estimate of the solar library.
// Declination after Cooper (1969); equation of time as a Fourier series in hours.
#pragma once

namespace kestrum {

// Tangent as sine over cosine; x in radians.
double TanSinCos(double x);

// Arc cosine built on the arc tangent, radians 0..pi: pi/2 for 0, atan(sqrt(1 - x^2) / x)
// for positive x and that plus pi for negative x. x must lie in -1..1.
double ArcCos(double x);

// Cosine of the solar zenith angle (dimensionless, 0..1) that stands for one hour.
//   day:           day of the year, 1..365 (1 January = 1)
//   hour:          hour of the day 1..24 in local standard time, hour h covering clock
//                  time h-1 to h; 0 and 25 (the neighbours of a day's first and last
//                  hour) are taken as 24 of the same day
//   latitude:      degrees, north positive
//   longitudeWest: degrees, west positive
//   timeZone:      hours from Greenwich, west negative (-7 for US Mountain time)
// The value is the cosine at the middle of the hour or, in the hour of sunrise or
// sunset, at the middle of the part of the hour in which the sun is up; 0 when the sun
// is down for the whole hour. Where the sun does not set that day (polar day) every hour
// gives its mid-hour cosine; where it does not rise (polar night) every hour gives 0.
double HourlyCosZenith(int day, int hour, double latitude, double longitudeWest,
                       double timeZone);

// What every hour of one day at one latitude shares: computed once, it spares the
// hourly calls the trigonometry of the day (the hourly formatter asks three hours of
// the same day for every estimated hour).
struct SolarDay {
  double sinPart = 0;    // sin(declination) * sin(latitude)
  double cosPart = 0;    // cos(declination) * cos(latitude)
  double eotHours = 0;   // equation of time, hours
  double sunsetArg = 0;  // -tan(latitude) * tan(declination), the sunset cosine
  double omegaS = 0;     // sunset hour angle, radians (0 or pi beyond the polar circles)
};

// day: 1..365; latitude: degrees, north positive.
SolarDay SolarDayAt(int day, double latitude);

// HourlyCosZenith for a day prepared by SolarDayAt; the same value to the last bit.
double HourlyCosZenith(const SolarDay& sun, int hour, double longitudeWest, double timeZone);

}  // namespace kestrum
