// MakeBinFile: the last stage of a run, with the real packer library and with a stand-in
// that returns chosen codes.
#include "format/bin_packer.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "ftpack/unpack.h"
#include "ftpack_test_support.h"
#include "run/hourly_table.h"
#include "run/run_log.h"
#include "run/run_state.h"
#include "run/run_ui.h"

namespace kestrum {
namespace {

namespace fs = std::filesystem;
using testing::ReadBytes;
using testing::RealFtpack;
using testing::RecordOffset;
using testing::ScratchDir;
using testing::SyntheticFtText;
using testing::WriteBytes;

using testing::RecordingUi;

// A stand-in packer that answers with a chosen code and writes nothing.
char gFakeBuffer[FTPACK_NAME_BUFFER_SIZE];
int32_t gFakeCode = 0;
int gFakeCalls = 0;
char* FakeInit() { return gFakeBuffer; }
int32_t FakePack() {
  ++gFakeCalls;
  return gFakeCode;
}

// The interim directory (the current directory while the test runs) and a log file
// beside it, outside the interim directory.
class MakeBinFileTest : public ::testing::Test {
 protected:
  MakeBinFileTest()
      : interim(scratch.path() / "Interim"),
        log((scratch.path() / "run.log").string()),
        ctx{table, state, ui, log, interim.string()} {
    fs::create_directory(interim);
    fs::current_path(interim);
    state.outputBaseName = "site";
    gFakeCode = 0;
    gFakeCalls = 0;
  }

  std::vector<std::string> LogLines() const {
    std::vector<std::string> lines;
    const std::string text = ReadBytes(log.path());
    for (size_t pos = 0; pos < text.size();) {
      const size_t end = text.find("\r\n", pos);
      lines.push_back(text.substr(pos, end - pos));
      pos = end + 2;
    }
    return lines;
  }

  std::set<std::string> Names(const fs::path& dir) const {
    std::set<std::string> names;
    for (const auto& e : fs::directory_iterator(dir)) names.insert(e.path().filename());
    return names;
  }

  PackResult Pack(const std::string& outputDir, FtpackLibrary& lib = RealFtpack()) {
    return MakeBinFile(state.outputBaseName, outputDir, ctx, lib);
  }

