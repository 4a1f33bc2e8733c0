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
  void Notice(std::string_view message) override {
    std::fprintf(stderr, "kestrum-cli: %.*s\n", static_cast<int>(message.size()), message.data());
  }
  // Leading blanks are the progress box's indentation; stderr gets the sentence.
  void Warning(std::string_view line) override {
    const size_t start = line.find_first_not_of(' ');
    line.remove_prefix(start == std::string_view::npos ? line.size() : start);
    std::fprintf(stderr, "kestrum-cli: warning: %.*s\n", static_cast<int>(line.size()), line.data());
  }
  void SetCaption(std::string_view, std::string_view) override {}

 private:
  bool quiet_;
};

}  // namespace kestrum::cli
