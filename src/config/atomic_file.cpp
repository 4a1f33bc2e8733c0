#include "config/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "run/regular_file.h"
#include "run/run_error.h"

namespace kestrum {

namespace fs = std::filesystem;

namespace {

std::string ErrnoText(int error) { return std::error_code(error, std::generic_category()).message(); }

[[noreturn]] void Fail(const std::string& path, const std::string& what, int error) {
  throw RunError("Cannot write the file " + path + ": " + what + " (" + ErrnoText(error) + ").");
}

// The file a write to path really changes: the target of a symbolic link.
fs::path WriteTarget(const fs::path& path) {
  std::error_code ec;
  if (!fs::is_symlink(path, ec)) return path;
  fs::path target = fs::weakly_canonical(path, ec);
  return ec ? path : target;
}

// Creates a new temporary file beside target; mode 0666 less the umask, like any new file.
int CreateTemporary(const fs::path& target, std::string& tempPath) {
  static std::atomic<unsigned> counter{0};
  for (int attempt = 0; attempt < 100; ++attempt) {
    tempPath = target.string() + ".tmp" + std::to_string(getpid()) + "-" + std::to_string(++counter);
    const int fd = open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  errno = EEXIST;
  return -1;
}

bool WriteAll(int fd, const std::string& content) {
  const char* data = content.data();
  size_t left = content.size();
  while (left > 0) {
    const ssize_t written = write(fd, data, left);
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data += written;
    left -= static_cast<size_t>(written);
  }
  return true;
}

// Makes the rename itself durable; a failure here loses nothing, so it is not reported.
void SyncDirectory(const fs::path& directory) {
  const int fd = open(directory.empty() ? "." : directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  fsync(fd);
  close(fd);
}

// A device or a pipe is written in place: renaming a new file over it would replace the
// device itself ("-o /dev/stdout" writes to standard output, /dev/full fails).
void WriteInPlace(const std::string& path, const std::string& content) {
  const int fd = open(path.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY);
  if (fd < 0) Fail(path, "cannot open it", errno);
  int error = WriteAll(fd, content) ? 0 : errno;
  if (close(fd) != 0 && error == 0) error = errno;
  if (error != 0) Fail(path, "cannot write its content", error);
}

}  // namespace

void ReplaceFileContent(const std::string& path, const std::string& content) {
  const fs::path target = WriteTarget(path);
  struct stat existing {};
  if (stat(target.c_str(), &existing) == 0 && !S_ISREG(existing.st_mode)) {
    if (S_ISDIR(existing.st_mode)) Fail(path, "it is a directory", EISDIR);
    WriteInPlace(path, content);
    return;
  }
  std::string tempPath;
  const int fd = CreateTemporary(target, tempPath);
  if (fd < 0) Fail(path, "cannot create a temporary file beside it", errno);

  struct stat old {};
  const bool keepMode = stat(target.c_str(), &old) == 0;
  int error = 0;
  std::string what;
  if (!WriteAll(fd, content)) {
    error = errno;
    what = "cannot write its content";
  } else if (keepMode && fchmod(fd, old.st_mode & 07777) != 0) {
    error = errno;
    what = "cannot keep its permissions";
  } else if (fsync(fd) != 0) {
    error = errno;
    what = "cannot flush its content to disk";
  }
  if (close(fd) != 0 && error == 0) {
    error = errno;
    what = "cannot close it";
  }
  if (error == 0 && rename(tempPath.c_str(), target.c_str()) != 0) {
    error = errno;
    what = "cannot replace it";
  }
  if (error != 0) {
    unlink(tempPath.c_str());
    Fail(path, what, error);
  }
  SyncDirectory(target.parent_path());
}

std::string ReadWholeFile(const std::string& path) {
  // Only a regular file: a named pipe would wait for a writer, a device never end.
  const int fd = OpenRegularFile(path);
  std::string content;
  char buffer[65536];
  for (;;) {
    const ssize_t got = read(fd, buffer, sizeof buffer);
    if (got == 0) break;
    if (got < 0) {
      if (errno == EINTR) continue;
      const int error = errno;
      close(fd);
      throw RunError("Cannot read the file " + path + " (" + ErrnoText(error) + ").");
    }
    content.append(buffer, static_cast<size_t>(got));
    if (content.size() > kMaxWholeFileBytes) {
      close(fd);
      throw RunError("Cannot read the file " + path + ": it is larger than " +
                     std::to_string(kMaxWholeFileBytes >> 20) + " MB.");
    }
  }
  close(fd);
  return content;
}

}  // namespace kestrum
