// A RunUi that keeps the notices and progress lines it is given.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "run/run_ui.h"

namespace kestrum::testing_support {

class RecordingUi : public kestrum::RunUi {
 public:
  void EchoLine(std::string_view line) override { lines.emplace_back(line); }
  void Notice(std::string_view message) override { notices.emplace_back(message); }
  void SetCaption(std::string_view, std::string_view) override {}
  void Repaint() override { ++repaints; }

  std::vector<std::string> lines;
  std::vector<std::string> notices;
  int repaints = 0;
};

}  // namespace kestrum::testing_support
