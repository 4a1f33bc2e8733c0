// An INI document held in memory: read from a settings file, queried and updated key by
// key, and turned back into text. Sections and keys match without regard to case; keys and
// sections the program does not know are kept, an existing key keeps its line position
// and a new one goes to the end of its section (a new section to the end of the file).
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace kestrum {

class IniDocument {
 public:
  IniDocument();
  ~IniDocument();
  IniDocument(const IniDocument&) = delete;
  IniDocument& operator=(const IniDocument&) = delete;

  // Parses text in the usual INI form (LF or CR LF line ends). Lines that are neither a
  // section, a key=value line nor a comment are dropped.
  void Parse(const std::string& text);

  // The value of a key, blanks around it removed; nullopt when the section or the key is
  // missing. A key present more than once gives its first value.
  std::optional<std::string> Value(const std::string& section, const std::string& key) const;

  // Sets a key's value; a key present more than once becomes one line at the place of the
  // first. Line breaks in value are replaced by blanks, so a value can never add lines.
  void SetValue(const std::string& section, const std::string& key, const std::string& value);

  // The whole document as text, lines ended with CR LF, written "key=value".
  std::string Text() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

// Value readers with the settings file's rules. Each returns nullopt when the text does not
// parse, so the caller keeps its default.
// A whole decimal number in the signed 32-bit range, optional sign, nothing else.
std::optional<int32_t> ParseIniInteger(const std::string& text);
// Any integer that parses: non-zero is true.
std::optional<bool> ParseIniBoolean(const std::string& text);

}  // namespace kestrum
