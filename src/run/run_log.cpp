#include "run/run_log.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>

#include "run/run_error.h"

namespace kestrum {

void RunLog::WriteLogLine(std::string_view message) const {
  if (path_.empty()) return;
  std::FILE* f = std::fopen(path_.c_str(), "ab");
  if (f == nullptr) {
    throw RunError("Cannot open the log file " + path_ + ": " + std::strerror(errno));
  }
  const bool ok = std::fwrite(message.data(), 1, message.size(), f) == message.size() &&
                  std::fwrite("\r\n", 1, 2, f) == 2;
  int error = ok ? 0 : errno;
  const bool closed = std::fclose(f) == 0;
  if (ok && !closed) error = errno;
  if (!ok || !closed) {
    throw RunError("Cannot write the log file " + path_ + ": " + std::strerror(error));
  }
}

void RunLog::Truncate() const {
  if (path_.empty()) return;
  std::FILE* f = std::fopen(path_.c_str(), "wb");
  if (f == nullptr) {
    throw RunError("Cannot empty the log file " + path_ + ": " + std::strerror(errno));
  }
  std::fclose(f);
}

std::string LocalDateTimeText() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char buf[64];
  // Short date, a blank, long time.
  const size_t n = std::strftime(buf, sizeof buf, "%Y-%m-%d %H:%M:%S", &local);
  return std::string(buf, n);
}

}  // namespace kestrum
