// The cleaning snapshot: the five cleaned series after a cleaning pass, for inspection.
#pragma once

#include <string>

#include "run/hourly_table.h"

namespace kestrum {

// Snapshot names in the interim directory: the first pass and the repeated pass.
inline constexpr const char* kPostCleanFirstPass = "postclean-b.csv";
inline constexpr const char* kPostCleanRepeatPass = "postclean-c.csv";

// Creates or replaces path: no header, 8760 rows "month,day,hour" followed by dry bulb,
// moisture, global horizontal, wind speed and wind direction, each with 2 decimals in 8
// characters; CR LF line ends. Throws RunError when the file cannot be written.
void WritePostCleanFile(const std::string& path, const HourlyTable& table);

}  // namespace kestrum
