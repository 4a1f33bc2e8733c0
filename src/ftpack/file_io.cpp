#include "ftpack/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace kestrum::ftpack {

namespace {

void CloseKeepingErrno(int fd) {
  const int saved = errno;
  ::close(fd);
  errno = saved;
}

}  // namespace

ReadStatus ReadWholeFile(const std::string& path, size_t maxBytes, std::string& bytes,
                         int& error) {
  error = 0;
  bytes.clear();
  // O_NONBLOCK: opening a FIFO must not wait for a writer; it is refused below.
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
  if (fd < 0) {
    error = errno;
    return ReadStatus::CannotOpen;
  }
  struct stat st {};
  if (::fstat(fd, &st) != 0) {
    error = errno;
    CloseKeepingErrno(fd);
    return ReadStatus::ReadFailed;
  }
  if (!S_ISREG(st.st_mode)) {
    ::close(fd);
    return ReadStatus::NotRegular;
  }
  // One allocation for the usual case; the size is only a hint (the file may change).
  const size_t expected = st.st_size > 0 ? static_cast<size_t>(st.st_size) : 0;
  bytes.reserve((expected < maxBytes ? expected : maxBytes) + 1);
  char chunk[65536];
  for (;;) {
    const ssize_t n = ::read(fd, chunk, sizeof chunk);
    if (n < 0) {
      if (errno == EINTR) continue;
      error = errno;
      CloseKeepingErrno(fd);
      return ReadStatus::ReadFailed;
    }
    if (n == 0) break;
    bytes.append(chunk, static_cast<size_t>(n));
    if (bytes.size() > maxBytes) {
      ::close(fd);
      bytes.resize(maxBytes);
      return ReadStatus::TooLarge;
    }
  }
  ::close(fd);
  return ReadStatus::Ok;
}

WriteStatus WriteFileReplacing(const std::string& path, const void* data, size_t size,
                               int& error) {
  error = 0;
  std::string temp;
  int fd = -1;
  for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
    temp = path + ".tmp" + std::to_string(::getpid()) + "-" + std::to_string(attempt);
    fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0666);
    if (fd < 0 && errno != EEXIST) break;
  }
  if (fd < 0) {
    error = errno;
    return WriteStatus::CannotCreate;
  }
  const auto* p = static_cast<const char*>(data);
  size_t left = size;
  bool ok = true;
  while (left > 0) {
    const ssize_t n = ::write(fd, p, left);
    if (n < 0) {
      if (errno == EINTR) continue;
      ok = false;
      break;
    }
    p += n;
    left -= static_cast<size_t>(n);
  }
  if (!ok) {
    error = errno;
    ::close(fd);
    ::unlink(temp.c_str());
    return WriteStatus::WriteFailed;
  }
  if (::close(fd) != 0) {
    error = errno;
    ::unlink(temp.c_str());
    return WriteStatus::WriteFailed;
  }
  if (::rename(temp.c_str(), path.c_str()) != 0) {
    error = errno;
    ::unlink(temp.c_str());
    return WriteStatus::CannotReplace;
  }
  return WriteStatus::Ok;
}

}  // namespace kestrum::ftpack
