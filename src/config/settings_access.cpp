#include "config/settings_access.h"

#include <sys/stat.h>

#include <cerrno>

#include "config/atomic_file.h"
#include "run/run_error.h"

namespace kestrum {

std::string SettingsFileProblem(const std::string& path) {
  struct stat st {};
  if (::lstat(path.c_str(), &st) != 0 && (errno == ENOENT || errno == ENOTDIR)) return {};
  try {
    ReadWholeFile(path);  // refuses a directory, a pipe or a device before opening it
  } catch (const RunError& e) {
    return "The settings file cannot be read, so the program goes on with the default "
           "settings. " + std::string(e.what());
  }
  return {};
}

}  // namespace kestrum
