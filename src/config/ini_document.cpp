#include "config/ini_document.h"

#include <charconv>
#include <new>
#include <string_view>
#include <vector>

// Plain 8-bit text: no character-set conversion, so Windows-1252 bytes pass through as they
// are (and SimpleIni needs no converter library). SimpleIni is used header-only: this is
// the one file that compiles its implementation.
#define SI_NO_CONVERSION
#define SI_IMPLEMENTATION
#include <SimpleIni.h>

namespace kestrum {

struct IniDocument::Impl {
  // Case-insensitive sections and keys. Several values per key are held as the file has
  // them, so a duplicated key reads as its first value and unknown duplicates survive.
  CSimpleIniA ini{/*a_bIsUtf8=*/false, /*a_bMultiKey=*/true, /*a_bMultiLine=*/false};
  // Comment lines after the last key, which SimpleIni would drop; written back at the end.
  std::vector<std::string> trailingComments;
};

namespace {

bool IsBlank(std::string_view line) {
  return line.find_first_not_of(" \t\r") == std::string_view::npos;
}

bool IsComment(std::string_view line) {
  const size_t first = line.find_first_not_of(" \t");
  return first != std::string_view::npos && (line[first] == ';' || line[first] == '#');
}

// The lines of text, LF or CR LF ended, without their line ends.
std::vector<std::string_view> SplitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  while (!text.empty()) {
    const size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.push_back(line);
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  return lines;
}

}  // namespace

IniDocument::IniDocument() : impl_(std::make_unique<Impl>()) {
  impl_->ini.SetSpaces(false);      // "key=value"
  impl_->ini.SetQuotes(false);      // values are taken as they stand
  impl_->ini.SetAllowKeyOnly(false);
}

IniDocument::~IniDocument() = default;

void IniDocument::Parse(const std::string& text) {
  impl_->ini.Reset();
  // Without conversion the parser cannot fail on content; only memory can run out.
  if (impl_->ini.LoadData(text.data(), text.size()) < 0) throw std::bad_alloc();

  impl_->trailingComments.clear();
  const std::vector<std::string_view> lines = SplitLines(text);
  size_t first = lines.size();
  while (first > 0 && (IsBlank(lines[first - 1]) || IsComment(lines[first - 1]))) --first;
  for (size_t i = first; i < lines.size(); ++i) {
    if (IsComment(lines[i])) impl_->trailingComments.emplace_back(lines[i]);
  }
  // A file of comments alone is one comment block, which SimpleIni keeps itself.
  if (first == 0) impl_->trailingComments.clear();
}

std::optional<std::string> IniDocument::Value(const std::string& section,
                                              const std::string& key) const {
  const char* value = impl_->ini.GetValue(section.c_str(), key.c_str(), nullptr);
  if (value == nullptr) return std::nullopt;
  return std::string(value);
}

void IniDocument::SetValue(const std::string& section, const std::string& key,
                           const std::string& value) {
  std::string oneLine = value;
  for (char& c : oneLine) {
    if (c == '\r' || c == '\n') c = ' ';
  }
  if (impl_->ini.SetValue(section.c_str(), key.c_str(), oneLine.c_str(), nullptr,
                          /*a_bForceReplace=*/true) < 0) {
    throw std::bad_alloc();
  }
}

std::string IniDocument::Text() const {
  std::string saved;
  CSimpleIniA::StringWriter writer(saved);
  impl_->ini.Save(writer, /*a_bAddSignature=*/false);
  // SimpleIni ends lines with LF on this platform and puts two blank lines between
  // sections; the system's text files use CR LF, and one blank line is enough.
  std::string text;
  text.reserve(saved.size() + saved.size() / 16 + 64);
  bool previousBlank = false;
  for (const std::string_view line : SplitLines(saved)) {
    const bool blank = IsBlank(line);
    if (blank && previousBlank) continue;
    text.append(line).append("\r\n");
    previousBlank = blank;
  }
  for (const std::string& comment : impl_->trailingComments) text.append(comment).append("\r\n");
  return text;
}

std::optional<int32_t> ParseIniInteger(const std::string& text) {
  std::string_view digits = text;
  while (!digits.empty() && (digits.front() == ' ' || digits.front() == '\t')) digits.remove_prefix(1);
  while (!digits.empty() && (digits.back() == ' ' || digits.back() == '\t')) digits.remove_suffix(1);
  // from_chars takes a leading '-' itself; a '+' is allowed in its place, not beside it.
  if (!digits.empty() && digits.front() == '+') {
    digits.remove_prefix(1);
    if (!digits.empty() && digits.front() == '-') return std::nullopt;
  }
  int32_t value = 0;
  const char* end = digits.data() + digits.size();
  const auto [stop, ec] = std::from_chars(digits.data(), end, value);  // range-checked
  if (digits.empty() || ec != std::errc() || stop != end) return std::nullopt;
  return value;
}

std::optional<bool> ParseIniBoolean(const std::string& text) {
  const std::optional<int32_t> value = ParseIniInteger(text);
  if (!value) return std::nullopt;
  return *value != 0;
}

}  // namespace kestrum
