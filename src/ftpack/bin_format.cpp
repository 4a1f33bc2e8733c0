#include "ftpack/bin_format.h"

#include <cstring>
#include <limits>
#include <utility>

#include "ftpack/crc32.h"

namespace kestrum::ftpack {

namespace {

// Header offsets.
constexpr size_t kOffVersion = 4;
constexpr size_t kOffHeaderSize = 6;
constexpr size_t kOffPayloadSize = 8;
constexpr size_t kOffCrc = 12;
constexpr size_t kOffHourCount = 16;
constexpr size_t kOffHourSize = 20;
constexpr size_t kOffHeaderReserved = 22;  // 10 bytes of zeros up to 32

// Payload offsets (from the start of the file).
constexpr size_t kOffDescription = kBinHeaderSize;
constexpr size_t kOffSitePadding = kOffDescription + kFtDescriptionWidth;  // 3 bytes of zeros
constexpr size_t kOffLatitude = kBinHeaderSize + 28;
constexpr size_t kOffLongitude = kOffLatitude + 4;
constexpr size_t kOffTimeZone = kOffLongitude + 4;
constexpr size_t kOffSiteCode = kOffTimeZone + 4;
constexpr size_t kOffFactors = kBinHeaderSize + kBinSiteSize;
constexpr size_t kOffGround = kOffFactors + 48;
constexpr size_t kOffHours = kOffFactors + kBinMonthlySize;
constexpr size_t kHourPadding = 3;

static_assert(kOffSiteCode + 4 == kOffFactors);
static_assert(kBinHourFieldOffsets[kHourFieldCount - 1] + kBinHourFieldBytes[kHourFieldCount - 1] ==
              kBinHourSize);

void PutU16(unsigned char* p, uint16_t v) {
  p[0] = static_cast<unsigned char>(v);
  p[1] = static_cast<unsigned char>(v >> 8);
}

void PutU32(unsigned char* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<unsigned char>(v >> (8 * i));
}

uint16_t GetU16(const unsigned char* p) {
  return static_cast<uint16_t>(p[0] | (static_cast<unsigned>(p[1]) << 8));
}

uint32_t GetU32(const unsigned char* p) {
  uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = (v << 8) | p[i];
  return v;
}

// A signed value in `bytes` bytes (two's complement), or an unsigned byte.
[[gnu::always_inline]] inline void PutValue(unsigned char* p, int32_t v, int bytes) {
  bool fits = false;
  switch (bytes) {
    case 1: fits = v >= 0 && v <= 255; break;
    case 2: fits = v >= std::numeric_limits<int16_t>::min() && v <= std::numeric_limits<int16_t>::max(); break;
    default: fits = true; break;
  }
  if (!fits) throw BinFormatError("a value does not fit its place in the BIN file");
  const uint32_t u = static_cast<uint32_t>(v);
  if (bytes == 1) {
    p[0] = static_cast<unsigned char>(u);
  } else if (bytes == 2) {
    PutU16(p, static_cast<uint16_t>(u));
  } else {
    PutU32(p, u);
  }
}

int32_t GetValue(const unsigned char* p, int bytes) {
  if (bytes == 1) return p[0];
  if (bytes == 2) return static_cast<int16_t>(GetU16(p));
  return static_cast<int32_t>(GetU32(p));
}

bool AllZero(const unsigned char* p, size_t n) {
  for (size_t i = 0; i < n; ++i) {
    if (p[i] != 0) return false;
  }
  return true;
}

// The fields of an hourly record into its place at rec, with each field's offset and size
// known at compile time.
template <size_t... I>
void PutHourFields(unsigned char* rec, const FtHourFields& fields, std::index_sequence<I...>) {
  (PutValue(rec + kBinHourFieldOffsets[I], fields[I], kBinHourFieldBytes[I]), ...);
}

}  // namespace

std::vector<unsigned char> EncodeBin(const FtData& data) {
  const std::string problem = CheckFtData(data);
  if (!problem.empty()) throw BinFormatError("the FT values cannot be packed: " + problem);

  std::vector<unsigned char> out(kBinFileSize, 0);
  unsigned char* b = out.data();
  std::memcpy(b, kBinMagic.data(), kBinMagic.size());
  PutU16(b + kOffVersion, kBinVersion);
  PutU16(b + kOffHeaderSize, static_cast<uint16_t>(kBinHeaderSize));
  PutU32(b + kOffPayloadSize, static_cast<uint32_t>(kBinPayloadSize));
  PutU32(b + kOffHourCount, static_cast<uint32_t>(kFtHours));
  PutU16(b + kOffHourSize, static_cast<uint16_t>(kBinHourSize));

  std::memcpy(b + kOffDescription, data.site.description.data(), kFtDescriptionWidth);
  PutValue(b + kOffLatitude, data.site.latitude, 4);
  PutValue(b + kOffLongitude, data.site.westLongitude, 4);
  PutValue(b + kOffTimeZone, data.site.westTimeZone, 4);
  PutValue(b + kOffSiteCode, data.site.siteCode, 4);
  for (size_t m = 0; m < 12; ++m) {
    PutValue(b + kOffFactors + 4 * m, data.monthFactors[m], 4);
    PutValue(b + kOffGround + 4 * m, data.groundTemps[m], 4);
  }
  for (size_t h = 0; h < data.hours.size(); ++h) {
    PutHourFields(b + kOffHours + h * kBinHourSize, data.hours[h],
                  std::make_index_sequence<kHourFieldCount>());
  }
  PutU32(b + kOffCrc, Crc32(b + kBinHeaderSize, kBinPayloadSize));
  return out;
}

FtData DecodeBin(const unsigned char* b, size_t size) {
  if (size < kBinHeaderSize || std::memcmp(b, kBinMagic.data(), kBinMagic.size()) != 0) {
    throw BinFormatError("it is not a Kestrum BIN weather file (no magic number)");
  }
  const uint16_t version = GetU16(b + kOffVersion);
  if (version != kBinVersion) {
    throw BinFormatError("its format version " + std::to_string(version) +
                         " is not supported (this program reads version " +
                         std::to_string(kBinVersion) + ")");
  }
  if (GetU16(b + kOffHeaderSize) != kBinHeaderSize ||
      GetU32(b + kOffPayloadSize) != kBinPayloadSize ||
      GetU32(b + kOffHourCount) != static_cast<uint32_t>(kFtHours) ||
      GetU16(b + kOffHourSize) != kBinHourSize ||
      !AllZero(b + kOffHeaderReserved, kBinHeaderSize - kOffHeaderReserved)) {
    throw BinFormatError("its header is damaged");
  }
  if (size != kBinFileSize) {
    throw BinFormatError("it has " + std::to_string(size) + " bytes instead of " +
                         std::to_string(kBinFileSize));
  }
  if (Crc32(b + kBinHeaderSize, kBinPayloadSize) != GetU32(b + kOffCrc)) {
    throw BinFormatError("its CRC-32 does not match its contents (the file is damaged)");
  }

  FtData data;
  std::memcpy(data.site.description.data(), b + kOffDescription, kFtDescriptionWidth);
  if (!AllZero(b + kOffSitePadding, 3)) throw BinFormatError("its site block is damaged");
  data.site.latitude = GetValue(b + kOffLatitude, 4);
  data.site.westLongitude = GetValue(b + kOffLongitude, 4);
  data.site.westTimeZone = GetValue(b + kOffTimeZone, 4);
  data.site.siteCode = GetValue(b + kOffSiteCode, 4);
  for (size_t m = 0; m < 12; ++m) {
    data.monthFactors[m] = GetValue(b + kOffFactors + 4 * m, 4);
    data.groundTemps[m] = GetValue(b + kOffGround + 4 * m, 4);
  }
  data.hours.resize(kFtHours);
  for (size_t h = 0; h < data.hours.size(); ++h) {
    const unsigned char* rec = b + kOffHours + h * kBinHourSize;
    if (rec[kHourPadding] != 0) {
      throw BinFormatError("hourly record " + std::to_string(h + 1) + " is damaged");
    }
    for (int f = 0; f < kHourFieldCount; ++f) {
      data.hours[h][f] = GetValue(rec + kBinHourFieldOffsets[f], kBinHourFieldBytes[f]);
    }
  }
  const std::string problem = CheckFtData(data);
  if (!problem.empty()) throw BinFormatError("its values do not form an FT file: " + problem);
  return data;
}

}  // namespace kestrum::ftpack
