// The FT text parser over any text: what it accepts prints back byte for byte, and packs
// into a ".bin" that decodes to the same values. Each input is tried as it is, and with
// its whole lines in front of the lines of a valid year that follow them.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "ftpack/bin_format.h"
#include "ftpack/ft_text.h"
#include "ft_template.h"
#include "fuzz_support.h"

using namespace kestrum::ftpack;

namespace {

bool SameData(const FtData& a, const FtData& b) {
  return a.site.description == b.site.description && a.site.latitude == b.site.latitude &&
         a.site.westLongitude == b.site.westLongitude && a.site.westTimeZone == b.site.westTimeZone &&
         a.site.siteCode == b.site.siteCode && a.monthFactors == b.monthFactors &&
         a.groundTemps == b.groundTemps && a.hours == b.hours;
}

void Check(std::string_view text) {
  FtData parsed;
  if (!ParseFtText(text, parsed).ok()) return;
  if (PrintFtText(parsed) != text) kestrum::fuzz::Broken("the FT text does not print back");
  if (!CheckFtData(parsed).empty()) kestrum::fuzz::Broken("parsed values that cannot be printed");
  const std::vector<unsigned char> bin = EncodeBin(parsed);
  if (!SameData(DecodeBin(bin.data(), bin.size()), parsed)) {
    kestrum::fuzz::Broken("the .bin does not decode to the parsed values");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  Check(text);
  const size_t wholeLines = text.rfind('\n') == std::string_view::npos ? 0 : text.rfind('\n') + 1;
  const auto& year = kestrum::fuzz::TemplateFtLines();
  const size_t given = static_cast<size_t>(std::count(text.begin(), text.end(), '\n'));
  if (given >= year.size()) return 0;
  std::string completed(text.substr(0, wholeLines));
  for (size_t i = given; i < year.size(); ++i) completed += year[i];
  Check(completed);
  return 0;
}
