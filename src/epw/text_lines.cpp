#include "epw/text_lines.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "run/run_error.h"

namespace kestrum {

TextLineReader::TextLineReader(const std::string& path) : path_(path) {
  std::error_code ec;
  if (std::filesystem::is_directory(path, ec)) {
    throw InputError("Cannot read " + path + ": it is a directory, not a file");
  }
  in_.open(path, std::ios::in | std::ios::binary);
  if (!in_.is_open()) {
    throw InputError("Cannot open " + path + ": " + std::strerror(errno));
  }
}

bool TextLineReader::Next(std::string& line) {
  if (!std::getline(in_, line)) {
    if (in_.bad()) throw InputError("Cannot read " + path_ + " after line " +
                                    std::to_string(lineNumber_));
    return false;
  }
  ++lineNumber_;
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return true;
}

std::string QuoteForMessage(std::string_view text) {
  constexpr size_t kShown = 40;
  std::string out = "\"";
  for (size_t i = 0; i < text.size() && i < kShown; ++i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    out.push_back(c < 0x20 || c == 0x7F ? '?' : static_cast<char>(c));
  }
  if (text.size() > kShown) out += "...";
  out.push_back('"');
  return out;
}

}  // namespace kestrum
