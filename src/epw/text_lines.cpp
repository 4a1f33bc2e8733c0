#include "epw/text_lines.h"

#include <unistd.h>

#include <cerrno>
#include <algorithm>
#include <cstring>
#include <tuple>

#include "run/regular_file.h"
#include "run/run_error.h"

namespace kestrum {

namespace {

constexpr size_t kChunkBytes = size_t{1} << 16;
constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

// Where c first occurs in buffer[from, to), or to.
size_t Find(const std::vector<char>& buffer, char c, size_t from, size_t to) {
  if (from >= to) return to;
  const void* at = std::memchr(buffer.data() + from, c, to - from);
  return at != nullptr ? static_cast<size_t>(static_cast<const char*>(at) - buffer.data()) : to;
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
    for (size_t* at : {&cr_, &lf_}) {
      if (*at != kNone) *at -= begin_;
    }
    crSearched_ -= begin_;
    lfSearched_ -= begin_;
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

size_t TextLineReader::NextLineEnd() {
  for (auto [at, searched, c] : {std::tuple{&cr_, &crSearched_, '\r'}, std::tuple{&lf_, &lfSearched_, '\n'}}) {
    if (*at != kNone && *at >= begin_) continue;  // still ahead
    *searched = std::max(*searched, begin_);
    const size_t found = Find(buffer_, c, *searched, end_);
    *at = found < end_ ? found : kNone;
    *searched = found;
  }
  return std::min(cr_, lf_);
}

bool TextLineReader::Next(std::string& line) {
  for (;;) {
    if (pendingLf_ && begin_ < end_) {
      if (buffer_[begin_] == '\n') ++begin_;
      pendingLf_ = false;
    }
    const size_t stop = NextLineEnd();
    if (stop != kNone) {
      const size_t length = stop - begin_;
      if (length > kMaxLineBytes) break;
      line.assign(buffer_.data() + begin_, length);
      pendingLf_ = buffer_[stop] == '\r';
      begin_ = stop + 1;
      ++lineNumber_;
      if (lineNumber_ == 1 && line.starts_with(kUtf8ByteOrderMark)) line.erase(0, 3);
      return true;
    }
    if (end_ - begin_ > kMaxLineBytes) break;
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
