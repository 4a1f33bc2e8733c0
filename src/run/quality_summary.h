// The quality summary of a run: what the cleaning pass repaired, how many hours of direct
// normal were estimated, and the monthly values as read and as converted. Built from the
// tables and the cleaning pass's record, without reading any file again.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "cleaning/cleaning_limits.h"
#include "cleaning/repair_record.h"
#include "run/hourly_table.h"
#include "run/stage_context.h"

namespace kestrum {

// Repairs of one cleaned series; each hour counts once, under the method that last wrote it.
struct SeriesRepairs {
  int interpolated = 0;
  int previousDay = 0;
  int firstGoodHour = 0;
  int total = 0;
  BadStreak longest;      // the longest streak the scans found (length 0: none)
  int32_t prevLimit = 0;  // the series' "#prev" limit
  bool longerThanPrev() const { return longest.length > prevLimit; }
  double shareOfYear() const { return static_cast<double>(total) / kHoursPerYear; }
};

// The quantities of the monthly table, in the units the table holds them.
enum class Quantity { DryBulb, Moisture, GlobalHorizontal, DirectNormal, WindSpeed };
inline constexpr int kQuantities = 5;

// Minimum, mean and maximum of one quantity over the hours of a month that have a value.
struct MonthlyStat {
  int hours = 0;  // 0: no value at all (then min, mean and max mean nothing)
  double min = 0;
  double mean = 0;
  double max = 0;
};
using MonthlyTable = std::array<std::array<MonthlyStat, kQuantities>, 12>;

// The converted year hour by hour (index h - 1), for the report's pictures.
struct HourlyPictureData {
  std::vector<float> dryBulbF;
  std::vector<float> globalWm2;
  std::vector<float> windSpeedMph;
  std::vector<float> windDirectionDeg;
  // Bit s (0..4): series s (DryBulb .. WindDirection) was repaired in the hour;
  // kDirectNormalEstimatedMark: its direct normal was estimated.
  std::vector<uint8_t> marks;
};
inline constexpr uint8_t kDirectNormalEstimatedMark = 1u << 5;

struct QualitySummary {
  std::array<SeriesRepairs, kCleanedSeries> repairs;  // DryBulb .. WindDirection
  int hoursRepaired = 0;          // hours of the year in which any series was repaired
  int directNormalEstimated = 0;  // hours whose direct normal the solar model estimated
  bool moistureIsRelHum = false;  // moisture in %, else a dew point or wet bulb in deg F
  uint8_t moistureKind = 1;       // 1 dew point, 2 wet bulb, 3 relative humidity
  int cleaningPasses = 0;
  // As read: the hours the cleaning pass left alone (and, for direct normal, the hours the
  // source gave). As converted: every hour, direct normal as written.
  MonthlyTable asRead{};
  MonthlyTable asConverted{};
  double annualGlobalKWhM2 = 0;        // as converted
  double annualDirectNormalKWhM2 = 0;  // as converted; 0 when the formatter did not run
  bool formatted = false;              // the formatter ran: direct normal as converted is known
  std::array<double, 12> monthlyGlobalKWhM2{};        // as converted
  std::array<double, 12> monthlyDirectNormalKWhM2{};  // as converted; 0 when not formatted
  HourlyPictureData hourly;
  std::vector<std::string> warnings;   // the streak warnings, without their indentation
};

struct QualityInputs {
  const HourlyTable& asRead;     // the table as the reader left it
  const HourlyTable& converted;  // the table after cleaning
  const RepairRecord& repairs;
  const CleaningLimits& limits;
  int32_t moistureIndicator = 1;
  std::span<const double> directNormalWm2;  // the 8760 values written; empty: not formatted
  // What the moisture series holds: 1 dew point, 2 wet bulb, 3 relative humidity (an EPW
  // run's indicator 1 is a dew point, a CSV run's a wet bulb: the caller knows which).
  uint8_t moistureKind = 1;
};

// "dew point", "wet bulb" or "relative humidity", by moisture kind 1, 2, 3.
const char* MoistureKindName(uint8_t kind);

QualitySummary SummariseQuality(const QualityInputs& in);

// Series names in the summary lines: "dry bulb", "moisture", "solar", "wind speed",
// "wind direction".
const char* SummarySeriesName(int row);

// "  Repaired hours: dry bulb 54, moisture 54, solar 60, wind speed 54, wind direction 54;
// direct normal estimated for 120 hours."
std::string RepairedHoursLine(const QualitySummary& summary);

// The closing lines of a converted run, in the progress box and the log file: where the
// ".bin" file went (and the repaired EPW file, when epwPath is not empty) and the repaired
// hours, then one warning for each series whose longest streak is longer than its "#prev"
// limit (RunUi::Warning, also on stderr for the command line).
void ReportQuality(const QualitySummary& summary, const std::string& binPath,
                   const std::string& epwPath, const StageContext& ctx);

}  // namespace kestrum
