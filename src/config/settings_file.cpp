// Reading and writing the settings file.
#include <filesystem>
#include <system_error>

#include "config/atomic_file.h"
#include "config/ini_document.h"
#include "config/settings.h"
#include "config/settings_keys.h"
#include "run/run_error.h"

namespace kestrum {

namespace fs = std::filesystem;

namespace {

// A public page that lists weather files in the EnergyPlus format.
constexpr const char* kDefaultWeatherFilesPage = "https://energyplus.net/weather";

std::string CutText(const std::string& text) { return text.substr(0, kMaxSettingText); }

// Assigns each key found in the document; a missing key or a value that does not parse
// leaves the default in place.
class KeyReader {
 public:
  explicit KeyReader(const IniDocument& ini) : ini_(ini) {}

  void Section(const char* name) { section_ = name; }
  void Integer(const std::string& key, int32_t& value) {
    if (const auto text = ini_.Value(section_, key)) {
      if (const auto number = ParseIniInteger(*text)) value = *number;
    }
  }
  // The low 8 bits of the integer read: 258 reads as 2, -1 as 255.
  void Byte(const std::string& key, uint8_t& value) {
    if (const auto text = ini_.Value(section_, key)) {
      if (const auto number = ParseIniInteger(*text)) {
        value = static_cast<uint8_t>(static_cast<uint32_t>(*number) & 0xFFu);
      }
    }
  }
  void Boolean(const std::string& key, bool& value) {
    if (const auto text = ini_.Value(section_, key)) {
      if (const auto flag = ParseIniBoolean(*text)) value = *flag;
    }
  }
  void Text(const std::string& key, std::string& value) {
    if (const auto text = ini_.Value(section_, key)) value = CutText(*text);
  }

 private:
  const IniDocument& ini_;
  std::string section_;
};

class KeyWriter {
 public:
  explicit KeyWriter(IniDocument& ini) : ini_(ini) {}

  void Section(const char* name) { section_ = name; }
  void Integer(const std::string& key, int32_t& value) {
    ini_.SetValue(section_, key, std::to_string(value));
  }
  void Byte(const std::string& key, uint8_t& value) {
    ini_.SetValue(section_, key, std::to_string(static_cast<unsigned>(value)));
  }
  void Boolean(const std::string& key, bool& value) { ini_.SetValue(section_, key, value ? "1" : "0"); }
  void Text(const std::string& key, std::string& value) { ini_.SetValue(section_, key, CutText(value)); }

 private:
  IniDocument& ini_;
  std::string section_;
};

// Reads like KeyReader, and notes the first value of the keys a run takes (the cleaning
// limits, the EPW options, the detailed-log switch) that does not convert.
class StrictKeyReader {
 public:
  explicit StrictKeyReader(const IniDocument& ini) : ini_(ini), reader_(ini) {}

  void Section(const char* name) {
    section_ = name;
    reader_.Section(name);
  }
  void Integer(const std::string& key, int32_t& value) {
    if (section_ == kSetUpSection || section_ == kEpwSection) {
      Check(key, ParseIniInteger, "a whole number");
    }
    reader_.Integer(key, value);
  }
  void Byte(const std::string& key, uint8_t& value) { reader_.Byte(key, value); }
  void Boolean(const std::string& key, bool& value) {
    if (section_ == kEpwSection || key == "LogReplacements") Check(key, ParseIniBoolean, "0 or 1");
    reader_.Boolean(key, value);
  }
  void Text(const std::string& key, std::string& value) { reader_.Text(key, value); }

  const std::string& problem() const { return problem_; }

 private:
  template <class Parse>
  void Check(const std::string& key, Parse parse, const char* wanted) {
    if (!problem_.empty()) return;
    const auto text = ini_.Value(section_, key);
    if (text && !parse(*text)) {
      problem_ = "[" + section_ + "] " + key + "=" + *text + " does not convert (" + wanted +
                 " is needed)";
    }
  }

  const IniDocument& ini_;
  KeyReader reader_;
  std::string section_;
  std::string problem_;
};

}  // namespace

Settings Settings::Defaults(const ProgramPaths& paths) {
  Settings s;
  // Output directories default to where the program may write: its own directory in a
  // portable layout, the per-user data directory otherwise.
  s.epwBinDir = CutText(paths.defaultInterimDir);
  s.csvBinDir = CutText(paths.defaultInterimDir);
  s.interimPath = CutText(paths.defaultInterimDir);
  s.logFilePath = CutText(paths.defaultLogFile);
  s.doeUrl = kDefaultWeatherFilesPage;
  return s;
}

Settings ReadSettingsFile(const std::string& path, const ProgramPaths& paths) {
  Settings settings = Settings::Defaults(paths);
  std::string text;
  try {
    text = ReadWholeFile(path);
  } catch (const RunError&) {
    return settings;  // no file, or none that can be read: the defaults, silently
  }
  IniDocument ini;
  ini.Parse(text);
  KeyReader reader(ini);
  VisitSettingsKeys(settings, reader);
  return settings;
}

Settings ReadSettingsFileStrictly(const std::string& path, const ProgramPaths& paths) {
  Settings settings = Settings::Defaults(paths);
  std::string text;
  try {
    text = ReadWholeFile(path);
  } catch (const RunError& e) {
    throw SettingsFileError(std::string("The settings file cannot be used. ") + e.what());
  }
  IniDocument ini;
  ini.Parse(text);
  StrictKeyReader reader(ini);
  VisitSettingsKeys(settings, reader);
  if (!reader.problem().empty()) {
    throw SettingsFileError("The settings file " + path + " cannot be used: " + reader.problem() + ".");
  }
  if (const int row = FirstRowWithMinAboveMax(settings.limits); row != 0) {
    const std::string prefix = CleaningKeyPrefix(row);
    throw SettingsFileError("The settings file " + path + " cannot be used: " +
                            MinAboveMaxText(settings.limits, row) + " (" + prefix + "min, " +
                            prefix + "max)");
  }
  return settings;
}

void WriteSettingsFile(const std::string& path, const Settings& settings) {
  // Start from the file as it is, so keys and sections of others stay where they are.
  // A file that exists but cannot be read is not overwritten: its content would be lost.
  IniDocument ini;
  std::error_code ec;
  if (fs::exists(path, ec)) {
    ini.Parse(ReadWholeFile(path));
  }
  Settings values = settings;
  KeyWriter writer(ini);
  VisitSettingsKeys(values, writer);
  ReplaceFileContent(path, ini.Text());
}

}  // namespace kestrum
