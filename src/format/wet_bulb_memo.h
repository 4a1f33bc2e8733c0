// Wet bulbs found during one formatting run, remembered by what they were searched for.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <unordered_map>
#include <vector>

namespace kestrum {

// The wet-bulb search is a pure function of the dry bulb, the humidity ratio and the
// station pressure, and a year of hourly weather repeats the same dry bulb with the same
// dew point or relative humidity again and again: in the bundled weather files four
// hours in five. Such hours take the wet bulb of the first one instead of searching
// again. Keys are compared exactly, so a remembered value is the one the search gave
// for these very numbers. A search that failed is not remembered (it threw).
class WetBulbMemo {
 public:
  // The wet bulb, deg F, found earlier for these inputs, if any.
  std::optional<double> Find(double dryBulbF, double humRatio, double pressureKPa) const;

  void Remember(double dryBulbF, double humRatio, double pressureKPa, double wetBulbF);

  size_t size() const { return wetBulbs_.size(); }

  // SatPressure(tempF), kPa, remembered by the exact temperature: the search's guesses
  // and the hours' dry bulbs and dew points repeat as often as the hours do. Throws as
  // SatPressure does.
  double SatPressure(double tempF);

 private:
  struct Inputs {
    double dryBulbF;
    double humRatio;
    double pressureKPa;
    bool operator==(const Inputs&) const = default;
  };
  struct InputsHash {
    size_t operator()(const Inputs& in) const;
  };
  std::unordered_map<Inputs, double, InputsHash> wetBulbs_;

  // A direct-mapped cache: each temperature has one slot, which a later one may take.
  struct SatPressureSlot {
    uint64_t tempBits;
    double pressureKPa;
  };
  std::vector<SatPressureSlot> satPressures_;
};

}  // namespace kestrum
