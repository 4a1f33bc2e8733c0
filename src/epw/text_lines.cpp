#include "epw/text_lines.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "run/run_error.h"

namespace kestrum {

namespace {

// True when the first line end in the first 64 KiB of in is a CR not followed by LF. Leaves
// in at its start.
bool EndsLinesWithLoneCr(std::ifstream& in) {
  char buf[65536];
  in.read(buf, sizeof buf);
  const size_t n = static_cast<size_t>(in.gcount());
  in.clear();
  in.seekg(0);
  for (size_t i = 0; i < n; ++i) {
    if (buf[i] == '\n') return false;
    if (buf[i] == '\r') return i + 1 < n && buf[i + 1] != '\n';
  }
  return false;
}

}  // namespace

TextLineReader::TextLineReader(const std::string& path, LineEnds ends) : path_(path) {
  std::error_code ec;
  if (std::filesystem::is_directory(path, ec)) {
    throw InputError("Cannot read " + path + ": it is a directory, not a file");
  }
  in_.open(path, std::ios::in | std::ios::binary);
  if (!in_.is_open()) {
    throw InputError("Cannot open " + path + ": " + std::strerror(errno));
  }
  if (ends == LineEnds::AlsoLoneCr && EndsLinesWithLoneCr(in_)) {
    if (!in_) throw InputError("Cannot read " + path);
    delimiter_ = '\r';
  }
}

bool TextLineReader::Next(std::string& line) {
  if (!std::getline(in_, line, delimiter_)) {
    if (in_.bad()) throw InputError("Cannot read " + path_ + " after line " +
                                    std::to_string(lineNumber_));
    return false;
  }
  ++lineNumber_;
  if (delimiter_ == '\r') {
    if (in_.peek() == '\n') in_.get();  // a CR LF among the lone CRs
  } else if (!line.empty() && line.back() == '\r') {
    line.pop_back();
  }
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
