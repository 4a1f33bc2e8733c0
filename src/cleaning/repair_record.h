// What a cleaning pass repaired: for each cleaned series and hour the method that last
// wrote its value, and every streak of bad hours the scans found.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "cleaning/cleaning_limits.h"
#include "run/hourly_table.h"

namespace kestrum {

enum class RepairMethod : uint8_t {
  None = 0,       // the value is the one read
  Interpolated,   // straight line between the good hours around the streak
  PreviousDay,    // the same hour of the day before
  FirstGoodHour,  // the good hour after the streak (or hour 8760 at the year's end)
};

// A streak of consecutive bad hours as a scan found it, before its repair.
struct BadStreak {
  int row = 0;        // 1..5: DryBulb .. WindDirection
  int firstHour = 0;  // 1..8760
  int length = 0;     // hours
  bool reachesYearEnd = false;
  int pass = 1;       // 1, or 2 for the repeated pass
};

class RepairRecord {
 public:
  // Hour h (1..8760) of the cleaned series s (DryBulb .. WindDirection) was written by m.
  // A later repair of the same hour replaces the method: each hour counts once.
  void NoteRepair(Series s, int h, RepairMethod m) { methods_[Index(s)][h - 1] = m; }
  void NoteStreak(const BadStreak& streak) { streaks_.push_back(streak); }
  void NotePass(int pass) { passes_ = pass; }

  RepairMethod MethodAt(Series s, int h) const { return methods_[Index(s)][h - 1]; }
  const std::vector<BadStreak>& streaks() const { return streaks_; }
  int passes() const { return passes_; }  // 0 before the first pass, 2 after a repetition

 private:
  static size_t Index(Series s) { return static_cast<size_t>(s); }

  std::array<std::array<RepairMethod, kHoursPerYear>, kCleanedSeries> methods_{};
  std::vector<BadStreak> streaks_;
  int passes_ = 0;
};

}  // namespace kestrum
