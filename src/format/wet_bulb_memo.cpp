#include "format/wet_bulb_memo.h"

#include <cstdint>
#include <cstring>

namespace kestrum {

namespace {

uint64_t Bits(double v) {
  uint64_t bits = 0;
  std::memcpy(&bits, &v, sizeof bits);
  return bits;
}

}  // namespace

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
