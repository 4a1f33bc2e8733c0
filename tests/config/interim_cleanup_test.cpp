// Clearing the interim directory when the program closes.
#include <gtest/gtest.h>

#include <filesystem>

#include "config/settings.h"
#include "config_test_support.h"
#include "run/run_error.h"

namespace kestrum {
namespace {

using testing::DirectoryNames;

class InterimCleanupTest : public ::testing::Test {
 protected:
  InterimCleanupTest() {
    for (const char* name : {"Golden-orig.csv", "Golden-final.csv", "postclean-b.csv",
                             "postclean-c.csv", "Golden.ft", "OLD.FT", "pack.sta", "Golden.bin",
                             "OLD.BIN", "weather.csv", "2019-final.csv"}) {
      testing::WriteBytes(dir / name, "x");
    }
    std::filesystem::create_directory(dir / "folder.ft");
  }
  testing::ScratchDir dir;
};

TEST_F(InterimCleanupTest, RemovesOnlyTheRunFilesAndNeverTheProtectedSource) {
  EXPECT_EQ(ClearInterimResults(dir.path(), true, false, dir / "2019-final.csv"), 7);
  EXPECT_EQ(DirectoryNames(dir.path()), (std::vector<std::string>{"2019-final.csv", "Golden.bin",
                                                                  "OLD.BIN", "folder.ft", "weather.csv"}));
}

TEST_F(InterimCleanupTest, SavedGraphFilesKeepTheCsvFiles) {
  EXPECT_EQ(ClearInterimResults(dir.path(), true, true, ""), 3);
  EXPECT_TRUE(std::filesystem::exists(dir / "Golden-orig.csv"));
  EXPECT_TRUE(std::filesystem::exists(dir / "postclean-c.csv"));
  EXPECT_FALSE(std::filesystem::exists(dir / "OLD.FT"));
}

TEST_F(InterimCleanupTest, SwitchedOffDeletesNothingAndAMissingDirectoryIsReported) {
  const std::vector<std::string> before = DirectoryNames(dir.path());
  EXPECT_EQ(ClearInterimResults(dir.path(), false, false, ""), 0);
  EXPECT_EQ(ClearInterimResults(dir / "missing", false, false, ""), 0);
  EXPECT_EQ(DirectoryNames(dir.path()), before);
  try {
    ClearInterimResults(dir / "missing", true, false, "");
    FAIL() << "no error raised";
  } catch (const RunError& e) {
    EXPECT_NE(std::string(e.what()).find(dir / "missing"), std::string::npos) << e.what();
  }
}

}  // namespace
}  // namespace kestrum
