// Where the settings file, the default log file and the default interim directory live.
#include <unistd.h>

#include <filesystem>
#include <system_error>

#include "config/settings.h"

namespace kestrum {

namespace fs = std::filesystem;

namespace {

// A directory text without a trailing separator ("/" itself stays "/").
std::string DirectoryText(const fs::path& directory) {
  std::string text = directory.string();
  while (text.size() > 1 && text.back() == '/') text.pop_back();
  return text;
}

bool IsWritableDirectory(const std::string& directory) {
  std::error_code ec;
  return fs::is_directory(directory, ec) && access(directory.c_str(), W_OK | X_OK) == 0;
}

// /usr and /opt hold installed programs and are never written at run time: a settings file or
// log left there by a run as root would outlive the package that put the program there.
bool IsInstalledTree(const fs::path& directory) {
  auto part = directory.begin();
  if (part == directory.end() || *part != "/") return false;
  ++part;
  return part != directory.end() && (*part == "usr" || *part == "opt");
}

}  // namespace

ProgramPaths ResolveProgramPaths(const std::string& programFile, const std::string& userConfigDir,
                                 const std::string& userDataDir) {
  std::error_code ec;
  fs::path program = fs::absolute(programFile, ec);
  if (ec) program = programFile;
  program = program.lexically_normal();

  ProgramPaths paths;
  paths.programFile = program.string();
  paths.programDir = DirectoryText(program.parent_path());

  // "kestrum" -> "kestrum.INI" and "kestrum.log"; "kestrum.exe" likewise.
  const std::string stem = program.stem().string();
  if (!IsInstalledTree(program.parent_path()) && IsWritableDirectory(paths.programDir)) {
    paths.settingsFile = (program.parent_path() / (stem + ".INI")).string();
    paths.defaultLogFile = (program.parent_path() / (stem + ".log")).string();
    paths.defaultInterimDir = paths.programDir;
    return paths;
  }

  // An installed program, or one whose directory is read-only: the files go to the user's
  // own directories. A directory that
  // cannot be created shows up later as a file that cannot be written, with its name.
  fs::create_directories(userConfigDir, ec);
  fs::create_directories(userDataDir, ec);
  paths.settingsFile = (fs::path(userConfigDir) / (stem + ".INI")).string();
  paths.defaultLogFile = (fs::path(userDataDir) / (stem + ".log")).string();
  paths.defaultInterimDir = DirectoryText(fs::path(userDataDir));
  return paths;
}

}  // namespace kestrum
