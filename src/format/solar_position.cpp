#include "format/solar_position.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace kestrum {

namespace {

constexpr double kPi = std::numbers::pi;
// Hour angle of one hour, radians (15 degrees as the rounded literal the model uses).
constexpr double kHourAngle = 0.2618;
// Hour angle of half an hour, radians.
constexpr double kHalfHourAngle = 0.1309;
// Obliquity of the ecliptic, 23.45 degrees in radians.
constexpr double kObliquity = 0.4092797;

}  // namespace

double TanSinCos(double x) { return std::sin(x) / std::cos(x); }

double ArcCos(double x) {
  if (x == 0.0) return kPi / 2.0;
  const double a = std::atan(std::sqrt(1.0 - x * x) / x);
  return x > 0.0 ? a : a + kPi;
}

SolarDay SolarDayAt(int day, double latitude) {
  SolarDay sun;
  const double phi = latitude * kPi / 180.0;  // latitude, radians

  // Solar declination, radians.
  const double delta = kObliquity * std::sin((day + 284) * 2.0 * kPi / 365.0);

  // Equation of time, hours, on the day angle X (radians).
  const double X = day * 2.0 * kPi / 366.0;
  sun.eotHours = 0.0000696 + 0.00706 * std::cos(X) - 0.0533 * std::cos(2.0 * X) -
                 0.00157 * std::cos(3.0 * X) - 0.122 * std::sin(X) - 0.156 * std::sin(2.0 * X) -
                 0.00556 * std::sin(3.0 * X);

  sun.sinPart = std::sin(delta) * std::sin(phi);
  sun.cosPart = std::cos(delta) * std::cos(phi);

  // Sunset hour angle. Beyond the polar circles the argument leaves -1..1: above 1 the
  // sun stays down all day, below -1 it stays up all day; the arc cosine takes it limited.
  sun.sunsetArg = -TanSinCos(phi) * TanSinCos(delta);
  sun.omegaS = ArcCos(std::clamp(sun.sunsetArg, -1.0, 1.0));
  return sun;
}

double HourlyCosZenith(const SolarDay& sun, int hour, double longitudeWest, double timeZone) {
  if (hour == 0 || hour > 24) hour = 24;
  const double lambdaW = longitudeWest * kPi / 180.0;  // longitude, radians, west positive

  // Hour angle at the middle of the hour, radians, positive in the afternoon.
  const double omega = kHourAngle * (hour - 12 - timeZone + sun.eotHours - 0.5) - lambdaW;

  if (sun.sunsetArg > 1.0) return 0.0;  // polar night
  if (sun.sunsetArg < -1.0) return std::max(0.0, sun.cosPart * std::cos(omega) + sun.sinPart);

  // The edge of the hour nearer to noon; hour 12 (11:00 to 12:00) counts as afternoon.
  const bool morning = hour < 12;
  const double omegaE = morning ? omega + kHalfHourAngle : omega - kHalfHourAngle;

  if (std::fabs(omegaE) > std::fabs(sun.omegaS)) return 0.0;  // down for the whole hour

  // Part of the hour, in hour angle, with the sun up; when the sun rises or sets inside
  // the hour, move to the middle of the sunlit part.
  const double sunlit = std::fabs(sun.omegaS) - std::fabs(omegaE);
  double omegaMid = omega;
  if (sunlit > 0.0 && sunlit < kHourAngle) {
    omegaMid = morning ? omega + (kHourAngle - sunlit) / 2.0 : omega - (kHourAngle - sunlit) / 2.0;
  }
  return sun.cosPart * std::cos(omegaMid) + sun.sinPart;
}

double HourlyCosZenith(int day, int hour, double latitude, double longitudeWest,
                       double timeZone) {
  return HourlyCosZenith(SolarDayAt(day, latitude), hour, longitudeWest, timeZone);
}

}  // namespace kestrum
