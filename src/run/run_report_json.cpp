#include <cmath>

#include <nlohmann/json.hpp>

#include "run/calendar.h"
#include "run/run_report.h"
#include "run/text_fields.h"

namespace kestrum {

using nlohmann::ordered_json;

namespace {

constexpr std::array<const char*, kCleanedSeries> kSeriesKeys = {
    "dry_bulb", "moisture", "solar", "wind_speed", "wind_direction"};
constexpr std::array<const char*, kQuantities> kQuantityKeys = {
    "dry_bulb", "moisture", "global_horizontal", "direct_normal", "wind_speed"};

// Enough decimals for any of the report's quantities, without binary noise.
double Rounded(double v, int decimals) {
  const double scale = std::pow(10.0, decimals);
  return std::round(v * scale) / scale;
}

ordered_json TextOrNull(const std::string& text) {
  return text.empty() ? ordered_json(nullptr) : ordered_json(text);
}

// A site text as a number; null when it is none.
ordered_json NumberOrNull(const std::string& text, double scale = 1.0, int decimals = 6) {
  double v = 0;
  if (!ParseReal(text, v)) return nullptr;
  return Rounded(v * scale, decimals);
}

// How a quantity of the table converts into the report's units, and the unit's name.
struct UnitOf {
  double (*convert)(double, ReportUnits);
  std::string unit;
};

double Same(double v, ReportUnits) { return v; }

// The monthly quantities: dry bulb, moisture, global, direct normal, wind speed.
std::array<UnitOf, kQuantities> QuantityUnits(bool moistureIsRelHum, ReportUnits u) {
  return {UnitOf{ReportTemperature, TemperatureUnit(u)},
          moistureIsRelHum ? UnitOf{Same, "%"} : UnitOf{ReportTemperature, TemperatureUnit(u)},
          UnitOf{ReportIrradiance, IrradianceUnit(u)}, UnitOf{ReportIrradiance, IrradianceUnit(u)},
          UnitOf{ReportSpeed, SpeedUnit(u)}};
}

// The units of the cleaning limits: those the cleaning pass compares in.
constexpr std::array<const char*, kCleanedSeries> kLimitUnits = {"F", "F", "W/m2", "mph", "degrees"};

ordered_json Limits(const CleaningLimits& limits, bool moistureIsRelHum) {
  ordered_json out = ordered_json::object();
  for (int row = 1; row <= kCleanedSeries; ++row) {
    ordered_json flags = ordered_json::array();
    for (int k = 1; k <= kMissingFlags; ++k) flags.push_back(limits.Flag(row, k));
    out[ReportSeriesKey(row)] = {{"min", limits.Min(row)},
                                 {"max", limits.Max(row)},
                                 {"interp", limits.InterpLimit(row)},
                                 {"prev", limits.PrevLimit(row)},
                                 {"missing_flags", flags},
                                 {"unit", row == 2 && moistureIsRelHum
                                              ? "%"
                                              : kLimitUnits[static_cast<size_t>(row - 1)]}};
  }
  return out;
}

ordered_json Streak(const SeriesRepairs& r) {
  if (r.longest.length == 0) return nullptr;
  const CalendarHour when = SplitHourOfYear(r.longest.firstHour);
  return {{"hours", r.longest.length},
          {"start_hour_of_year", r.longest.firstHour},
          {"start", {{"month", when.month}, {"day", when.day}, {"hour", when.hour}}},
          {"share_of_year", Rounded(static_cast<double>(r.longest.length) / kHoursPerYear, 4)},
          {"prev_limit", r.prevLimit},
          {"longer_than_prev", r.longerThanPrev()}};
}

ordered_json Monthly(const MonthlyTable& table, size_t month,
                     const std::array<UnitOf, kQuantities>& units, ReportUnits u) {
  ordered_json out = ordered_json::object();
  for (size_t k = 0; k < kQuantities; ++k) {
    const MonthlyStat& s = table[month][k];
    const UnitOf& unit = units[k];
    out[kQuantityKeys[k]] = s.hours == 0 ? ordered_json(nullptr)
                                         : ordered_json{{"min", Rounded(unit.convert(s.min, u), 3)},
                                                        {"mean", Rounded(unit.convert(s.mean, u), 3)},
                                                        {"max", Rounded(unit.convert(s.max, u), 3)},
                                                        {"hours", s.hours},
                                                        {"unit", unit.unit}};
  }
  return out;
}

void AddQuality(const QualitySummary& q, ReportUnits u, ordered_json& out) {
  ordered_json repairs = ordered_json::object();
  ordered_json shares = ordered_json::object();
  ordered_json streaks = ordered_json::object();
  for (int row = 1; row <= kCleanedSeries; ++row) {
    const SeriesRepairs& r = q.repairs[static_cast<size_t>(row - 1)];
    repairs[ReportSeriesKey(row)] = {{"interpolated", r.interpolated},
                                     {"previous_day", r.previousDay},
                                     {"first_good_hour", r.firstGoodHour},
                                     {"total", r.total}};
    shares[ReportSeriesKey(row)] = Rounded(r.shareOfYear(), 4);
    streaks[ReportSeriesKey(row)] = Streak(r);
  }
  out["repairs"] = repairs;
  out["share_repaired"] = shares;
  out["longest_streaks"] = streaks;
  out["hours_repaired"] = q.hoursRepaired;
  out["direct_normal_estimated"] = q.directNormalEstimated;
  out["cleaning_passes"] = q.cleaningPasses;
  out["moisture"] = MoistureKindName(q.moistureKind);
  const auto units = QuantityUnits(q.moistureIsRelHum, u);
  ordered_json monthly = ordered_json::array();
  const std::string sumUnit = RadiationSumUnit(u);
  for (size_t m = 0; m < 12; ++m) {
    monthly.push_back(
        {{"month", m + 1},
         {"as_read", Monthly(q.asRead, m, units, u)},
         {"as_converted", Monthly(q.asConverted, m, units, u)},
         {"radiation_sum",
          {{"global_horizontal", Rounded(ReportRadiationSum(q.monthlyGlobalKWhM2[m], u), 2)},
           {"direct_normal", q.formatted ? ordered_json(Rounded(ReportRadiationSum(
                                                                    q.monthlyDirectNormalKWhM2[m], u),
                                                                2))
                                         : ordered_json(nullptr)},
           {"unit", sumUnit}}}});
  }
  out["monthly"] = monthly;
  out["annual_radiation"] = {
      {"global_horizontal", Rounded(ReportRadiationSum(q.annualGlobalKWhM2, u), 1)},
      {"direct_normal", q.formatted
                            ? ordered_json(Rounded(ReportRadiationSum(q.annualDirectNormalKWhM2, u), 1))
                            : ordered_json(nullptr)},
      {"unit", sumUnit}};
}

}  // namespace

const char* ReportSeriesKey(int row) { return kSeriesKeys[static_cast<size_t>(row - 1)]; }

std::string RunReportJson(const RunReport& report) {
  ordered_json out;
  out["kestrum_version"] = KESTRUM_VERSION;
  out["file"] = report.input;
  out["status"] = report.status;
  out["error"] = TextOrNull(report.error);
  const ReportUnits u = report.units;
  const bool relHum = report.quality ? report.quality->moistureIsRelHum : report.useRelHum;
  ordered_json units = {{"system", ReportUnitsName(u)},
                        {"dry_bulb", TemperatureUnit(u)},
                        {"moisture", relHum ? "%" : TemperatureUnit(u)},
                        {"global_horizontal", IrradianceUnit(u)},
                        {"direct_normal", IrradianceUnit(u)},
                        {"wind_speed", SpeedUnit(u)},
                        {"wind_direction", "degrees"},
                        {"radiation_sum", RadiationSumUnit(u)},
                        {"elevation", ElevationUnit(u)}};
  out["units"] = units;
  const double metresToReport = ReportElevation(1.0, u);
  out["site"] = {{"description", report.site.description},
                 {"latitude", NumberOrNull(report.site.latitude)},
                 {"longitude", NumberOrNull(report.site.longitude)},
                 {"time_zone", NumberOrNull(report.site.timeZone)},
                 {"elevation", NumberOrNull(report.site.elevation, metresToReport, 2)},
                 {"units",
                  {{"latitude", "degrees north"},
                   {"longitude", "degrees east"},
                   {"time_zone", "hours from UTC"},
                   {"elevation", ElevationUnit(u)}}}};
  out["options"] = {{"name", report.name},
                    {"use_rh", report.useRelHum},
                    {"calc_dn", report.calcDirectNormal},
                    {"detailed_log", report.detailedLog},
                    {"time_shift_hours", report.timeShiftHours},
                    {"subhourly", report.subhourlyMean ? "mean" : "last"},
                    {"settings", TextOrNull(report.settingsFile)},
                    {"limits", Limits(report.limits, relHum)}};
  if (report.quality) AddQuality(*report.quality, u, out);
  out["warnings"] = report.warnings;
  out["sun_offset_hours"] =
      report.sunOffsetHours ? ordered_json(*report.sunOffsetHours) : ordered_json(nullptr);
  out["outputs"] = {{"bin", TextOrNull(report.binPath)},
                    {"epw", TextOrNull(report.epwPath)},
                    {"interim_dir", report.interimDir},
                    {"files", report.files}};
  out["seconds"] = Rounded(report.seconds, 4);
  // Texts from the source may hold bytes that are not UTF-8 (Windows-1252 names): they
  // are replaced rather than refused.
  return out.dump(2, ' ', false, ordered_json::error_handler_t::replace) + "\n";
}

}  // namespace kestrum
