#include "run/quality_summary.h"

#include <cmath>
#include <limits>

#include "cleaning/bad_hour.h"
#include "run/calendar.h"

namespace kestrum {

namespace {

constexpr std::array<const char*, kCleanedSeries> kSeriesNames = {
    "dry bulb", "moisture", "solar", "wind speed", "wind direction"};

// Gathers minimum, sum and maximum of one quantity in one month.
struct StatSum {
  int hours = 0;
  double min = std::numeric_limits<double>::infinity();
  double sum = 0;
  double max = -std::numeric_limits<double>::infinity();

  void Add(double v) {
    ++hours;
    sum += v;
    if (v < min) min = v;
    if (v > max) max = v;
  }
  MonthlyStat Result() const {
    if (hours == 0) return {};
    return {hours, min, sum / hours, max};
  }
};

SeriesRepairs CountRepairs(const QualityInputs& in, int row) {
  SeriesRepairs r;
  const auto series = static_cast<Series>(row - 1);
  for (int h = 1; h <= kHoursPerYear; ++h) {
    switch (in.repairs.MethodAt(series, h)) {
      case RepairMethod::None: continue;
      case RepairMethod::Interpolated: ++r.interpolated; break;
      case RepairMethod::PreviousDay: ++r.previousDay; break;
      case RepairMethod::FirstGoodHour: ++r.firstGoodHour; break;
    }
    ++r.total;
  }
  for (const BadStreak& s : in.repairs.streaks()) {
    if (s.row == row && s.length > r.longest.length) r.longest = s;
  }
  r.prevLimit = in.limits.PrevLimit(row);
  return r;
}

// An hour whose value as read counts in the "as read" table: the cleaning pass neither
// repaired it nor left it bad.
class ReadValues {
 public:
  explicit ReadValues(const QualityInputs& in) : in_(in) {
    for (int row = 1; row <= kCleanedSeries; ++row) {
      rules_[row - 1] = RuleForRow(in.limits, row, in.moistureIndicator);
    }
  }
  bool Usable(Series s, int h) const {
    if (in_.repairs.MethodAt(s, h) != RepairMethod::None) return false;
    // Only a repeated pass can have left bad hours behind: the first one succeeded else.
    return !mayBeBad_ || !IsBadValue(in_.converted.at(s, h), rules_[static_cast<size_t>(s)],
                                     in_.converted.at(DryBulb, h));
  }

