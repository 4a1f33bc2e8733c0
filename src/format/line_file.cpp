#include "format/line_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "run/regular_file.h"
#include "run/run_error.h"

namespace kestrum {

namespace {
// Lines are gathered to about this many bytes before they are written.
constexpr size_t kChunkBytes = 1 << 16;
}  // namespace

LineFile::LineFile(std::string path) : path_(std::move(path)) {
  fd_ = ::open(path_.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOCTTY, 0666);
  if (fd_ < 0) {
    throw RunError("The file " + path_ + " cannot be created: " + ErrorText(errno) + ".");
  }
  pending_.Reserve(kChunkBytes + 1024);
}

LineFile::~LineFile() {
  if (fd_ < 0) return;
  try {
    pending_.Truncate(complete_);  // not a row cut short by an error
    Flush();
  } catch (const RunError&) {
  }
  ::close(fd_);
}

void LineFile::WriteLine(std::string_view line) {
  pending_.Text(line);
  EndLine();
}

void LineFile::EndLine() {
  pending_.Char('\r');
  pending_.Char('\n');
  complete_ = pending_.size();
  if (complete_ >= kChunkBytes) Flush();
}

void LineFile::Close() {
  pending_.Truncate(complete_);
  Flush();
  const int fd = fd_;
  fd_ = -1;
  if (::close(fd) != 0) {
    throw RunError("The file " + path_ + " cannot be written: " + ErrorText(errno) + ".");
  }
}

void LineFile::Flush() {
  const char* data = pending_.view().data();
  size_t left = pending_.size();
  while (left > 0) {
    const ssize_t written = ::write(fd_, data, left);
    if (written < 0) {
      if (errno == EINTR) continue;
      const int error = errno;
      pending_.Clear();
      complete_ = 0;
      throw RunError("The file " + path_ + " cannot be written: " + ErrorText(error) + ".");
    }
    data += written;
    left -= static_cast<size_t>(written);
  }
  pending_.Clear();
  complete_ = 0;
}

}  // namespace kestrum
