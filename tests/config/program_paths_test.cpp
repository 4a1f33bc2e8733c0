// Where the settings file, the log and the interim results go.
#include <gtest/gtest.h>

#include <filesystem>

#include "config/settings.h"
#include "config_test_support.h"

namespace kestrum {
namespace {

using testing::ScratchDir;

TEST(ProgramPaths, WritableProgramDirectoryHoldsEverything) {
  ScratchDir dir;
  const ProgramPaths p = ResolveProgramPaths(dir / "kestrum", dir / "cfg", dir / "data");
  EXPECT_EQ(p.programFile, dir / "kestrum");
  EXPECT_EQ(p.programDir, dir.path());
  EXPECT_EQ(p.settingsFile, dir / "kestrum.INI");
  EXPECT_EQ(p.defaultLogFile, dir / "kestrum.log");
  EXPECT_EQ(p.defaultInterimDir, dir.path());
  EXPECT_FALSE(std::filesystem::exists(dir / "cfg"));

  EXPECT_EQ(ResolveProgramPaths(dir / "kestrum.exe", "", "").settingsFile, dir / "kestrum.INI");
}

TEST(ProgramPaths, ProgramDirectoryThatCannotBeWrittenUsesTheUserDirectories) {
  ScratchDir dir;
  const ProgramPaths p =
      ResolveProgramPaths(dir / "absent/bin/kestrum", dir / "home/.config", dir / "home/.local/kestrum");
  EXPECT_EQ(p.programDir, dir / "absent/bin");
  EXPECT_EQ(p.settingsFile, dir / "home/.config/kestrum.INI");
  EXPECT_EQ(p.defaultLogFile, dir / "home/.local/kestrum/kestrum.log");
  EXPECT_EQ(p.defaultInterimDir, dir / "home/.local/kestrum");
  EXPECT_TRUE(std::filesystem::is_directory(dir / "home/.config"));
  EXPECT_TRUE(std::filesystem::is_directory(p.defaultInterimDir));

  const Settings s = Settings::Defaults(p);
  EXPECT_EQ(s.interimPath, p.defaultInterimDir);
  EXPECT_EQ(s.epwBinDir, p.defaultInterimDir);
  EXPECT_EQ(s.logFilePath, p.defaultLogFile);
}

// An installed program never writes beside itself, also for root, who could: its settings,
// log and interim results go to the user's directories. (Directories that exist, so that a
// run as root checks the rule and not a missing directory; nothing is written there.)
TEST(ProgramPaths, InstalledProgramUsesTheUserDirectoriesWhateverItsRights) {
  ScratchDir dir;
  for (const char* program : {"/usr/bin/kestrum", "/usr/local/bin/kestrum-cli", "/opt/kestrum"}) {
    SCOPED_TRACE(program);
    const std::string stem = std::filesystem::path(program).stem().string();
    const ProgramPaths p = ResolveProgramPaths(program, dir / "cfg", dir / "data");
    EXPECT_EQ(p.programDir, std::filesystem::path(program).parent_path().string());
    EXPECT_EQ(p.settingsFile, dir / ("cfg/" + stem + ".INI"));
    EXPECT_EQ(p.defaultLogFile, dir / ("data/" + stem + ".log"));
    EXPECT_EQ(p.defaultInterimDir, dir / "data");
  }
  // Only a leading /usr or /opt counts: a build below a folder of that name is portable.
  std::filesystem::create_directories(dir / "usr");
  const ProgramPaths p = ResolveProgramPaths(dir / "usr/kestrum", dir / "cfg", dir / "data");
  EXPECT_EQ(p.settingsFile, dir / "usr/kestrum.INI");
}

}  // namespace
}  // namespace kestrum
