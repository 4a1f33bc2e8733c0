// Which hour of the 365-day year each data row of a source file fills, shared by the EPW
// and CSV readers: the time shift the user asks for, the rows of 29 February and those
// outside the year, and rows that land on an hour another row filled already (the later
// kept, or the mean of them all); then one warning per kind of row, said once.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "run/hourly_table.h"
#include "run/stage_context.h"

namespace kestrum {

// What fills an hour that several rows land on (EpwOptions::subhourly, the CSV field map's
// Subhourly): the last of the rows, or the mean of them.
inline constexpr int32_t kSubhourlyLast = 0;
inline constexpr int32_t kSubhourlyMean = 1;

// A time shift moves whole hours, less than a day either way.
inline constexpr int kMaxTimeShiftHours = 23;

// Hour h (1..8760) moved by shiftHours and wrapped around the ends of the year:
// ((h - 1 + shiftHours) mod 8760) + 1, so 8760 + 1 is 1 and 1 - 1 is 8760.
int32_t ShiftedHour(int32_t h, int shiftHours);

// Why a run cannot take these choices ("The time shift 30 h is outside -23..23."), empty
// when it can.
std::string TimeShiftProblem(int64_t shiftHours);
std::string SubhourlyProblem(int32_t rule);

// The shift that brings the rows of a file stamped in UTC onto the site's clock: the
// site's time zone (hours from Greenwich, west negative: "-7.0" gives -7) when it is a
// whole number of hours within -23..23; nothing for "5.5", "30", "" or "abc".
std::optional<int> UtcShiftForTimeZone(std::string_view timeZone);

// Follows the rows of one file onto the hours of the year and says what became of them.
class RowPlacement {
 public:
  RowPlacement(int32_t subhourly, int shiftHours);

  // A row dated 29 February: left out, the year has 365 days.
  void LeapDayRow(size_t line);
  // A row whose date or hour is not in the 365-day year: skipped.
  void RowOutsideYear(size_t line);
  // A row stamped with hour `stamped` (1..8760): the hour it fills, after the shift.
  int32_t Land(int32_t stamped, size_t line) {
    const int32_t h = shift_ == 0 ? stamped : ShiftedHour(stamped, shift_);
    uint16_t& rows = rowsOf_[static_cast<size_t>(h - 1)];
    if (rows == 1 && hoursFilledTwice_++ == 0) firstRefillLine_ = line;
    if (rows < UINT16_MAX) ++rows;
    ++rowsLanded_;
    return h;
  }

  bool mean() const { return subhourly_ == kSubhourlyMean; }
  // The rows that landed on hour h so far.
  int RowsOf(int32_t h) const { return rowsOf_[static_cast<size_t>(h - 1)]; }
  // Rows that filled an hour (neither left out nor skipped).
  size_t rowsLanded() const { return rowsLanded_; }

  // The warnings of the rows (skipped, left out, hours filled more than once) through
  // ctx.Warn, and the shift as a plain line of the log and the progress box (a shift the
  // user did not ask for, a layout's, is warned by whoever chose it).
  void Report(StageContext& ctx) const;

 private:
  int32_t subhourly_;
  int shift_;
  std::vector<uint16_t> rowsOf_;
  size_t rowsLanded_ = 0;
  int rowsOutside_ = 0;
  size_t firstOutsideLine_ = 0;
  int leapDayRows_ = 0;
  size_t firstLeapDayLine_ = 0;
  int hoursFilledTwice_ = 0;
  size_t firstRefillLine_ = 0;
};

// The means of the rows that share an hour (--subhourly mean): every value series the
// mean of the valid values of its rows, the wind direction that of the mean wind vector.
// Values the rows do not give (a failed conversion, a missing-value code) take no part:
// an hour without a valid value keeps what the reader stored for its last row.
class HourMeans {
 public:
  HourMeans();

  // A valid value of series s (DryBulb .. SolarDirectNormal, not the wind) at hour h.
  void Add(Series s, int32_t h, float value) {
    const size_t i = Index(s, h);
    sums_[i] += value;
    ++counts_[i];
  }
  // The wind of one row; speedValid / directionValid: whether each is a valid value.
  void AddWind(int32_t h, bool speedValid, float speed, bool directionValid, float direction);

  bool HasValue(Series s, int32_t h) const { return counts_[Index(s, h)] > 0; }

  // Puts the mean of every hour with a valid value into series DryBulb .. SolarDirectNormal
  // of the table. The direction of the mean wind vector is 0 when the hour's mean speed
  // is 0 (calm); when no row of the hour gives both a speed and a direction, the mean of
  // the directions' unit vectors. An hour with one valid direction keeps it as it is.
  void Store(HourlyTable& table) const;

 private:
  static constexpr int kValueSeries = SolarDirectNormal + 1;
  static size_t Index(Series s, int32_t h) {
    return static_cast<size_t>(s) * kHoursPerYear + static_cast<size_t>(h - 1);
  }
  std::vector<double> sums_;
  std::vector<uint32_t> counts_;
  // Per hour: the summed wind vectors (speed x sine and cosine of the direction) of rows
  // with both values, and the summed unit vectors of rows with a direction alone.
  std::vector<double> east_, north_, unitEast_, unitNorth_;
  std::vector<uint32_t> vectors_;
  std::vector<float> lastDirection_;  // the last valid direction of each hour
};

}  // namespace kestrum
