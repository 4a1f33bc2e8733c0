#include <cmath>

#include <nlohmann/json.hpp>

#include "run/calendar.h"
#include "run/run_report.h"

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

ordered_json Limits(const CleaningLimits& limits) {
  ordered_json out = ordered_json::object();
  for (int row = 1; row <= kCleanedSeries; ++row) {
    ordered_json flags = ordered_json::array();
    for (int k = 1; k <= kMissingFlags; ++k) flags.push_back(limits.Flag(row, k));
    out[ReportSeriesKey(row)] = {{"min", limits.Min(row)},
                                 {"max", limits.Max(row)},
                                 {"interp", limits.InterpLimit(row)},
                                 {"prev", limits.PrevLimit(row)},
                                 {"missing_flags", flags}};
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

ordered_json Monthly(const MonthlyTable& table, size_t month) {
  ordered_json out = ordered_json::object();
  for (size_t k = 0; k < kQuantities; ++k) {
    const MonthlyStat& s = table[month][k];
    out[kQuantityKeys[k]] = s.hours == 0 ? ordered_json(nullptr)
                                         : ordered_json{{"min", Rounded(s.min, 3)},
                                                        {"mean", Rounded(s.mean, 3)},
                                                        {"max", Rounded(s.max, 3)},
                                                        {"hours", s.hours}};
  }
  return out;
}

void AddQuality(const QualitySummary& q, ordered_json& out) {
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
  out["moisture"] = q.moistureIsRelHum ? "relative humidity" : "dew point";
  out["units"] = {{"dry_bulb", "F"},
                  {"moisture", q.moistureIsRelHum ? "%" : "F"},
                  {"global_horizontal", "W/m2"},
                  {"direct_normal", "W/m2"},
                  {"wind_speed", "mph"}};
  ordered_json monthly = ordered_json::array();
  for (size_t m = 0; m < 12; ++m) {
    monthly.push_back({{"month", m + 1},
                       {"as_read", Monthly(q.asRead, m)},
                       {"as_converted", Monthly(q.asConverted, m)}});
  }
  out["monthly"] = monthly;
  out["annual_kwh_per_m2"] = {
      {"global_horizontal", Rounded(q.annualGlobalKWhM2, 1)},
      {"direct_normal",
       q.formatted ? ordered_json(Rounded(q.annualDirectNormalKWhM2, 1)) : ordered_json(nullptr)}};
}

}  // namespace

const char* ReportSeriesKey(int row) { return kSeriesKeys[static_cast<size_t>(row - 1)]; }

std::string RunReportJson(const RunReport& report) {
  ordered_json out;
  out["kestrum_version"] = KESTRUM_VERSION;
  out["file"] = report.input;
  out["status"] = report.status;
  out["error"] = TextOrNull(report.error);
  out["site"] = {{"description", report.site.description},
                 {"latitude", report.site.latitude},
                 {"longitude", report.site.longitude},
                 {"time_zone", report.site.timeZone},
                 {"elevation_m", report.site.elevation}};
  out["options"] = {{"name", report.name},
                    {"use_rh", report.useRelHum},
                    {"calc_dn", report.calcDirectNormal},
                    {"detailed_log", report.detailedLog},
                    {"time_shift_hours", report.timeShiftHours},
                    {"subhourly", report.subhourlyMean ? "mean" : "last"},
                    {"settings", TextOrNull(report.settingsFile)},
                    {"limits", Limits(report.limits)}};
  if (report.quality) AddQuality(*report.quality, out);
  out["warnings"] = report.warnings;
  out["outputs"] = {{"bin", TextOrNull(report.binPath)},
                    {"interim_dir", report.interimDir},
                    {"files", report.files}};
  out["seconds"] = Rounded(report.seconds, 4);
  // Texts from the source may hold bytes that are not UTF-8 (Windows-1252 names): they
  // are replaced rather than refused.
  return out.dump(2, ' ', false, ordered_json::error_handler_t::replace) + "\n";
}

}  // namespace kestrum
