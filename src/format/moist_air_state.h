// The complete moist-air state of one hour, derived from its dry bulb and the one
// moisture quantity the source gives (dew point, wet bulb or relative humidity).
#pragma once

#include <cmath>
#include <cstdint>
#include <optional>

namespace kestrum {

class RunUi;
class WetBulbMemo;

// What the Moisture series of a formatted run holds (the run state's moistureKind).
inline constexpr uint8_t kMoistureKindDewPoint = 1;  // deg F
inline constexpr uint8_t kMoistureKindWetBulb = 2;   // deg F
inline constexpr uint8_t kMoistureKindRelHum = 3;    // %

// The wet-bulb search gives up after this many evaluations of the dry-bulb relation.
inline constexpr int kWetBulbSearchLimit = 10000;

// The step search behind the wet bulb. error(g) is the error of guess g, falling as g
// rises. From start it walks with steps of 1, 0.1, 0.01, ... in the direction the sign
// of the error points (+1 when the error is above 0, else -1), reversing at each sign
// change, and returns the first guess past a sign change whose error is below 0.01 in
// size. Gives nothing when that takes more than `limit` evaluations.
template <class ErrorFn>
std::optional<double> StepSearch(ErrorFn&& error, double start, int limit) {
  auto direction = [](double e) { return e > 0.0 ? 1 : -1; };
  int evaluations = 1;
  double guess = start;
  double step = 10.0;
  // The error at the current guess; each round starts from the last one evaluated.
  double e = error(guess);
  for (;;) {
    const int d = direction(e);
    step /= 10.0;
    do {
      if (++evaluations > limit) return std::nullopt;
      guess += d * step;
      e = error(guess);
    } while (direction(e) == d);
    if (std::fabs(e) < 0.01) return guess;
  }
}

struct MoistAirState {
  double pressureKPa = 0;     // station pressure
  double vapPressureKPa = 0;  // water vapour pressure
  double humRatio = 0;        // lb water / lb dry air
  double wetBulbF = 0;
  double dewPointF = 0;
  double relHumPct = 0;
  double densityLbFt3 = 0;    // dry air
  double enthalpyBtuLb = 0;   // Btu / lb dry air
};

// Wet bulb, deg F, of air at dry bulb t (deg F), humidity ratio W (lb/lb) and pressure
// p (kPa): StepSearch from the guess t on the error t - DryBulbFromWetBulb(g), deg F.
// Throws RunError when it has not converged after kWetBulbSearchLimit evaluations.
// memo (optional) gives the result of an earlier search for the same three numbers and
// keeps the new ones; the result is the same with or without it.
double WetBulbFromHumRatio(double dryBulbF, double humRatio, double pressureKPa, RunUi& ui,
                           WetBulbMemo* memo = nullptr);

// The state of hour n of the year (n only names the hour in messages) from its dry bulb
// (deg F), its moisture value (deg F or %, as moistureKind says) and the site elevation
// (ft). In the wet-bulb case an implausible vapour pressure gives the notice
// "Psych Error encountered at hour ..." and the hour is still computed. Throws RunError
// for a moisture kind other than 1, 2 or 3 and where a relation has no value.
// wetBulbMemo (optional, kept for a whole run) is handed to WetBulbFromHumRatio.
MoistAirState MoistAirFromHour(int hourOfYear, double dryBulbF, double moisture,
                               int moistureKind, double elevationFt, RunUi& ui,
                               WetBulbMemo* wetBulbMemo = nullptr);

}  // namespace kestrum
