// Helpers shared by the tests: a RunUi that records what it is told,
// a temporary directory, and reading back the files a stage wrote.
#pragma once

#include <atomic>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include <unistd.h>

#include "run/run_ui.h"

namespace kestrum::testing {

class RecordingUi : public RunUi {
 public:
  void EchoLine(std::string_view line) override { echoed.emplace_back(line); }
  void Notice(std::string_view message) override { notices.emplace_back(message); }
  void SetCaption(std::string_view c, std::string_view t) override {
    caption = c;
    title = t;
  }
  void Repaint() override { ++repaints; }
  void OfferForReview(std::string_view base) override { offered.emplace_back(base); }

  std::vector<std::string> echoed, notices, offered;
  std::string caption, title;
  int repaints = 0;
};

// A fresh directory below the system's temporary directory, removed at the end of the test.
class TempDir {
 public:
  TempDir() {
    static std::atomic<int> counter{0};
    path_ = std::filesystem::temp_directory_path() /
            ("kestrum-test-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
  }
  ~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  std::string str() const { return path_.string(); }
  std::string File(std::string_view name) const { return (path_ / name).string(); }
  std::string Write(std::string_view name, std::string_view content) const {
    const std::string p = File(name);
    std::ofstream(p, std::ios::binary) << content;
    return p;
  }

 private:
  std::filesystem::path path_;
};

inline void WriteBytes(const std::string& path, std::string_view bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

inline std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The lines of a file written with CR LF line ends; a line without its CR shows "<LF>".
inline std::vector<std::string> ReadCrLfLines(const std::string& path) {
  const std::string text = ReadBytes(path);
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    const size_t lf = text.find('\n', start);
    if (lf == std::string::npos) {
      lines.push_back(text.substr(start) + "<no line end>");
      break;
    }
    if (lf == start || text[lf - 1] != '\r') {
      lines.push_back(text.substr(start, lf - start) + "<LF>");
    } else {
      lines.push_back(text.substr(start, lf - 1 - start));
    }
    start = lf + 1;
  }
  return lines;
}

}  // namespace kestrum::testing