 private:
  const QualityInputs& in_;
  const bool mayBeBad_ = in_.repairs.passes() > 1;
  std::array<BadHourRule, kCleanedSeries> rules_;
};

void FillMonthlyTables(const QualityInputs& in, QualitySummary& q) {
  constexpr std::array<Series, 4> kCleaned = {DryBulb, Moisture, SolarHorizontal, WindSpeed};
  constexpr std::array<Quantity, 4> kAs = {Quantity::DryBulb, Quantity::Moisture,
                                           Quantity::GlobalHorizontal, Quantity::WindSpeed};
  const ReadValues read(in);
  std::array<std::array<StatSum, kQuantities>, 12> asRead{}, asConverted{};
  for (int h = 1, month = 1; h <= kHoursPerYear; ++h) {
    if (h > (DaysBeforeMonth[month] + DaysInMonth[month]) * 24) ++month;
    const auto m = static_cast<size_t>(month - 1);
    for (size_t k = 0; k < kCleaned.size(); ++k) {
      const auto col = static_cast<size_t>(kAs[k]);
      if (read.Usable(kCleaned[k], h)) asRead[m][col].Add(in.asRead.at(kCleaned[k], h));
      asConverted[m][col].Add(in.converted.at(kCleaned[k], h));
    }
    const auto dn = static_cast<size_t>(Quantity::DirectNormal);
    const float given = in.asRead.at(SolarDirectNormal, h);
    if (given != kDirectNormalAbsent && std::isfinite(given)) asRead[m][dn].Add(given);
    if (q.formatted) asConverted[m][dn].Add(in.directNormalWm2[static_cast<size_t>(h - 1)]);
  }
  for (size_t m = 0; m < 12; ++m) {
    for (size_t k = 0; k < kQuantities; ++k) {
      q.asRead[m][k] = asRead[m][k].Result();
      q.asConverted[m][k] = asConverted[m][k].Result();
    }
  }
}

std::string Percent(double share) {
  // One decimal, "." as separator, halves away from zero.
  const double tenths = std::round(share * 1000.0);
  const long whole = static_cast<long>(tenths) / 10;
  const long tenth = static_cast<long>(tenths) % 10;
  return std::to_string(whole) + "." + std::to_string(tenth) + "%";
}

std::string StreakWarning(int row, const SeriesRepairs& r) {
  const CalendarHour when = SplitHourOfYear(r.longest.firstHour);
  return std::string("Warning: ") + kSeriesNames[static_cast<size_t>(row - 1)] +
         " has a streak of " + std::to_string(r.longest.length) + " bad hours starting on " +
         std::to_string(when.month) + "/" + std::to_string(when.day) + " at hour " +
         std::to_string(when.hour) + " (" +
         Percent(static_cast<double>(r.longest.length) / kHoursPerYear) +
         " of the year), longer than its #prev limit of " + std::to_string(r.prevLimit) +
         ": the file may cover only part of the year.";
}

}  // namespace

QualitySummary SummariseQuality(const QualityInputs& in) {
  QualitySummary q;
  q.moistureIsRelHum = in.moistureIndicator == kMoistureRelHum;
  q.moistureKind = q.moistureIsRelHum ? 3 : in.moistureKind == 2 ? 2 : 1;
  q.cleaningPasses = in.repairs.passes();
  q.formatted = in.directNormalWm2.size() == static_cast<size_t>(kHoursPerYear);
  for (int row = 1; row <= kCleanedSeries; ++row) {
    SeriesRepairs& r = q.repairs[static_cast<size_t>(row - 1)];
    r = CountRepairs(in, row);
    if (r.longerThanPrev()) q.warnings.push_back(StreakWarning(row, r));
  }
  const float* dn = in.converted.series(SolarDirectNormal);
  const float* gh = in.converted.series(SolarHorizontal);
  HourlyPictureData& hourly = q.hourly;
  const auto copy = [&](Series s) { return std::vector<float>(in.converted.series(s), in.converted.series(s) + kHoursPerYear); };
  hourly.dryBulbF = copy(DryBulb);
  hourly.globalWm2 = copy(SolarHorizontal);
  hourly.windSpeedMph = copy(WindSpeed);
  hourly.windDirectionDeg = copy(WindDirection);
  hourly.marks.assign(static_cast<size_t>(kHoursPerYear), 0);
  // Hourly W/m2 summed over a month or the year: Wh/m2, shown in kWh/m2.
  std::array<double, 12> ghSum{}, dnSum{};
  double ghTotal = 0;
  double dnTotal = 0;
  for (int h = 1, month = 1; h <= kHoursPerYear; ++h) {
    if (h > (DaysBeforeMonth[month] + DaysInMonth[month]) * 24) ++month;
    const auto i = static_cast<size_t>(h - 1);
    uint8_t marks = 0;
    for (int row = 1; row <= kCleanedSeries; ++row) {
      if (in.repairs.MethodAt(static_cast<Series>(row - 1), h) != RepairMethod::None) {
        marks |= static_cast<uint8_t>(1u << (row - 1));
      }
    }
    q.hoursRepaired += marks != 0 ? 1 : 0;
    if (q.formatted && dn[h - 1] == kDirectNormalAbsent) {
      ++q.directNormalEstimated;
      marks |= kDirectNormalEstimatedMark;
    }
    hourly.marks[i] = marks;
    ghSum[static_cast<size_t>(month - 1)] += gh[h - 1];
    ghTotal += gh[h - 1];
    if (q.formatted) {
      dnSum[static_cast<size_t>(month - 1)] += in.directNormalWm2[i];
      dnTotal += in.directNormalWm2[i];
    }
  }
  for (size_t m = 0; m < 12; ++m) {
    q.monthlyGlobalKWhM2[m] = ghSum[m] / 1000.0;
    q.monthlyDirectNormalKWhM2[m] = dnSum[m] / 1000.0;
  }
  q.annualGlobalKWhM2 = ghTotal / 1000.0;
  q.annualDirectNormalKWhM2 = dnTotal / 1000.0;
  FillMonthlyTables(in, q);
  return q;
}

const char* MoistureKindName(uint8_t kind) {
  return kind == 3 ? "relative humidity" : kind == 2 ? "wet bulb" : "dew point";
}

const char* SummarySeriesName(int row) { return kSeriesNames[static_cast<size_t>(row - 1)]; }

std::string RepairedHoursLine(const QualitySummary& summary) {
  std::string line = "  Repaired hours: ";
  for (int row = 1; row <= kCleanedSeries; ++row) {
    if (row > 1) line += ", ";
    line += std::string(SummarySeriesName(row)) + " " +
            std::to_string(summary.repairs[static_cast<size_t>(row - 1)].total);
  }
  const int dn = summary.directNormalEstimated;
  line += "; direct normal estimated for " + std::to_string(dn) + (dn == 1 ? " hour." : " hours.");
  return line;
}

void ReportQuality(const QualitySummary& summary, const std::string& binPath,
                   const std::string& epwPath, const StageContext& ctx) {
  const auto both = [&](const std::string& line) {
    ctx.ui.EchoLine(line);
    ctx.log.WriteLogLine(line);
  };
  both("  BIN file written to " + binPath);
  if (!epwPath.empty()) both("  EPW file written to " + epwPath);
  both(RepairedHoursLine(summary));
  for (const std::string& warning : summary.warnings) ctx.Warn("  " + warning);
}

}  // namespace kestrum
