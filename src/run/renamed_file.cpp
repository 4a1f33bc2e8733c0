#include "run/renamed_file.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "run/run_error.h"

namespace kestrum {

namespace {

[[noreturn]] void Fail(const std::string& what, const std::string& path, int error) {
  throw RunError("Cannot write " + what + " " + path + ": " + std::strerror(error));
}

}  // namespace

void WriteByRename(const std::string& path, std::string_view text, const std::string& what) {
  const std::string temp = path + ".tmp" + std::to_string(::getpid());
  std::FILE* f = std::fopen(temp.c_str(), "wb");
  if (f == nullptr) Fail(what, path, errno);
  const bool written = std::fwrite(text.data(), 1, text.size(), f) == text.size();
  const int writeError = errno;
  if (std::fclose(f) != 0 || !written) {
    const int error = written ? errno : writeError;
    std::remove(temp.c_str());
    Fail(what, path, error);
  }
  if (std::rename(temp.c_str(), path.c_str()) != 0) {
    const int error = errno;
    std::remove(temp.c_str());
    Fail(what, path, error);
  }
}

}  // namespace kestrum
