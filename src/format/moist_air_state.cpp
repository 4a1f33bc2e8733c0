#include "format/moist_air_state.h"

#include <cmath>
#include <string>

#include "format/fixed_text.h"
#include "format/psychrometrics.h"
#include "format/wet_bulb_memo.h"
#include "run/run_error.h"
#include "run/run_ui.h"

namespace kestrum {

namespace {

std::string Number(double v, int decimals) {
  return std::isfinite(v) ? FormatFixed(v, 0, decimals) : std::string("(not a number)");
}

double SatPressureMemo(double tempF, WetBulbMemo* memo) {
  return memo != nullptr ? memo->SatPressure(tempF) : SatPressure(tempF);
}

}  // namespace

double WetBulbFromHumRatio(double dryBulbF, double humRatio, double pressureKPa, RunUi& ui,
                           WetBulbMemo* memo) {
  if (memo != nullptr) {
    if (const std::optional<double> known = memo->Find(dryBulbF, humRatio, pressureKPa)) {
      return *known;
    }
  }
  const std::optional<double> wetBulbF = StepSearch(
      [&](double guess) {
        return dryBulbF - DryBulbFromWetBulb(guess, SatPressureMemo(guess, memo), humRatio,
                                             pressureKPa, ui);
      },
      dryBulbF, kWetBulbSearchLimit);
  if (!wetBulbF) {
    throw RunError("The wet bulb for a dry bulb of " + Number(dryBulbF, 2) +
                   " deg F and a humidity ratio of " + Number(humRatio, 6) +
                   " cannot be found: the search did not converge.");
  }
  if (memo != nullptr) memo->Remember(dryBulbF, humRatio, pressureKPa, *wetBulbF);
  return *wetBulbF;
}

MoistAirState MoistAirFromHour(int hourOfYear, double dryBulbF, double moisture,
                               int moistureKind, double elevationFt, RunUi& ui,
                               WetBulbMemo* wetBulbMemo) {
  MoistAirState s;
  const double t = dryBulbF;
  const double p = StationPressure(t, elevationFt);
  s.pressureKPa = p;
  switch (moistureKind) {
    case kMoistureKindDewPoint: {
      s.dewPointF = moisture;
      s.vapPressureKPa = SatPressureMemo(s.dewPointF, wetBulbMemo);
      s.humRatio = HumRatioFromVapPres(s.vapPressureKPa, p, ui);
      const double pws = SatPressureMemo(t, wetBulbMemo);
      const double ws = HumRatioFromVapPres(pws, p, ui);
      s.relHumPct = RelHumFromHumRatio(pws, p, s.humRatio, ws);
      break;
    }
    case kMoistureKindWetBulb: {
      s.wetBulbF = moisture;
      const double wsStar = HumRatioFromVapPres(SatPressureMemo(s.wetBulbF, wetBulbMemo), p, ui);
      s.humRatio = HumRatioFromWetBulb(wsStar, t, s.wetBulbF);
      s.vapPressureKPa = VapPresFromHumRatio(p, s.humRatio);
      double plausibleDewPointF = 0.0;
      if (!DewPointIP(s.vapPressureKPa, plausibleDewPointF)) {
        ui.Notice("Psych Error encountered at hour " + std::to_string(hourOfYear) +
                  " using a WBT of " + Number(s.wetBulbF, 1) + " and a DBT of " +
                  Number(t, 1));
      }
      s.dewPointF = DewPointFromVapPres(s.vapPressureKPa, ui) * 1.8 + 32.0;
      const double pws = SatPressureMemo(t, wetBulbMemo);
      const double ws = HumRatioFromVapPres(pws, p, ui);
      s.relHumPct = RelHumFromHumRatio(pws, p, s.humRatio, ws);
      break;
    }
    case kMoistureKindRelHum: {
      s.relHumPct = moisture;
      const double pws = SatPressureMemo(t, wetBulbMemo);
      s.vapPressureKPa = VapPresFromRH(pws, s.relHumPct / 100.0);
      s.humRatio = HumRatioFromVapPres(s.vapPressureKPa, p, ui);
      s.dewPointF = DewPointFromVapPres(s.vapPressureKPa, ui) * 1.8 + 32.0;
      break;
    }
    default:
      throw RunError("The moisture kind " + std::to_string(moistureKind) +
                     " is not a dew point (1), a wet bulb (2) or a relative humidity (3).");
  }
  s.densityLbFt3 = DryAirDensity(t, p, s.vapPressureKPa);
  s.enthalpyBtuLb = MoistAirEnthalpy(t, s.humRatio);
  if (moistureKind != kMoistureKindWetBulb) {
    s.wetBulbF = WetBulbFromHumRatio(t, s.humRatio, p, ui, wetBulbMemo);
  }
  return s;
}

}  // namespace kestrum
