// The log file channel of the run log: one line per call, the file opened and
// closed each time, lines ended with CR LF. An empty path switches it off.
#pragma once

#include <string>
#include <string_view>

namespace kestrum {

class RunLog {
 public:
  RunLog() = default;
  explicit RunLog(std::string path) : path_(std::move(path)) {}

  const std::string& path() const { return path_; }
  void set_path(std::string path) { path_ = std::move(path); }

  // Appends message + CR LF; creates the file when missing. Throws RunError when
  // the file cannot be opened or written.
  void WriteLogLine(std::string_view message) const;

  // Empties the log file (the "Rewrite File" option). Nothing happens without a path.
  void Truncate() const;

 private:
  std::string path_;
};

// "Processing started at " / "Processing finished at " stamps: local date and time.
std::string LocalDateTimeText();

}  // namespace kestrum
