// The command line's side of a run: progress lines to stdout, notices to stderr.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

#include "run/run_ui.h"

namespace kestrum::cli {

class CliUi : public RunUi {
 public:
  explicit CliUi(bool quiet = false) : quiet_(quiet) {}

  void EchoLine(std::string_view line) override {
    if (quiet_) return;
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fputc('\n', stdout);
  }
  // A progress line like any other, and on stderr (also when quiet) without the progress
  // box's indentation, marked as a warning unless the sentence says so itself.
  void Warning(std::string_view line) override {
    EchoLine(line);
    line.remove_prefix(Indent(line));
    const char* mark = line.starts_with("Warning:") ? "" : "warning: ";
    std::fprintf(stderr, "kestrum-cli: %s%.*s\n", mark, static_cast<int>(line.size()),
                 line.data());
  }
  void Notice(std::string_view message) override {
    std::fprintf(stderr, "kestrum-cli: %.*s\n", static_cast<int>(message.size()), message.data());
  }
  void SetCaption(std::string_view, std::string_view) override {}

 private:
  static size_t Indent(std::string_view line) {
    const size_t n = line.find_first_not_of(' ');
    return n == std::string_view::npos ? line.size() : n;
  }
  bool quiet_;
};

}  // namespace kestrum::cli
