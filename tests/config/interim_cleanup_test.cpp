// Clearing the interim directory when the program closes.
#include <gtest/gtest.h>

#include <filesystem>

#include "config/settings.h"
#include "config_test_support.h"
#include "run/run_error.h"

namespace kestrum {
namespace {

using testing::DirectoryNames;
using testing::ScratchDir;
using testing::WriteText;

class InterimCleanupTest : public ::testing::Test {
 protected:
  InterimCleanupTest() {
    for (const char* name : {"Golden-orig.csv", "Golden-final.csv", "postclean-b.csv",
                             "postclean-c.csv", "Golden.ft", "OLD.FT", "pack.sta", "Golden.bin",
                             "OLD.BIN", "weather.csv", "notes.txt", "2019-final.csv"}) {
      WriteText(dir / name, "x");
    }
    std::filesystem::create_directory(dir / "folder.ft");
  }
  ScratchDir dir;
};

TEST_F(InterimCleanupTest, RemovesOnlyTheSystemsRunFiles) {
  const int deleted = ClearInterimResults(dir.path(), true, false, dir / "2019-final.csv");
  EXPECT_EQ(deleted, 7);
  EXPECT_EQ(DirectoryNames(dir.path()),
            (std::vector<std::string>{"2019-final.csv", "Golden.bin", "OLD.BIN", "folder.ft",
                                      "notes.txt", "weather.csv"}));
}

TEST_F(InterimCleanupTest, SavedGraphFilesKeepEveryCsvFile) {
  EXPECT_EQ(ClearInterimResults(dir.path(), true, true, ""), 3);
  EXPECT_EQ(DirectoryNames(dir.path()),
            (std::vector<std::string>{"2019-final.csv", "Golden-final.csv", "Golden-orig.csv",
                                      "Golden.bin", "OLD.BIN", "folder.ft", "notes.txt",
                                      "postclean-b.csv", "postclean-c.csv", "weather.csv"}));
}

TEST_F(InterimCleanupTest, SwitchedOffDeletesNothingAndNeedsNoDirectory) {
  const std::vector<std::string> before = DirectoryNames(dir.path());
  EXPECT_EQ(ClearInterimResults(dir.path(), false, false, ""), 0);
  EXPECT_EQ(DirectoryNames(dir.path()), before);
  EXPECT_EQ(ClearInterimResults(dir / "missing", false, false, ""), 0);
}

TEST_F(InterimCleanupTest, MissingDirectoryIsReportedWithItsName) {
  try {
    ClearInterimResults(dir / "missing", true, false, "");
    FAIL() << "no error raised";
  } catch (const RunError& e) {
    EXPECT_NE(std::string(e.what()).find(dir / "missing"), std::string::npos) << e.what();
  }
}

}  // namespace
}  // namespace kestrum
