// The packer library libftpack.so as the program binds it: its exports, its codes, and
// the ".bin" files it writes.
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <set>
#include <string>

#include "ftpack/unpack.h"
#include "ftpack_test_support.h"

namespace kestrum {
namespace {

namespace fs = std::filesystem;
using testing::ReadBytes;
using testing::RealFtpack;
using testing::RecordOffset;
using testing::ScratchDir;
using testing::SyntheticFtText;
using testing::WriteBytes;

// Writes name blank-padded into the library's buffer and packs.
int32_t PackNamed(const std::string& name) {
  FtpackLibrary& lib = RealFtpack();
  char* buffer = lib.init();
  std::memset(buffer, ' ', FTPACK_NAME_BUFFER_SIZE);
  std::memcpy(buffer, name.data(), std::min<size_t>(name.size(), FTPACK_NAME_BUFFER_SIZE));
  return lib.pack();
}

// Names in the directory, sorted.
std::set<std::string> Listing(const fs::path& dir) {
  std::set<std::string> names;
  for (const auto& entry : fs::directory_iterator(dir)) names.insert(entry.path().filename());
  return names;
}

TEST(FtpackLibrary, ExportsOnlyInitDllAndFtpack) {
  const std::string lib = std::string(KESTRUM_BIN_DIR) + "/libftpack.so";
  ASSERT_TRUE(fs::exists(lib)) << lib;
  FILE* pipe = ::popen(("nm -D --defined-only '" + lib + "' 2>/dev/null").c_str(), "r");
  ASSERT_NE(pipe, nullptr);
  std::set<std::string> symbols;
  char line[512];
  while (std::fgets(line, sizeof line, pipe) != nullptr) {
    char address[64], type[8], name[400];
    if (std::sscanf(line, "%63s %7s %399s", address, type, name) == 3) symbols.insert(name);
  }
  const int status = ::pclose(pipe);
  if (status != 0 && symbols.empty()) GTEST_SKIP() << "nm is not available";
  EXPECT_EQ(symbols, (std::set<std::string>{"FTPACK", "INIT_DLL"}));
}

TEST(FtpackLibrary, PacksAndTheBinUnpacksToTheSameFtText) {
  ScratchDir dir;
  const std::string text = SyntheticFtText();
  WriteBytes(dir / "Golden test.ft", text);
  ASSERT_EQ(PackNamed("Golden test"), FTPACK_OK);
  ASSERT_TRUE(fs::is_regular_file(dir / "Golden test.bin"));
  EXPECT_EQ(fs::file_size(dir / "Golden test.bin"), 385612u);
  EXPECT_EQ(ftpack::UnpackBin(dir / "Golden test.bin"), text);
  // Nothing but the two files: the temporary file was renamed into place.
  EXPECT_EQ(Listing(dir.path()), (std::set<std::string>{"Golden test.bin", "Golden test.ft"}));
  // The file gets the usual permissions, not those of a private temporary file.
  struct stat st {};
  ASSERT_EQ(::stat((dir / "Golden test.bin").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0666, 0666 & ~[] { mode_t m = ::umask(0); ::umask(m); return m; }());
}

TEST(FtpackLibrary, MalformedFtFilesGiveTheirCodeAndWriteNoBin) {
  const std::string good = SyntheticFtText();
  const size_t r = RecordOffset(4321);
  struct Case {
    const char* what;
    std::string text;
    int32_t code;
  };
  std::vector<Case> cases;
  cases.push_back({"short line", std::string(good).erase(r + 70, 3), FTPACK_ERR_HOURLY});
  cases.push_back({"overflowed field", std::string(good).replace(r + 6, 5, "12345."),
                   FTPACK_ERR_HOURLY});
  cases.push_back({"8759 records", good.substr(0, RecordOffset(8760)), FTPACK_ERR_HOURLY});
  cases.push_back({"non-numeric", std::string(good).replace(r + 16, 6, "  2O.9"),
                   FTPACK_ERR_HOURLY});
  cases.push_back({"bad header", std::string(good).replace(33, 8, "  west  "), FTPACK_ERR_HEADER});
  cases.push_back({"empty file", "", FTPACK_ERR_HEADER});
  cases.push_back({"header only", good.substr(0, RecordOffset(1)), FTPACK_ERR_HOURLY});
  cases.push_back({"far too long", good + std::string(3u << 20, 'x'), FTPACK_ERR_HOURLY});
  for (const Case& c : cases) {
    ScratchDir dir;
    WriteBytes(dir / "bad.ft", c.text);
    WriteBytes(dir / "bad.bin", "previous run");
    EXPECT_EQ(PackNamed("bad"), c.code) << c.what;
    // Nothing written, nothing left behind, the earlier ".bin" untouched.
    EXPECT_EQ(Listing(dir.path()), (std::set<std::string>{"bad.bin", "bad.ft"})) << c.what;
    EXPECT_EQ(ReadBytes(dir / "bad.bin"), "previous run") << c.what;
  }
}

TEST(FtpackLibrary, NameProblemsGiveMinusOne) {
  ScratchDir dir;
  WriteBytes(dir / "site.ft", SyntheticFtText());
  FtpackLibrary& lib = RealFtpack();
  EXPECT_EQ(PackNamed(""), FTPACK_ERR_FILENAME);
  EXPECT_EQ(PackNamed(std::string(128, 'n')), FTPACK_ERR_FILENAME);
  fs::create_directory(dir / "sub");
  WriteBytes(dir / "sub/site.ft", SyntheticFtText());
  EXPECT_EQ(PackNamed("sub/site"), FTPACK_ERR_FILENAME);
  EXPECT_EQ(PackNamed(std::string("si\0te", 5)), FTPACK_ERR_FILENAME);
  char* buffer = lib.init();
  std::memset(buffer, 0, FTPACK_NAME_BUFFER_SIZE);
  std::memcpy(buffer, "site", 4);  // NUL-terminated instead of blank-padded
  EXPECT_EQ(lib.pack(), FTPACK_ERR_FILENAME);
  EXPECT_FALSE(fs::exists(dir / "site.bin"));
  EXPECT_FALSE(fs::exists(dir / "sub/site.bin"));
  // 127 characters leave one blank: accepted.
  const std::string longest(127, 'n');
  WriteBytes(dir / (longest + ".ft"), SyntheticFtText());
  EXPECT_EQ(PackNamed(longest), FTPACK_OK);
  EXPECT_TRUE(fs::exists(dir / (longest + ".bin")));
}

TEST(FtpackLibrary, UnreadableFtFileGivesOne) {
  ScratchDir dir;
  EXPECT_EQ(PackNamed("missing"), FTPACK_ERR_OPEN_FT);
  fs::create_directory(dir / "folder.ft");
  EXPECT_EQ(PackNamed("folder"), FTPACK_ERR_OPEN_FT);
  // A FIFO is refused at once instead of waiting for a writer.
  ASSERT_EQ(::mkfifo((dir / "pipe.ft").c_str(), 0600), 0);
  EXPECT_EQ(PackNamed("pipe"), FTPACK_ERR_OPEN_FT);
  EXPECT_EQ(Listing(dir.path()), (std::set<std::string>{"folder.ft", "pipe.ft"}));
}

TEST(FtpackLibrary, BinThatCannotBeReplacedGivesEleven) {
  ScratchDir dir;
  WriteBytes(dir / "site.ft", SyntheticFtText());
  fs::create_directory(dir / "site.bin");
  WriteBytes(dir / "site.bin/keep", "x");
  EXPECT_EQ(PackNamed("site"), FTPACK_ERR_OPEN_BIN);
  EXPECT_TRUE(fs::is_directory(dir / "site.bin"));
  EXPECT_EQ(Listing(dir.path()), (std::set<std::string>{"site.bin", "site.ft"}));
}

}  // namespace
}  // namespace kestrum
