#include "format/ft_file.h"

#include <cmath>

#include "format/fixed_text.h"
#include "run/calendar.h"
#include "run/hourly_table.h"
#include "run/run_error.h"

namespace kestrum {

namespace {

// Radiation in W/m2 per Btu/(h ft2), station pressure in kPa per inch of mercury,
// wind speed in mph per knot.
constexpr double kWm2PerBtuHFt2 = 3.1546;
constexpr double kKPaPerInHg = 3.38642;
constexpr double kMphPerKnot = 1.151;

// text cut to its first `keep` characters and padded on the left with blanks to `width`.
void AppendCutLeftPadded(std::string& out, const std::string& text, size_t keep, size_t width) {
  const std::string cut = text.substr(0, keep);
  if (cut.size() < width) out.append(width - cut.size(), ' ');
  out += cut;
}

// text cut to its first `keep` characters and padded on the right with blanks to `width`.
void AppendCutRightPadded(std::string& out, const std::string& text, size_t keep, size_t width) {
  const std::string cut = text.substr(0, keep);
  out += cut;
  if (cut.size() < width) out.append(width - cut.size(), ' ');
}

// "w.0." notation: the value rounded to a whole number (halves away from zero),
// right-aligned in `width` characters and followed by a period.
void AppendWholeWithPoint(TextSink& out, double v, int width) {
  out.Fixed(v, width, 0);
  out.Char('.');
}

// An integer code (flag, cloud type): nearest integer, halves to the even neighbour,
// right-aligned in `width` characters. Written through the fixed-width writer so that
// a huge value is shown in full instead of overflowing an integer type.
void AppendCode(TextSink& out, double v, int width) {
  if (!std::isfinite(v)) throw RunError("A code that is not a finite number cannot be written");
  out.Fixed(std::nearbyint(v), width, 0);
}

// Radiation in W/m2 written in Btu/(h ft2); a quotient below 1 is written as 0.
void AppendRadiation(TextSink& out, double wm2) {
  double q = wm2 / kWm2PerBtuHFt2;
  if (q < 1.0) q = 0.0;
  out.Fixed(q, 7, 1);
}

}  // namespace

std::string FtSiteLine(const FtSite& site) {
  std::string line;
  line.reserve(51);
  if (site.epw) {
    // Every EPW conversion is labelled with the year 2005.
    AppendCutRightPadded(line, "EPW " + site.description.substr(0, 16), 21, 21);
    line += "2005";
  } else {
    AppendCutRightPadded(line, site.description, 25, 25);
  }
  AppendCutLeftPadded(line, FormatFixed(site.latitude, 0, 2), 8, 8);
  AppendCutLeftPadded(line, FormatFixed(-site.longitude, 0, 2), 8, 8);
  AppendCutLeftPadded(line, FormatFixed(-site.timeZone, 0, 0), 5, 5);
  line += "    5";
  return line;
}

std::string FtFactorLine() {
  std::string line;
  for (int m = 0; m < 12; ++m) line += "  1.00";
  return line;
}

std::array<double, 12> GroundTemperatures(const float* dryBulbF, double latitude) {
  // Monthly and annual means of the dry bulb, deg F.
  std::array<double, 12> sum{};
  std::array<int, 12> count{};
  double annualSum = 0.0;
  for (int h = 1; h <= kHoursPerYear; ++h) {
    const double t = dryBulbF[h - 1];
    const CalendarHour when = SplitHourOfYear(h);
    sum[when.month - 1] += t;
    count[when.month - 1] += 1;
    annualSum += t;
  }
  const double tMean = annualSum / kHoursPerYear;

  // The starting values stay when every monthly mean lies above 100 or below -100.
  double tMin = 100.0;
  double tMax = -100.0;
  for (int m = 0; m < 12; ++m) {
    const double v = sum[m] / count[m];
    if (v < tMin) tMin = v;
    if (v > tMax) tMax = v;
  }

  // Annual wave damped and delayed with depth in soil: diffusivity 0.025 ft2/h, depth
  // factor 10 ft, period 8760 h, phase offset 0.6 rad, each month at its 15th day.
  constexpr double kPi = 3.14159265;
  constexpr double kDiffusivity = 0.025;
  constexpr double kDepth = 10.0;
  constexpr double kPeriodHours = 8760.0;
  constexpr double kPhaseOffset = 0.6;
  constexpr double kRankineOffset = 459.67;
  constexpr std::array<int, 12> kMidMonthDay = {15,  46,  74,  105, 135, 166,
                                                196, 227, 258, 288, 319, 349};
  const double k = 2.0 * kPi / kPeriodHours;  // per hour
  const double x = kDepth * std::sqrt(kPi / (kDiffusivity * kPeriodHours));
  const double e = std::exp(-x);
  const double c = std::cos(x);
  const double s = std::sin(x);
  const double damping = std::sqrt((e * e - 2.0 * e * c + 1.0) / (2.0 * x * x));
  const double phi = std::atan((1.0 - e * (c + s)) / (1.0 - e * (c - s)));
  const double amplitude = (tMax - tMin) * 0.5;
  // The seasons are half a year apart on the two sides of the equator: the southern wave
  // is the northern one with its sign changed.
  const double hemisphere = latitude < 0.0 ? -1.0 : 1.0;

  std::array<double, 12> groundR{};
  for (int m = 0; m < 12; ++m) {
    groundR[m] = tMean -
                 hemisphere * amplitude * damping *
                     std::cos(k * 24.0 * kMidMonthDay[m] - kPhaseOffset - phi) +
                 kRankineOffset;
  }
  return groundR;
}

std::string FtGroundLine(const std::array<double, 12>& groundTempsR) {
  std::string line;
  line.reserve(72);
  for (double t : groundTempsR) {
    line += ' ';
    AppendFixed(line, t, 0, 1);
  }
  return line;
}

void AppendFtRecord(TextSink& out, const FtHour& hour) {
  out.Int(hour.month, 2);
  out.Int(hour.day, 2);
  out.Int(hour.hour, 2);
  AppendWholeWithPoint(out, hour.wetBulbF, 4);
  AppendWholeWithPoint(out, hour.dryBulbF, 4);
  out.Fixed(hour.pressureKPa / kKPaPerInHg, 6, 1);
  out.Text("   0.");
  AppendCode(out, hour.snowFlag, 3);
  AppendCode(out, hour.rainFlag, 3);
  out.Int(WindSector(hour.windDirectionDeg), 4);
  out.Fixed(hour.humRatio, 7, 4);
  out.Fixed(hour.densityLbFt3, 6, 3);
  out.Fixed(hour.enthalpyBtuLb, 6, 1);
  AppendRadiation(out, hour.globalWm2);
  AppendRadiation(out, hour.directNormalWm2);
  AppendCode(out, hour.cloudType, 3);
  AppendWholeWithPoint(out, hour.windSpeedMph / kMphPerKnot, 4);
}

int WindSector(double directionDeg) {
  const double q = directionDeg / 22.5;
  if (!std::isfinite(q)) throw RunError("A wind direction that is not a finite number has no sector");
  // Outside -0.5..15.5 the rounded value lies outside 0..15 anyway; testing first keeps a
  // huge direction away from the integer conversion.
  if (q < -0.5 || q > 15.5) return 0;
  const int64_t k = RoundHalfEven(q);
  return (k > 15 || k < 0) ? 0 : static_cast<int>(k);
}

}  // namespace kestrum
