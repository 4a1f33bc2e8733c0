// A complete, valid year of FT values, for targets that put a short fuzzed start in front
// of it: libFuzzer cannot grow a 700 KB file that must be right in every line, but it can
// vary the start of one and leave the rest to this template.
#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include "ftpack/bin_format.h"
#include "ftpack/crc32.h"
#include "ftpack/ft_text.h"

namespace kestrum::fuzz {

inline const ftpack::FtData& TemplateFtData() {
  static const ftpack::FtData data = [] {
    ftpack::FtData d;
    const std::string description = "Fuzz template site";
    std::fill(d.site.description.begin(), d.site.description.end(), ' ');
    std::copy(description.begin(), description.end(), d.site.description.begin());
    d.site.latitude = 3974;
    d.site.westLongitude = 10518;
    d.site.westTimeZone = 7;
    d.monthFactors.fill(100);
    d.groundTemps.fill(5000);
    for (int h = 1; h <= ftpack::kFtHours; ++h) {
      ftpack::FtHourFields f{};
      ftpack::CalendarOfHour(h, f[ftpack::kMonth], f[ftpack::kDay], f[ftpack::kHour]);
      f[ftpack::kDryBulb] = 40 + h % 30;
      f[ftpack::kWetBulb] = 35 + h % 20;
      f[ftpack::kPressure] = 249;
      f[ftpack::kCloud] = 2;
      d.hours.push_back(f);
    }
    return d;
  }();
  return data;
}

// The template's FT text, cut into its lines (CR LF kept).
inline const std::vector<std::string>& TemplateFtLines() {
  static const std::vector<std::string> lines = [] {
    const std::string text = ftpack::PrintFtText(TemplateFtData());
    std::vector<std::string> out;
    for (size_t start = 0; start < text.size();) {
      const size_t end = text.find('\n', start) + 1;
      out.push_back(text.substr(start, end - start));
      start = end;
    }
    return out;
  }();
  return lines;
}

// bytes laid over the start of the template's ".bin", with the CRC made to match, so that
// the checks behind the CRC are reached.
inline std::vector<unsigned char> OverTemplateBin(const unsigned char* bytes, size_t size) {
  static const std::vector<unsigned char> base = ftpack::EncodeBin(TemplateFtData());
  std::vector<unsigned char> out = base;
  std::copy(bytes, bytes + std::min(size, out.size()), out.begin());
  const uint32_t crc = ftpack::Crc32(out.data() + ftpack::kBinHeaderSize,
                                     out.size() - ftpack::kBinHeaderSize);
  for (int i = 0; i < 4; ++i) out[12 + i] = static_cast<unsigned char>(crc >> (8 * i));
  return out;
}

}  // namespace kestrum::fuzz
