// Saturation pressures remembered by exact temperature, for the wet-bulb searches of
// one formatting run.
#pragma once

#include <cstddef>
#include <vector>

namespace kestrum {

// The wet-bulb search of every hour starts at the hour's dry bulb and walks in steps of
// 1, 0.1, 0.01 ... deg F, so the hours of a year that share a dry bulb visit the same
// temperatures again: most evaluations of a run find their saturation pressure here
// instead of working out the Hyland-Wexler correlation anew. A value handed out is the
// one SatPressure computed for that very temperature, so results do not change in any
// bit. Errors of SatPressure (at or below absolute zero) are thrown as before and
// nothing is remembered for them.
class SatPressureMemo {
 public:
  SatPressureMemo();

  // SatPressure(tempF), kPa.
  double SatPressureKPa(double tempF);

 private:
  struct Slot {
    double tempF;  // NaN while empty: it equals no temperature
    double kPa;
  };
  // Direct-mapped: each temperature has one slot, chosen by a hash of its bits; a newer
  // temperature replaces the older one there. 2^15 slots (512 KiB) keep about nine in
  // ten of the values a year's searches ask for again.
  static constexpr int kSlotBits = 15;
  std::vector<Slot> slots_;
};

}  // namespace kestrum
