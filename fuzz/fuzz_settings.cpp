// The settings-file reader over any file: the desktop's reading never fails, the command
// line's either refuses with a message or reads the same settings, and what is written
// back reads back the same.
#include <cstddef>
#include <cstdint>

#include "config/ini_document.h"
#include "config/settings.h"
#include "fuzz_support.h"

using namespace kestrum;

namespace {

bool SameSettings(const Settings& a, const Settings& b) {
  return a.top == b.top && a.left == b.left && a.epwFileName == b.epwFileName &&
         a.epwCalcDN == b.epwCalcDN && a.epwUseRH == b.epwUseRH && a.epwUseObs == b.epwUseObs &&
         a.epwBinDir == b.epwBinDir && a.csvFileName == b.csvFileName &&
         a.csvBinDir == b.csvBinDir && a.csvSite.description == b.csvSite.description &&
         a.limits == b.limits && a.logReplacements == b.logReplacements &&
         a.clearResults == b.clearResults && a.interimPath == b.interimPath &&
         a.logFilePath == b.logFilePath && a.doeUrl == b.doeUrl;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string path = fuzz::WriteInput("k.INI", data, size);
  ProgramPaths paths;
  paths.programDir = "/opt/kestrum";
  paths.defaultInterimDir = "/opt/kestrum";
  paths.defaultLogFile = "/opt/kestrum/kestrum.log";
  const Settings loose = ReadSettingsFile(path, paths);
  try {
    if (!SameSettings(ReadSettingsFileStrictly(path, paths), loose)) {
      fuzz::Broken("the strict reading gives other settings");
    }
  } catch (const SettingsFileError&) {
  }
  // Saving keeps every value: what is written reads back the same.
  WriteSettingsFile(path, loose);
  if (!SameSettings(ReadSettingsFile(path, paths), loose)) {
    fuzz::Broken("the settings do not read back as written");
  }
  return 0;
}
