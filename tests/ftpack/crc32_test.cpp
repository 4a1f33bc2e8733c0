// The table-driven CRC-32 against the bit-at-a-time definition.
#include "ftpack/crc32.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

namespace kestrum::ftpack {
namespace {

// Reflected polynomial 0xEDB88320, one bit at a time.
uint32_t BitwiseCrc32(const unsigned char* p, size_t size) {
  uint32_t c = 0xFFFFFFFFu;
  for (size_t i = 0; i < size; ++i) {
    c ^= p[i];
    for (int k = 0; k < 8; ++k) c = (c & 1u) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
  }
  return ~c;
}

TEST(Crc32Tables, AgreesWithTheBitwiseDefinitionForEveryLengthAndStart) {
  std::mt19937 random(7);
  std::vector<unsigned char> bytes(600);
  for (unsigned char& b : bytes) b = static_cast<unsigned char>(random());
  for (size_t start = 0; start < 9; ++start) {
    for (size_t size = 0; start + size <= bytes.size(); size += (size < 40 ? 1 : 37)) {
      ASSERT_EQ(Crc32(bytes.data() + start, size), BitwiseCrc32(bytes.data() + start, size))
          << "start " << start << ", " << size << " bytes";
    }
  }
}

TEST(Crc32Tables, RunningCrcOverPiecesEqualsTheWhole) {
  std::vector<unsigned char> bytes(1000);
  for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<unsigned char>(i * 31 + 7);
  const uint32_t whole = Crc32(bytes.data(), bytes.size());
  for (size_t cut : {0u, 1u, 7u, 8u, 13u, 500u, 999u, 1000u}) {
    EXPECT_EQ(Crc32(bytes.data() + cut, bytes.size() - cut, Crc32(bytes.data(), cut)), whole)
        << cut;
  }
}

}  // namespace
}  // namespace kestrum::ftpack
