#include "cleaning/postclean_file.h"

#include <array>

#include "format/original_data_file.h"

namespace kestrum {

void WritePostCleanFile(const std::string& path, const HourlyTable& table) {
  static constexpr std::array<Series, 5> kCleaned = {DryBulb, Moisture, SolarHorizontal,
                                                     WindSpeed, WindDirection};
  WriteHourRowsFile(path, {}, table, kCleaned);
}

}  // namespace kestrum
