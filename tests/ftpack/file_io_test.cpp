// Reading a whole file with a size limit: what is read, around the limit and the sizes at
// which the reader grows its buffer.
#include "ftpack/file_io.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>
#include <string>

#include "ftpack_test_support.h"

namespace kestrum::ftpack {
namespace {

std::string Pattern(size_t size) {
  std::string text(size, '\0');
  for (size_t i = 0; i < size; ++i) text[i] = static_cast<char>((i * 131 + i / 256) & 0xFF);
  return text;
}

TEST(ReadWholeFile, ReadsEveryByteUpToTheLimitAndTheFirstOnesBeyondIt) {
  kestrum::testing::ScratchDir dir;
  for (size_t size : {0u, 1u, 65535u, 65536u, 65537u, 131073u, 300000u}) {
    const std::string content = Pattern(size);
    std::ofstream("f", std::ios::binary | std::ios::trunc) << content;
    for (size_t limit : {size > 0 ? size - 1 : 0, size, size + 1, size_t{10}, size_t{70000}}) {
      std::string bytes = "old";
      int error = -1;
      const ReadStatus status = ReadWholeFile("f", limit, bytes, error);
      if (size <= limit) {
        EXPECT_EQ(status, ReadStatus::Ok) << size << " bytes, limit " << limit;
        EXPECT_EQ(bytes, content) << size << " bytes, limit " << limit;
      } else {
        EXPECT_EQ(status, ReadStatus::TooLarge) << size << " bytes, limit " << limit;
        EXPECT_EQ(bytes, content.substr(0, limit)) << size << " bytes, limit " << limit;
      }
      EXPECT_EQ(error, 0);
    }
  }
}

TEST(ReadWholeFile, MissingFilesAndPipesAreRefused) {
  kestrum::testing::ScratchDir dir;
  std::string bytes;
  int error = 0;
  EXPECT_EQ(ReadWholeFile("missing", 100, bytes, error), ReadStatus::CannotOpen);
  EXPECT_NE(error, 0);
  ASSERT_EQ(::mkfifo("pipe", 0600), 0);
  EXPECT_EQ(ReadWholeFile("pipe", 100, bytes, error), ReadStatus::NotRegular);
}

}  // namespace
}  // namespace kestrum::ftpack
