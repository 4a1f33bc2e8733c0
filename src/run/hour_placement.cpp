#include "run/hour_placement.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "run/text_fields.h"

namespace kestrum {

namespace {

std::string Count(int n, const char* one, const char* many) {
  return std::to_string(n) + (n == 1 ? one : many);
}

std::string FirstAt(size_t line) { return " (first at line " + std::to_string(line) + ")."; }

}  // namespace

int32_t ShiftedHour(int32_t h, int shiftHours) {
  const int32_t moved = (h - 1 + shiftHours) % kHoursPerYear;
  return (moved < 0 ? moved + kHoursPerYear : moved) + 1;
}

std::string TimeShiftProblem(int64_t shiftHours) {
  if (shiftHours >= -kMaxTimeShiftHours && shiftHours <= kMaxTimeShiftHours) return {};
  return "The time shift " + std::to_string(shiftHours) + " h is outside -" +
         std::to_string(kMaxTimeShiftHours) + ".." + std::to_string(kMaxTimeShiftHours) +
         " (whole hours).";
}

std::string SubhourlyProblem(int32_t rule) {
  if (rule == kSubhourlyLast || rule == kSubhourlyMean) return {};
  return "The rule " + std::to_string(rule) +
         " for rows that share an hour is not 0 (the last row) or 1 (their mean).";
}

std::optional<int> UtcShiftForTimeZone(std::string_view timeZone) {
  double zone = 0.0;
  if (!ParseReal(timeZone, zone) || zone != std::trunc(zone) ||
      std::fabs(zone) > kMaxTimeShiftHours) {
    return std::nullopt;
  }
  return static_cast<int>(zone);
}

RowPlacement::RowPlacement(int32_t subhourly, int shiftHours)
    : subhourly_(subhourly), shift_(shiftHours), rowsOf_(kHoursPerYear, 0) {}

void RowPlacement::LeapDayRow(size_t line) {
  if (leapDayRows_++ == 0) firstLeapDayLine_ = line;
}

void RowPlacement::RowOutsideYear(size_t line) {
  if (rowsOutside_++ == 0) firstOutsideLine_ = line;
}

void RowPlacement::Report(StageContext& ctx) const {
  if (shift_ != 0) {
    const std::string sign = shift_ > 0 ? "+" : "-";
    const std::string line = "     Hours shifted by " + sign + std::to_string(std::abs(shift_)) +
                             " h: the row stamped hour s fills hour s " + sign + " " +
                             std::to_string(std::abs(shift_)) +
                             " of the year, wrapping around its ends.";
    ctx.log.WriteLogLine(line);
    ctx.ui.EchoLine(line);
  }
  if (rowsOutside_ > 0) {
    ctx.Warn("     " +
             Count(rowsOutside_, " data row whose date or hour is not in the 365-day year was skipped",
                   " data rows whose date or hour is not in the 365-day year were skipped") +
             FirstAt(firstOutsideLine_));
  }
  if (leapDayRows_ > 0) {
    ctx.Warn("     " +
             Count(leapDayRows_, " row of 29 February was left out: the year has 365 days",
                   " rows of 29 February were left out: the year has 365 days") +
             FirstAt(firstLeapDayLine_));
  }
  if (hoursFilledTwice_ == 0) return;
  const std::string hours = Count(hoursFilledTwice_, " hour was filled by more than one row",
                                  " hours were filled by more than one row");
  if (subhourly_ != kSubhourlyMean) {
    ctx.Warn("     " + hours + "; the last row of each was kept" + FirstAt(firstRefillLine_));
    return;
  }
  int fewest = UINT16_MAX;
  int most = 0;
  for (const uint16_t rows : rowsOf_) {
    if (rows < 2) continue;
    fewest = std::min<int>(fewest, rows);
    most = std::max<int>(most, rows);
  }
  const std::string rows = fewest == most ? std::to_string(most)
                                          : std::to_string(fewest) + " to " + std::to_string(most);
  ctx.Warn("     " + hours + "; each holds the mean of its " + rows + " rows" +
           FirstAt(firstRefillLine_));
}

HourMeans::HourMeans()
    : sums_(static_cast<size_t>(kValueSeries) * kHoursPerYear, 0.0),
      counts_(sums_.size(), 0),
      east_(kHoursPerYear, 0.0),
      north_(kHoursPerYear, 0.0),
      unitEast_(kHoursPerYear, 0.0),
      unitNorth_(kHoursPerYear, 0.0),
      vectors_(kHoursPerYear, 0),
      lastDirection_(kHoursPerYear, 0.0f) {}

void HourMeans::AddWind(int32_t h, bool speedValid, float speed, bool directionValid,
                        float direction) {
  if (speedValid) Add(WindSpeed, h, speed);
  if (!directionValid) return;
  ++counts_[Index(WindDirection, h)];
  const double radians = direction * std::numbers::pi / 180.0;
  const size_t i = static_cast<size_t>(h - 1);
  lastDirection_[i] = direction;
  if (speedValid) {
    east_[i] += speed * std::sin(radians);
    north_[i] += speed * std::cos(radians);
    ++vectors_[i];
  } else {
    unitEast_[i] += std::sin(radians);
    unitNorth_[i] += std::cos(radians);
  }
}

void HourMeans::Store(HourlyTable& table) const {
  for (int s = DryBulb; s < kValueSeries; ++s) {
    if (s == WindDirection) continue;
    const auto series = static_cast<Series>(s);
    for (int32_t h = 1; h <= kHoursPerYear; ++h) {
      const size_t i = Index(series, h);
      if (counts_[i] > 0) table.at(series, h) = static_cast<float>(sums_[i] / counts_[i]);
    }
  }
  for (int32_t h = 1; h <= kHoursPerYear; ++h) {
    const uint32_t directions = counts_[Index(WindDirection, h)];
    if (directions == 0) continue;
    const size_t i = static_cast<size_t>(h - 1);
    if (directions == 1) {
      table.at(WindDirection, h) = lastDirection_[i];
      continue;
    }
    const bool vectors = vectors_[i] > 0;
    if (vectors && counts_[Index(WindSpeed, h)] > 0 && sums_[Index(WindSpeed, h)] == 0.0) {
      table.at(WindDirection, h) = 0.0f;  // calm
      continue;
    }
    const double east = vectors ? east_[i] : unitEast_[i];
    const double north = vectors ? north_[i] : unitNorth_[i];
    double degrees = std::atan2(east, north) * 180.0 / std::numbers::pi;
    if (degrees < 0) degrees += 360.0;
    auto stored = static_cast<float>(degrees);
    if (stored >= 360.0f) stored = 0.0f;
    table.at(WindDirection, h) = stored;
  }
}

}  // namespace kestrum
