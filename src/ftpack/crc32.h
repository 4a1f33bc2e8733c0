// CRC-32 as used by zip and PNG (reflected polynomial 0xEDB88320, initial value and
// final complement 0xFFFFFFFF). Crc32("123456789") == 0xCBF43926.
#pragma once

#include <cstddef>
#include <cstdint>

namespace kestrum::ftpack {

// CRC of `size` bytes at data. To continue a running CRC pass the previous result as crc.
uint32_t Crc32(const void* data, size_t size, uint32_t crc = 0);

}  // namespace kestrum::ftpack
