// The run state: which conversion is running, under which name, and the site.
#pragma once

#include <cstdint>
#include <string>

namespace kestrum {

inline constexpr uint8_t RunModeNone = 0;
inline constexpr uint8_t RunModeCsv = 2;
inline constexpr uint8_t RunModeEpw = 3;

// Five texts describing a site, kept as typed or read (at most 255 characters each).
struct SiteInfo {
  std::string description;
  std::string latitude;   // decimal degrees, north positive
  std::string longitude;  // decimal degrees, west negative
  std::string timeZone;   // hours from Greenwich, west negative
  std::string elevation;  // metres
};

struct RunState {
  uint8_t runMode = RunModeNone;
  std::string outputBaseName;
  int32_t moistureIndicator = 1;  // 0 dew point, 1 wet bulb, 2 relative humidity
  uint8_t moistureKind = 0;       // of the last formatted run: 1 DP, 2 WB, 3 RH
  bool automaticMode = false;
};

// "name.BIN" -> "name"; a name without extension stays whole.
std::string RemoveExtension(const std::string& fileName);

}  // namespace kestrum
