#include "format/sat_pressure_memo.h"

#include <cstdint>
#include <cstring>
#include <limits>

#include "format/psychrometrics.h"

namespace kestrum {

SatPressureMemo::SatPressureMemo()
    : slots_(size_t{1} << kSlotBits, Slot{std::numeric_limits<double>::quiet_NaN(), 0.0}) {}

double SatPressureMemo::SatPressureKPa(double tempF) {
  uint64_t bits = 0;
  std::memcpy(&bits, &tempF, sizeof bits);
  // Fibonacci hashing: the top bits of the product spread neighbouring temperatures.
  const size_t index = static_cast<size_t>((bits * 0x9E3779B97F4A7C15u) >> (64 - kSlotBits));
  Slot& slot = slots_[index];
  if (slot.tempF == tempF) return slot.kPa;
  const double kPa = SatPressure(tempF);  // throws before anything is remembered
  slot = Slot{tempF, kPa};
  return kPa;
}

}  // namespace kestrum
