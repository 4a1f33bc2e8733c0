#include "format/formatter.h"

#include <array>
#include <cmath>
#include <exception>
#include <span>
#include <string>
#include <vector>

#include "format/direct_normal_estimate.h"
#include "format/final_data_file.h"
#include "format/ft_file.h"
#include "format/line_file.h"
#include "format/moist_air_state.h"
#include "format/site_parameters.h"
#include "format/wet_bulb_memo.h"
#include "run/calendar.h"
#include "run/deferred_ui.h"
#include "run/hourly_table.h"
#include "run/run_error.h"
#include "run/side_task.h"

namespace kestrum {

namespace {

constexpr std::array<const char*, 13> kMonthNames = {
    "",     "January", "February",  "March",   "April",    "May",     "June",
    "July", "August",  "September", "October", "November", "December"};

std::string HourText(int n, const CalendarHour& ch) {
  return "hour " + std::to_string(n) + " of the year (" + std::to_string(ch.day) + " " +
         kMonthNames[ch.month] + ", hour " + std::to_string(ch.hour) + ")";
}

// Everything written for one hour, in double precision.
struct FormattedHour {
  CalendarHour ch;
  double dryBulbF = 0;
  MoistAirState air;
  double globalWm2 = 0;
  double directNormalWm2 = 0;
  double windSpeedMph = 0;
  double windDirectionDeg = 0;
  double snowFlag = 0;
  double rainFlag = 0;
  double cloudType = 0;
};

// Throws when a value of hour n is an infinity or a NaN: none may reach a file.
void RequireFinite(const FormattedHour& h, int n) {
  const struct {
    double value;
    const char* name;
  } checked[] = {
      {h.dryBulbF, "dry bulb"},
      {h.air.pressureKPa, "station pressure"},
      {h.air.vapPressureKPa, "vapour pressure"},
      {h.air.humRatio, "humidity ratio"},
      {h.air.wetBulbF, "wet bulb"},
      {h.air.dewPointF, "dew point"},
      {h.air.relHumPct, "relative humidity"},
      {h.air.densityLbFt3, "dry-air density"},
      {h.air.enthalpyBtuLb, "enthalpy"},
      {h.globalWm2, "global horizontal radiation"},
      {h.directNormalWm2, "direct normal radiation"},
      {h.windSpeedMph, "wind speed"},
      {h.windDirectionDeg, "wind direction"},
      {h.snowFlag, "snow flag"},
      {h.rainFlag, "rain flag"},
      {h.cloudType, "cloud type"},
  };
  for (const auto& c : checked) {
    if (!std::isfinite(c.value)) {
      throw DataError("The " + std::string(c.name) + " of " + HourText(n, h.ch) +
                      " is not a finite number.");
    }
  }
}

FtHour ToFtHour(const FormattedHour& h) {
  FtHour f;
  f.month = h.ch.month;
  f.day = h.ch.day;
  f.hour = h.ch.hour;
  f.wetBulbF = h.air.wetBulbF;
  f.dryBulbF = h.dryBulbF;
  f.pressureKPa = h.air.pressureKPa;
  f.snowFlag = h.snowFlag;
  f.rainFlag = h.rainFlag;
  f.windDirectionDeg = h.windDirectionDeg;
  f.humRatio = h.air.humRatio;
  f.densityLbFt3 = h.air.densityLbFt3;
  f.enthalpyBtuLb = h.air.enthalpyBtuLb;
  f.globalWm2 = h.globalWm2;
  f.directNormalWm2 = h.directNormalWm2;
  f.cloudType = h.cloudType;
  f.windSpeedMph = h.windSpeedMph;
  return f;
}

FinalDataRow ToFinalDataRow(const FormattedHour& h) {
  FinalDataRow r;
  r.month = h.ch.month;
  r.day = h.ch.day;
  r.hour = h.ch.hour;
  r.dryBulbF = h.dryBulbF;
  r.wetBulbF = h.air.wetBulbF;
  r.dewPointF = h.air.dewPointF;
  r.relHumPct = h.air.relHumPct;
  r.humRatio = h.air.humRatio;
  r.globalWm2 = h.globalWm2;
  r.directNormalWm2 = h.directNormalWm2;
  r.windSpeedMph = h.windSpeedMph;
  r.windDirectionDeg = h.windDirectionDeg;
  return r;
}

}  // namespace

bool FormatWeatherData(const SiteInfo& site, bool epwUseRelHum, StageContext& ctx,
                       SolvaneLibrary& solvane, FormattedYear* formatted) {
  if (solvane.init == nullptr || solvane.estimate == nullptr) {
    throw RunError("The solar library is not bound: direct normal cannot be estimated.");
  }
  SolarRecord* record = solvane.init();
  if (record == nullptr) throw RunError("The solar library gave no solar record.");

  // Run parameters: the moisture kind and the site, checked before any file is made.
  RunState& state = ctx.state;
  const bool csvRun = state.runMode == RunModeCsv;
  const int kind = csvRun ? state.moistureIndicator + 1
                          : (epwUseRelHum ? kMoistureKindRelHum : kMoistureKindDewPoint);
  if (kind < kMoistureKindDewPoint || kind > kMoistureKindRelHum) {
    throw RunError("The moisture column is marked " + std::to_string(state.moistureIndicator) +
                   ", which is not a dew point (0), a wet bulb (1) or a relative humidity (2).");
  }
  state.moistureKind = static_cast<uint8_t>(kind);
  const SiteParameters sp = ReadSiteParameters(site);

  LineFile ft(ctx.RunFile(".ft"));
  LineFile fin(ctx.RunFile("-final.csv"));

  const HourlyTable& table = ctx.table;
  FtSite ftSite;
  ftSite.epw = !csvRun;
  ftSite.description = site.description;
  ftSite.latitude = sp.latitude;
  ftSite.longitude = sp.longitude;
  ftSite.timeZone = sp.timeZone;
  ft.WriteLine(FtSiteLine(ftSite));
  ft.WriteLine(FtFactorLine());
  ft.WriteLine(FtGroundLine(GroundTemperatures(table.series(DryBulb), sp.latitude)));
  fin.WriteLine(kFinalDataHeader1);
  fin.WriteLine(kFinalDataHeader2);

  ctx.ui.EchoLine("  Performing hourly psychrometric calculations.");
  ctx.ui.Repaint();

  const float* dryBulb = table.series(DryBulb);
  const float* moisture = table.series(Moisture);
  const float* global = table.series(SolarHorizontal);
  const float* directNormal = table.series(SolarDirectNormal);
  DirectNormalEstimator estimator(solvane, *record, global, sp);

  if (formatted != nullptr) {
    for (std::vector<double>* v : {&formatted->directNormalWm2, &formatted->dewPointF,
                                   &formatted->relHumPct, &formatted->pressureKPa}) {
      v->assign(kHoursPerYear, 0.0);
    }
  }
  // Every hour is computed first, then the two files are written from the same hours, the
  // final-data file on a second thread: neither text depends on the other. An hour that
  // cannot be computed still leaves the hours before it in both files.
  std::vector<FormattedHour> hours(static_cast<size_t>(kHoursPerYear));

  // First the air of every hour, the second half of the year on a second thread. Each half
  // remembers its own wet bulbs (hours that repeat an earlier hour's air skip the search;
  // what is remembered never changes a result) and keeps what the relations tell the
  // user, marked with its hour, for the hours below to pass on in order.
  struct AirHalf {
    int first = 1, last = kHoursPerYear;
    WetBulbMemo wetBulbs;
    DeferredUi ui;
    int failedHour = 0;  // 0: every hour of the half computed
    std::exception_ptr error;
  };
  const auto computeAir = [&](AirHalf& half) {
    for (int n = half.first; n <= half.last; ++n) {
      const int i = n - 1;
      FormattedHour& h = hours[static_cast<size_t>(i)];
      h.ch = SplitHourOfYear(n);
      h.dryBulbF = dryBulb[i];
      half.ui.SetMark(n);
      try {
        h.air = MoistAirFromHour(n, h.dryBulbF, moisture[i], kind, sp.elevationFt, half.ui,
                                 &half.wetBulbs);
      } catch (const RunError& e) {
        half.error = std::make_exception_ptr(
            DataError(std::string(e.what()) + " At " + HourText(n, h.ch) + "."));
      } catch (...) {
        half.error = std::current_exception();
      }
      if (half.error != nullptr) {
        half.failedHour = n;
        return;
      }
    }
  };
  AirHalf firstHalf, secondHalf;
  firstHalf.last = kHoursPerYear / 2;
  secondHalf.first = firstHalf.last + 1;
  {
    SideTask second([&] { computeAir(secondHalf); });
    computeAir(firstHalf);
    second.Wait();  // computeAir keeps what it threw
  }

  // Then hour by hour, as if each were computed here: its notices, its failure, its
  // direct normal and the check that every value is a finite number.
  int computed = 0;
  std::exception_ptr computeError;
  try {
    for (int n = 1; n <= kHoursPerYear; ++n) {
      const int i = n - 1;
      AirHalf& half = n <= firstHalf.last ? firstHalf : secondHalf;
      half.ui.PassOnUpTo(n, ctx.ui);
      if (half.failedHour == n) std::rethrow_exception(half.error);
      FormattedHour& h = hours[static_cast<size_t>(i)];
      h.globalWm2 = global[i];
      // Only the marker -1 asks for an estimate; any other value is the source's own.
      h.directNormalWm2 = directNormal[i] == kDirectNormalAbsent
                              ? estimator.Estimate(n, h.ch, h.air.dewPointF)
                              : directNormal[i];
      if (formatted != nullptr) {
        const auto k = static_cast<size_t>(i);
        formatted->directNormalWm2[k] = h.directNormalWm2;
        formatted->dewPointF[k] = h.air.dewPointF;
        formatted->relHumPct[k] = h.air.relHumPct;
        formatted->pressureKPa[k] = h.air.pressureKPa;
      }
      h.windSpeedMph = table.at(WindSpeed, n);
      h.windDirectionDeg = table.at(WindDirection, n);
      h.snowFlag = table.at(SnowFlag, n);
      h.rainFlag = table.at(RainFlag, n);
      h.cloudType = table.at(CloudType, n);
      RequireFinite(h, n);
      computed = n;
    }
  } catch (...) {
    computeError = std::current_exception();
  }
  const std::span<const FormattedHour> done(hours.data(), static_cast<size_t>(computed));

  // What went wrong first, as the rows were written one hour after the other (the FT
  // record before the final-data row, the FT file closed first) decides the error raised.
  struct Failure {
    std::exception_ptr error;
    size_t row = 0;  // the hour at which it happened; done.size() for the closing
    int order = 0;   // 1 the FT file, 2 the final-data file
  };
  const auto writeRows = [&done, complete = computeError == nullptr](LineFile& file, int order,
                                                                    auto appendRow) {
    Failure failure{nullptr, 0, order};
    try {
      for (; failure.row < done.size(); ++failure.row) {
        appendRow(file.text(), done[failure.row]);
        file.EndLine();
      }
      if (complete) file.Close();
    } catch (...) {
      failure.error = std::current_exception();
    }
    return failure;
  };
  Failure finalFailure;
  const auto writeFinal = [&] {
    finalFailure = writeRows(fin, 2, [](TextSink& out, const FormattedHour& h) {
      AppendFinalDataRow(out, ToFinalDataRow(h));
    });
  };
  SideTask finalWriter(writeFinal);
  const Failure ftFailure = writeRows(
      ft, 1, [](TextSink& out, const FormattedHour& h) { AppendFtRecord(out, ToFtHour(h)); });
  finalWriter.Wait();  // writeRows keeps what it threw
  const Failure* first = nullptr;
  for (const Failure* f : std::array<const Failure*, 2>{&ftFailure, &finalFailure}) {
    if (f->error != nullptr &&
        (first == nullptr || f->row < first->row ||
         (f->row == first->row && f->order < first->order))) {
      first = f;
    }
  }
  if (first != nullptr) std::rethrow_exception(first->error);
  if (computeError != nullptr) std::rethrow_exception(computeError);

  ctx.ui.EchoLine("  Formatted weather data successfully.");
  ctx.ui.Repaint();
  return true;
}

}  // namespace kestrum
