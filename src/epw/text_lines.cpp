#include "epw/text_lines.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "run/regular_file.h"
#include "run/run_error.h"

namespace kestrum {

namespace {

constexpr size_t kChunkBytes = size_t{1} << 16;
constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

// The first CR or LF in [p, p + n), or nullptr.
const char* FindLineEnd(const char* p, size_t n) {
  for (const char* e = p + n; p < e; ++p) {
    if (*p == '\n' || *p == '\r') return p;
  }
  return nullptr;
}

}  // namespace

TextLineReader::TextLineReader(const std::string& path) : path_(path) {
  fd_ = OpenRegularFile(path);
  buffer_.resize(kChunkBytes);
}

TextLineReader::~TextLineReader() {
  if (fd_ >= 0) ::close(fd_);
}

bool TextLineReader::Fill() {
  if (atEnd_) return false;
  if (begin_ > 0) {  // keep the unread bytes at the front
    std::memmove(buffer_.data(), buffer_.data() + begin_, end_ - begin_);
    end_ -= begin_;
    begin_ = 0;
  }
  if (buffer_.size() - end_ < kChunkBytes / 2) buffer_.resize(buffer_.size() * 2);
  for (;;) {
    const ssize_t got = ::read(fd_, buffer_.data() + end_, buffer_.size() - end_);
    if (got > 0) {
      end_ += static_cast<size_t>(got);
      return true;
    }
    if (got == 0) {
      atEnd_ = true;
      return false;
    }
    if (errno != EINTR) {
      throw InputError("Cannot read " + path_ + " after line " + std::to_string(lineNumber_) +
                       ": " + ErrorText(errno) + ".");
    }
  }
}

bool TextLineReader::Next(std::string& line) {
  size_t scanned = 0;  // bytes of the line already searched for its end
  for (;;) {
    if (pendingLf_ && begin_ < end_) {
      if (buffer_[begin_] == '\n') ++begin_;
      pendingLf_ = false;
    }
    const char* start = buffer_.data() + begin_;
    const size_t available = end_ - begin_;
    if (const char* stop = FindLineEnd(start + scanned, available - scanned)) {
      const size_t length = static_cast<size_t>(stop - start);
      if (length > kMaxLineBytes) break;
      line.assign(start, length);
      begin_ += length + 1;
      if (*stop == '\r') pendingLf_ = true;
      ++lineNumber_;
      if (lineNumber_ == 1 && line.starts_with(kUtf8ByteOrderMark)) line.erase(0, 3);
      return true;
    }
    scanned = available;
    if (scanned > kMaxLineBytes) break;
    if (!Fill()) {
      if (begin_ == end_) return false;
      // The last line has no line end.
      line.assign(buffer_.data() + begin_, end_ - begin_);
      begin_ = end_;
      ++lineNumber_;
      if (lineNumber_ == 1 && line.starts_with(kUtf8ByteOrderMark)) line.erase(0, 3);
      return true;
    }
  }
  throw InputError(path_ + ", line " + std::to_string(lineNumber_ + 1) +
                   ": the line is longer than 1 MB (" + std::to_string(kMaxLineBytes) +
                   " bytes); this is not a text file of weather data.");
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
