#include "run/regular_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

#include "run/run_error.h"

namespace kestrum {

namespace {

std::string KindOf(mode_t mode) {
  if (S_ISREG(mode)) return {};
  if (S_ISDIR(mode)) return "a directory";
  if (S_ISFIFO(mode)) return "a named pipe";
  if (S_ISCHR(mode) || S_ISBLK(mode)) return "a device";
  if (S_ISSOCK(mode)) return "a socket";
  return "a special file";
}

[[noreturn]] void RefuseKind(const std::string& path, const std::string& kind) {
  throw InputError("Cannot read " + path + ": it is " + kind + ", not a regular file.");
}

}  // namespace

std::string ErrorText(int error) { return std::error_code(error, std::generic_category()).message(); }

std::string NonRegularKind(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return {};
  return KindOf(st.st_mode);
}

int OpenRegularFile(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) {
    const int error = errno;
    if (error == ENOENT || error == ENOTDIR) throw InputError("The file " + path + " does not exist.");
    throw InputError("Cannot read " + path + ": " + ErrorText(error) + ".");
  }
  if (const std::string kind = KindOf(st.st_mode); !kind.empty()) RefuseKind(path, kind);

  // O_NONBLOCK: should the path have become a pipe since, opening it must not wait.
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
  if (fd < 0) throw InputError("Cannot open " + path + ": " + ErrorText(errno) + ".");
  struct stat opened {};
  if (::fstat(fd, &opened) != 0) {
    const int error = errno;
    ::close(fd);
    throw InputError("Cannot read " + path + ": " + ErrorText(error) + ".");
  }
  if (!S_ISREG(opened.st_mode)) {
    ::close(fd);
    RefuseKind(path, KindOf(opened.st_mode));
  }
  const int flags = ::fcntl(fd, F_GETFL);
  if (flags >= 0) ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
  return fd;
}

}  // namespace kestrum
