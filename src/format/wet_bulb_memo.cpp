#include "format/wet_bulb_memo.h"

#include <cstdint>
#include <cstring>

#include "format/psychrometrics.h"

namespace kestrum {

namespace {

uint64_t Bits(double v) {
  uint64_t bits = 0;
  std::memcpy(&bits, &v, sizeof bits);
  return bits;
}

// Slots of the saturation-pressure cache (a power of two), and the key of an empty one:
// a NaN, for which SatPressure throws and so is never remembered.
constexpr size_t kSatPressureSlots = 4096;
constexpr uint64_t kNoTemperature = 0x7FF8DEADBEEF0001u;

}  // namespace

double WetBulbMemo::SatPressure(double tempF) {
  if (satPressures_.empty()) satPressures_.assign(kSatPressureSlots, {kNoTemperature, 0.0});
  const uint64_t bits = Bits(tempF);
  uint64_t h = bits * 0x9E3779B97F4A7C15u;
  SatPressureSlot& slot = satPressures_[static_cast<size_t>(h >> 52) & (kSatPressureSlots - 1)];
  if (slot.tempBits != bits) {
    slot.pressureKPa = kestrum::SatPressure(tempF);
    slot.tempBits = bits;
  }
  return slot.pressureKPa;
}

size_t WetBulbMemo::InputsHash::operator()(const Inputs& in) const {
  // Each number's bits times its own odd constant; the products differ in every bit.
  const uint64_t h = Bits(in.dryBulbF) * 0x9E3779B97F4A7C15u ^
                     Bits(in.humRatio) * 0xC2B2AE3D27D4EB4Fu ^
                     Bits(in.pressureKPa) * 0x165667B19E3779F9u;
  return static_cast<size_t>(h ^ (h >> 29));
}

std::optional<double> WetBulbMemo::Find(double dryBulbF, double humRatio,
                                        double pressureKPa) const {
  const auto it = wetBulbs_.find(Inputs{dryBulbF, humRatio, pressureKPa});
  if (it == wetBulbs_.end()) return std::nullopt;
  return it->second;
}

void WetBulbMemo::Remember(double dryBulbF, double humRatio, double pressureKPa,
                           double wetBulbF) {
  wetBulbs_.emplace(Inputs{dryBulbF, humRatio, pressureKPa}, wetBulbF);
}

}  // namespace kestrum
