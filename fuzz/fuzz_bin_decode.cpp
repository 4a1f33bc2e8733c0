// The ".bin" decoder over any bytes: what it accepts encodes back byte for byte, and its
// FT text parses to the same values. Each input is tried as it is, and laid over the start
// of a valid ".bin" with its CRC made to match, so that the checks behind the CRC are met.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "ftpack/bin_format.h"
#include "ftpack/ft_text.h"
#include "ft_template.h"
#include "fuzz_support.h"

using namespace kestrum::ftpack;

namespace {

void Check(const uint8_t* data, size_t size) {
  FtData decoded;
  try {
    decoded = DecodeBin(data, size);
  } catch (const BinFormatError&) {
    return;
  }
  const std::vector<unsigned char> again = EncodeBin(decoded);
  if (again.size() != size || std::memcmp(again.data(), data, size) != 0) {
    kestrum::fuzz::Broken("the decoded .bin does not encode back");
  }
  const std::string text = PrintFtText(decoded);
  FtData parsed;
  if (!ParseFtText(text, parsed).ok() || PrintFtText(parsed) != text) {
    kestrum::fuzz::Broken("the decoded values do not make a readable FT text");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Check(data, size);
  const std::vector<unsigned char> over = kestrum::fuzz::OverTemplateBin(data, size);
  Check(over.data(), over.size());
  return 0;
}