  ScratchDir scratch;
  fs::path interim;
  HourlyTable table;
  RunState state;
  RecordingUi ui;
  RunLog log;
  StageContext ctx;
  FtpackLibrary fake{&FakeInit, &FakePack};
};

TEST_F(MakeBinFileTest, PacksAndCopiesToTheOutputDirectory) {
  const std::string text = SyntheticFtText();
  WriteBytes((interim / "site.ft").string(), text);
  const fs::path out = scratch.path() / "out";
  fs::create_directory(out);
  WriteBytes((out / "site.bin").string(), "stale copy of an earlier run");

  const PackResult result = Pack(out.string());
  EXPECT_TRUE(result.ok);
  EXPECT_EQ(result.binPath, (out / "site.bin").string());
  EXPECT_EQ(ReadBytes(result.binPath), ReadBytes((interim / "site.bin").string()));
  EXPECT_EQ(ftpack::UnpackBin(result.binPath), text);
  EXPECT_EQ(Names(out), std::set<std::string>{"site.bin"});
  EXPECT_TRUE(ui.echoed.empty());
  EXPECT_FALSE(fs::exists(log.path()));
  EXPECT_EQ(ui.repaints, 1);
}

TEST_F(MakeBinFileTest, MissingFtFileIsReportedAndNothingIsPacked) {
  const PackResult result = Pack(scratch.path().string(), fake);
  EXPECT_FALSE(result.ok);
  EXPECT_TRUE(result.binPath.empty());
  const std::string msg = "     Bin file not created because FT file does not exist.";
  EXPECT_EQ(LogLines(), std::vector<std::string>{msg});
  EXPECT_EQ(ui.echoed, std::vector<std::string>{msg});
  EXPECT_EQ(gFakeCalls, 0);
}

TEST_F(MakeBinFileTest, EveryPackerCodeHasItsMessage) {
  WriteBytes((interim / "site.ft").string(), "any");
  const std::vector<std::pair<int32_t, std::string>> table = {
      {-1, "Ftpack DLL: Error with filename creation"},
      {1, "Ftpack DLL: Error opening .ft file"},
      {2, "Ftpack DLL: Error reading header from .ft"},
      {3, "Ftpack DLL: Error reading hourly data from .ft"},
      {4, "Ftpack DLL: Error writing to .bin (" + (interim / "site.bin").string() + ")"},
      {11, "Ftpack DLL: Error opening .bin file (" + (interim / "site.bin").string() + ")"},
      {5, "Ftpack DLL: Unknown error"},
      {-2, "Ftpack DLL: Unknown error"},
      {FTPACK_ERR_INTERNAL, "Ftpack DLL: Unknown error"},
  };
  std::memset(gFakeBuffer, 'x', sizeof gFakeBuffer);
  std::vector<std::string> expected;
  for (const auto& [code, message] : table) {
    gFakeCode = code;
    const PackResult result = Pack(scratch.path().string(), fake);
    EXPECT_FALSE(result.ok) << code;
    EXPECT_TRUE(result.binPath.empty()) << code;
    EXPECT_EQ(result.reason, message);
    expected.push_back("     " + message);
  }
  EXPECT_EQ(LogLines(), expected);
  EXPECT_EQ(ui.echoed, expected);
  EXPECT_EQ(ui.repaints, static_cast<int>(table.size()));
  // The packer found the base name blank-padded in its buffer.
  EXPECT_EQ(std::string(gFakeBuffer, sizeof gFakeBuffer), "site" + std::string(124, ' '));
}

TEST_F(MakeBinFileTest, SuccessCodeWithoutBinFileIsLoggedAsError) {
  WriteBytes((interim / "site.ft").string(), "any");
  // A ".bin" of an earlier run must not pass for the result of this one.
  WriteBytes((interim / "site.bin").string(), "earlier run");
  gFakeCode = 0;
  const PackResult result = Pack(scratch.path().string(), fake);
  EXPECT_FALSE(result.ok);
  EXPECT_EQ(LogLines(),
            std::vector<std::string>{"       Error encountered while creating BIN file:site.bin"});
  EXPECT_TRUE(ui.echoed.empty());
  EXPECT_FALSE(fs::exists(interim / "site.bin"));
}

TEST_F(MakeBinFileTest, OldBinIsDeletedWhateverTheCaseOfItsExtension) {
  // The FT file is cut short: packing fails, and no ".bin" of an earlier run may remain.
  WriteBytes((interim / "site.ft").string(), SyntheticFtText().substr(0, RecordOffset(8760)));
  for (const char* name : {"site.bin", "site.BIN", "site.Bin", "site.bIn"}) {
    WriteBytes((interim / name).string(), "earlier run");
  }
  // Files of other names stay.
  for (const char* name : {"site2.bin", "Site.bin", "site.bin.txt", "site.binx"}) {
    WriteBytes((interim / name).string(), "keep");
  }
  const PackResult result = Pack(scratch.path().string());
  EXPECT_FALSE(result.ok);
  EXPECT_EQ(Names(interim), (std::set<std::string>{"site.ft", "site2.bin", "Site.bin",
                                                   "site.bin.txt", "site.binx"}));
  const std::string msg = "     Ftpack DLL: Error reading hourly data from .ft";
  EXPECT_EQ(LogLines(), std::vector<std::string>{msg});
  EXPECT_EQ(ui.echoed, std::vector<std::string>{msg});
}

TEST_F(MakeBinFileTest, OutputDirectoryThatIsTheInterimDirectoryGetsNoCopy) {
  WriteBytes((interim / "site.ft").string(), SyntheticFtText());
  const std::string binHere = (interim / "site.bin").string();

  // The same text.
  PackResult result = Pack(interim.string());
  EXPECT_TRUE(result.ok);
  EXPECT_EQ(result.binPath, binHere);

  // The same directory under another name: a copy would be made onto itself.
  fs::create_directory_symlink(interim, scratch.path() / "link");
  result = Pack((scratch.path() / "link").string());
  EXPECT_TRUE(result.ok);
  EXPECT_EQ(result.binPath, binHere);
  result = Pack(interim.string() + "/");
  EXPECT_EQ(result.binPath, binHere);
  EXPECT_EQ(fs::file_size(binHere), 385612u);
  EXPECT_EQ(Names(interim), (std::set<std::string>{"site.bin", "site.ft"}));
  EXPECT_TRUE(ui.echoed.empty());
  EXPECT_FALSE(fs::exists(log.path()));
}

// The desktop program's default: the output directory is the interim directory, so the
// NAME.bin there is the user's earlier output. Only a new pack replaces it.
TEST_F(MakeBinFileTest, AnEarlierBinInTheOutputDirectoryStaysUntilANewOneIsPacked) {
  const std::string bin = (interim / "site.bin").string();
  WriteBytes(bin, "earlier run");
  WriteBytes((interim / "site.BIN").string(), "earlier run, other case");
  WriteBytes((interim / "site.ft").string(), "any");

  // The packer fails, or says it packed but left the earlier file as it was.
  for (const int32_t code : {FTPACK_ERR_HOURLY, FTPACK_ERR_WRITE_BIN, FTPACK_OK}) {
    gFakeCode = code;
    const PackResult result = Pack(interim.string(), fake);
    EXPECT_FALSE(result.ok) << code;
    EXPECT_TRUE(result.binPath.empty()) << code;
    EXPECT_EQ(ReadBytes(bin), "earlier run") << code;
    EXPECT_TRUE(fs::exists(interim / "site.BIN")) << code;
  }
  EXPECT_EQ(LogLines().back(), "       Error encountered while creating BIN file:site.bin");

  // A new pack replaces it, and the file of the other letter case goes.
  const std::string text = SyntheticFtText();
  WriteBytes((interim / "site.ft").string(), text);
  const PackResult result = Pack(interim.string());
  EXPECT_TRUE(result.ok);
  EXPECT_EQ(result.binPath, bin);
  EXPECT_EQ(ftpack::UnpackBin(bin), text);
  EXPECT_EQ(Names(interim), (std::set<std::string>{"site.bin", "site.ft"}));
}

TEST_F(MakeBinFileTest, OutputDirectoryInOtherLetterCaseGetsNoCopy) {
  WriteBytes((interim / "site.ft").string(), SyntheticFtText());
  const std::string binHere = (interim / "site.bin").string();
  const fs::path upper = scratch.path() / "INTERIM";

  // No such directory on a case-sensitive file system: the file stays, and the log says so.
  PackResult result = Pack(upper.string());
  EXPECT_TRUE(result.ok);
  EXPECT_EQ(result.binPath, binHere);

  // A distinct directory whose name differs only in letter case: taken as the interim
  // directory, no copy; the log and the progress box say where the file is.
  fs::create_directory(upper);
  result = Pack(upper.string());
  EXPECT_TRUE(result.ok);
  EXPECT_EQ(result.binPath, binHere);
  EXPECT_TRUE(fs::is_empty(upper));
  ASSERT_EQ(ui.echoed.size(), 2u);
  EXPECT_EQ(ui.echoed[1], "     Output directory " + upper.string() +
                              " differs from the interim directory " + interim.string() +
                              " only in letter case: the BIN file stays in " + binHere);
  EXPECT_EQ(LogLines(), ui.echoed);
}

TEST_F(MakeBinFileTest, MissingOutputDirectoryKeepsTheBinInTheInterimDirectory) {
  WriteBytes((interim / "site.ft").string(), SyntheticFtText());
  const fs::path missing = scratch.path() / "no such dir";
  const PackResult result = Pack(missing.string());
  EXPECT_TRUE(result.ok);
  EXPECT_EQ(result.binPath, (interim / "site.bin").string());
  EXPECT_TRUE(fs::is_regular_file(result.binPath));
  EXPECT_FALSE(fs::exists(missing));
  const std::string msg = "     Output directory " + missing.string() +
                          " does not exist: the BIN file stays in " + result.binPath;
  EXPECT_EQ(ui.echoed, std::vector<std::string>{msg});
  EXPECT_EQ(LogLines(), std::vector<std::string>{msg});
  EXPECT_TRUE(Pack("").ok);
  EXPECT_EQ(ui.echoed.back(), "     No output directory is given: the BIN file stays in " +
                                  result.binPath);
}

TEST_F(MakeBinFileTest, FailedCopyKeepsTheBinInTheInterimDirectory) {
  WriteBytes((interim / "site.ft").string(), SyntheticFtText());
  const fs::path out = scratch.path() / "out";
  fs::create_directories(out / "site.bin");  // a directory where the copy should go
  const PackResult result = Pack(out.string());
  EXPECT_FALSE(result.ok);  // the file did not reach the chosen directory
  EXPECT_EQ(result.binPath, (interim / "site.bin").string());
  ASSERT_EQ(ui.echoed.size(), 1u);
  EXPECT_EQ("     " + result.reason, ui.echoed[0]);
  const std::string& msg = ui.echoed[0];
  EXPECT_EQ(msg.rfind("     BIN file could not be copied to " + out.string() + " (", 0), 0u) << msg;
  EXPECT_NE(msg.find("): the BIN file stays in " + result.binPath), std::string::npos) << msg;
  EXPECT_EQ(LogLines(), ui.echoed);
  EXPECT_EQ(Names(out), std::set<std::string>{"site.bin"});  // no half-copied file left
  EXPECT_TRUE(fs::is_directory(out / "site.bin"));
}

TEST_F(MakeBinFileTest, BaseNameLongerThanTheBufferIsRefused) {
  for (size_t length : {129u, 128u}) {
    state.outputBaseName = std::string(length, 'b');
    WriteBytes((interim / (state.outputBaseName + ".ft")).string(), "any");
    std::memset(gFakeBuffer, 'x', sizeof gFakeBuffer);
    const PackResult result = Pack(scratch.path().string(), fake);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(std::string(gFakeBuffer, sizeof gFakeBuffer), std::string(128, 'x'));
    ASSERT_FALSE(ui.echoed.empty());
    EXPECT_EQ(ui.echoed.back(), "     Bin file not created because the file name " +
                                    state.outputBaseName + " has " + std::to_string(length) +
                                    " characters; the packer takes at most 127.");
  }
  EXPECT_EQ(gFakeCalls, 0);
  EXPECT_EQ(LogLines(), ui.echoed);

  // 127 characters still fit, with the real packer.
  state.outputBaseName = std::string(127, 'c');
  WriteBytes((interim / (state.outputBaseName + ".ft")).string(), SyntheticFtText());
  EXPECT_TRUE(Pack(interim.string()).ok);
}

}  // namespace
}  // namespace kestrum
