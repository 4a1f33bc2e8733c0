#include "ftpack/crc32.h"

#include <array>

namespace kestrum::ftpack {

namespace {

// kTables[0] is the classic byte-at-a-time table. kTables[k][n] is the CRC of byte n
// followed by k zero bytes, which lets the loop below take eight bytes per step
// ("slicing by eight"): the eight lookups are independent of each other.
using CrcTables = std::array<std::array<uint32_t, 256>, 8>;

constexpr CrcTables MakeTables() {
  CrcTables tables{};
  for (uint32_t n = 0; n < 256; ++n) {
    uint32_t c = n;
    for (int k = 0; k < 8; ++k) c = (c & 1u) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
    tables[0][n] = c;
  }
  for (uint32_t n = 0; n < 256; ++n) {
    for (size_t k = 1; k < tables.size(); ++k) {
      const uint32_t previous = tables[k - 1][n];
      tables[k][n] = tables[0][previous & 0xFFu] ^ (previous >> 8);
    }
  }
  return tables;
}

constexpr CrcTables kTables = MakeTables();

// Four bytes as a little-endian number, whatever the byte order of the machine.
uint32_t LittleEndian32(const unsigned char* p) {
  return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
         static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

}  // namespace

uint32_t Crc32(const void* data, size_t size, uint32_t crc) {
  const auto* p = static_cast<const unsigned char*>(data);
  uint32_t c = ~crc;
  for (; size >= 8; size -= 8, p += 8) {
    const uint32_t low = c ^ LittleEndian32(p);
    const uint32_t high = LittleEndian32(p + 4);
    c = kTables[7][low & 0xFFu] ^ kTables[6][(low >> 8) & 0xFFu] ^
        kTables[5][(low >> 16) & 0xFFu] ^ kTables[4][low >> 24] ^
        kTables[3][high & 0xFFu] ^ kTables[2][(high >> 8) & 0xFFu] ^
        kTables[1][(high >> 16) & 0xFFu] ^ kTables[0][high >> 24];
  }
  for (; size > 0; --size, ++p) c = kTables[0][(c ^ *p) & 0xFFu] ^ (c >> 8);
  return ~c;
}

}  // namespace kestrum::ftpack
