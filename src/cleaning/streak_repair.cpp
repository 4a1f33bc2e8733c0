#include "cleaning/streak_repair.h"

#include <cmath>
#include <string>

#include "format/fixed_text.h"
#include "run/calendar.h"

namespace kestrum {

namespace {

// A repair method and the suffix of its per-hour log lines.
struct Repair {
  const char* suffix;
  RepairMethod method;
};
constexpr Repair kPreviousDay{" (previous day)", RepairMethod::PreviousDay};
constexpr Repair kFirstGoodCopied{" (first good hour)", RepairMethod::FirstGoodHour};
constexpr Repair kFirstGoodAtStart{"(first good hour)", RepairMethod::FirstGoodHour};
constexpr Repair kInterpolated{"(interpolated)", RepairMethod::Interpolated};

// A value with 2 decimals for the per-hour lines.
std::string LogValue(float v) {
  if (std::isnan(v)) return "NAN";
  if (std::isinf(v)) return v > 0 ? "INF" : "-INF";
  return FormatFixed(v, 0, 2);
}

// Writes repaired values into the series (and the dry bulb with it) and reports them.
class StreakWriter {
 public:
  explicit StreakWriter(const StreakSeries& target)
      : t_(target),
        values_(target.table.series(target.series)),
        dryBulb_(target.table.series(DryBulb)) {}

  float value(int h) const { return values_[h - 1]; }
  float dryBulb(int h) const { return dryBulb_[h - 1]; }

  void Set(int h, float newValue, float newDryBulb, const Repair& repair) const {
    const float old = values_[h - 1];
    values_[h - 1] = newValue;
    if (t_.coupleDryBulb) dryBulb_[h - 1] = newDryBulb;
    if (t_.record != nullptr) {
      t_.record->NoteRepair(t_.series, h, repair.method);
      if (t_.coupleDryBulb) t_.record->NoteRepair(DryBulb, h, repair.method);
    }
    if (t_.detailedLog) {
      t_.log.WriteLogLine("         " + LogValue(old) + " replaced with " + LogValue(newValue) +
                          repair.suffix);
    }
  }
  // Every hour last, last - 1, ..., first takes the values of hour source.
  void CopyFrom(int source, int first, int last, const Repair& repair) const {
    for (int h = last; h >= first; --h) Set(h, value(source), dryBulb(source), repair);
  }
  void Log(const std::string& line) const { t_.log.WriteLogLine(line); }
  bool detailedLog() const { return t_.detailedLog; }
  std::string_view name() const { return t_.name; }

 private:
  const StreakSeries& t_;
  float* values_;
  float* dryBulb_;
};

void WriteHeader(const StreakWriter& w, int first, int length, bool reachesYearEnd) {
  const CalendarHour when = SplitHourOfYear(first);
  std::string line = "       there's a streak of " + std::to_string(length) + " bad " +
                     std::string(w.name()) + " starting on " + std::to_string(when.month) +
                     "/" + std::to_string(when.day) + " at hour " + std::to_string(when.hour);
  if (reachesYearEnd) line += " (ending on the last hour of the year)";
  w.Log(line);
}

// Hours first..last, too many to interpolate: the day before repeats itself, in ascending
// order so that a streak longer than a day keeps copying the day just copied. Within the
// first day there is no day before: the good hour after the streak (or, at the year's end,
// hour 8760 itself) is copied.
void CopyStreak(const StreakWriter& w, int first, int last, int source) {
  if (first >= 25) {
    for (int h = first; h <= last; ++h) {
      w.Set(h, w.value(h - 24), w.dryBulb(h - 24), kPreviousDay);
    }
    return;
  }
  w.CopyFrom(source, first, last, kFirstGoodCopied);
  if (!w.detailedLog()) {
    w.Log("       copy from previous day failed, data for first good record used");
  }
}

// Straight line from hour first - 1 to hour end, both good; the step is formed in extended
// precision and kept as a double, each value stored as single.
void Interpolate(const StreakWriter& w, int first, int end, int length, bool withDryBulb) {
  const auto stepOf = [&](float before, float after) {
    return static_cast<double>((static_cast<long double>(after) - before) / (length + 1));
  };
  const double step = stepOf(w.value(first - 1), w.value(end));
  const double dryBulbStep = withDryBulb ? stepOf(w.dryBulb(first - 1), w.dryBulb(end)) : 0.0;
  for (int k = 1; k <= length; ++k) {
    const int h = end - k;
    const auto v = static_cast<float>(w.value(end) - k * static_cast<long double>(step));
    const auto db = static_cast<float>(w.dryBulb(end) - k * static_cast<long double>(dryBulbStep));
    w.Set(h, v, db, kInterpolated);
  }
}

}  // namespace

void FillBadStreak(const StreakSeries& target, int endHour, int length, int32_t interpLimit,
                   [[maybe_unused]] int32_t prevLimit, bool reachesYearEnd) {
  const StreakWriter w(target);
  const int first = reachesYearEnd ? kHoursPerYear + 1 - length : endHour - length;
  const int last = reachesYearEnd ? kHoursPerYear : endHour - 1;
  const int source = reachesYearEnd ? kHoursPerYear : endHour;  // first good hour
  WriteHeader(w, first, length, reachesYearEnd);

  if (length > interpLimit) {
    CopyStreak(w, first, last, source);
  } else if (reachesYearEnd) {
    // No good hour after the streak: copied as if nothing could be interpolated.
    FillBadStreak(target, endHour, length, 0, prevLimit, reachesYearEnd);
    w.Log("       interpolation not possible, copy data from previous day attempted");
  } else if (first >= 2) {
    Interpolate(w, first, endHour, length, target.coupleDryBulb);
  } else {
    w.CopyFrom(endHour, first, last, kFirstGoodAtStart);
    w.Log("       interpolation not possible, data for current record used");
  }
}

}  // namespace kestrum
