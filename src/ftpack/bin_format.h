// The ".bin" weather file: the FT file's values as little-endian integers, each the exact
// scaled integer of its printed decimals, behind a header with a magic number, a format
// version and a CRC-32 of the payload. docs/bin-format.md gives the byte offsets.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "ftpack/ft_text.h"

namespace kestrum::ftpack {

inline constexpr std::array<unsigned char, 4> kBinMagic = {'K', 'W', 'B', 0x1A};
inline constexpr uint16_t kBinVersion = 1;

inline constexpr size_t kBinHeaderSize = 32;
inline constexpr size_t kBinSiteSize = 44;      // description, padding, four site numbers
inline constexpr size_t kBinMonthlySize = 96;   // 12 factors, 12 ground temperatures
inline constexpr size_t kBinHourSize = 44;
inline constexpr size_t kBinPayloadSize =
    kBinSiteSize + kBinMonthlySize + static_cast<size_t>(kFtHours) * kBinHourSize;
inline constexpr size_t kBinFileSize = kBinHeaderSize + kBinPayloadSize;

// Where each field of an hourly record lies within its 44 bytes, and how many bytes it
// takes (1: unsigned, 2 and 4: signed). Byte 3 is padding (zero).
inline constexpr std::array<uint8_t, kHourFieldCount> kBinHourFieldOffsets = {
    0, 1, 2, 4, 6, 8, 12, 14, 16, 18, 20, 24, 28, 32, 36, 40, 42};
inline constexpr std::array<uint8_t, kHourFieldCount> kBinHourFieldBytes = {
    1, 1, 1, 2, 2, 4, 2, 2, 2, 2, 4, 4, 4, 4, 4, 2, 2};

class BinFormatError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The ".bin" bytes of data. Throws BinFormatError when CheckFtData finds a problem.
std::vector<unsigned char> EncodeBin(const FtData& data);

// Reads ".bin" bytes back. Throws BinFormatError (without the file name) when the size,
// magic number, version, sizes, padding or CRC are wrong, or when the values could not
// be printed as an FT file.
FtData DecodeBin(const unsigned char* bytes, size_t size);

}  // namespace kestrum::ftpack
