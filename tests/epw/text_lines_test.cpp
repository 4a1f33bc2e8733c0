#include "epw/text_lines.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include "run/run_error.h"
#include "support/test_support.h"

namespace kestrum {
namespace {

std::string RefusalOf(const std::string& path) {
  try {
    TextLineReader lines(path);
  } catch (const InputError& e) {
    return e.what();
  }
  return "read";
}

// None of these may block or read forever: a pipe with no writer, an endless device.
TEST(TextLineReader, ReadsOnlyRegularFiles) {
  testing::TempDir dir;
  const std::string fifo = dir.File("pipe.epw");
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  const std::string socketPath = dir.File("s.epw");
  const int sock = socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un addr{};
  addr.sun_family = AF_UNIX;
  socketPath.copy(addr.sun_path, sizeof addr.sun_path - 1);
  ASSERT_EQ(bind(sock, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
  const std::pair<std::string, std::string> cases[] = {
      {fifo, "Cannot read " + fifo + ": it is a named pipe, not a regular file."},
      {"/dev/zero", "Cannot read /dev/zero: it is a device, not a regular file."},
      {dir.str(), "Cannot read " + dir.str() + ": it is a directory, not a regular file."},
      {socketPath, "Cannot read " + socketPath + ": it is a socket, not a regular file."},
      {dir.File("none.epw"), "The file " + dir.File("none.epw") + " does not exist."},
  };
  for (const auto& [path, message] : cases) EXPECT_EQ(RefusalOf(path), message);
  close(sock);
}

TEST(TextLineReader, SplitsAtEveryKindOfLineEndAndNumbersTheLines) {
  testing::TempDir dir;
  TextLineReader lines(dir.Write("t.txt", "\xEF\xBB\xBF" "a\r\nb\rc\n\r\nd\r\r\ne"));
  std::vector<std::string> got;
  std::string line;
  while (lines.Next(line)) got.push_back(std::to_string(lines.lineNumber()) + ":" + line);
  EXPECT_EQ(got, (std::vector<std::string>{"1:a", "2:b", "3:c", "4:", "5:d", "6:", "7:e"}));
  // Only the first line loses a byte-order mark.
  TextLineReader second(dir.Write("u.txt", "x\n\xEF\xBB\xBFy\n"));
  ASSERT_TRUE(second.Next(line) && second.Next(line));
  EXPECT_EQ(line, "\xEF\xBB\xBFy");
}

// Lines of every length around the reader's 64 KB chunks, with every kind of line end, so
// that line ends and CR LF pairs fall on the chunk boundaries.
TEST(TextLineReader, LinesAcrossChunkBoundariesComeBackWhole) {
  testing::TempDir dir;
  std::vector<std::string> expected;
  std::string text;
  unsigned seed = 12345;
  while (text.size() < 600000) {
    seed = seed * 1103515245u + 12345u;
    const size_t length = 1 + ((seed >> 8) % 70000 < 60000 ? (seed >> 8) % 300 : (seed >> 8) % 70000);
    std::string line(length, static_cast<char>('a' + expected.size() % 26));
    expected.push_back(line);
    static const char* kEnds[] = {"\n", "\r\n", "\r"};
    text += line + kEnds[(seed >> 20) % 3];
  }
  TextLineReader lines(dir.Write("long.txt", text));
  std::vector<std::string> got;
  std::string line;
  while (lines.Next(line)) got.push_back(line);
  ASSERT_EQ(got.size(), expected.size());
  EXPECT_TRUE(got == expected);
}

}  // namespace
}  // namespace kestrum
