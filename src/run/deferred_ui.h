// A RunUi that keeps what it is told, each call marked with a number (the hour being
// worked on), to be passed on later to the real one: work done on a second thread tells
// the user nothing until the calling thread gives its calls on, in order.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "run/run_ui.h"

namespace kestrum {

class DeferredUi : public RunUi {
 public:
  // The mark of the calls that follow.
  void SetMark(int mark) { mark_ = mark; }

  void EchoLine(std::string_view line) override { Keep(Kind::Echo, line); }
  void Warning(std::string_view line) override { Keep(Kind::Warning, line); }
  void Notice(std::string_view message) override { Keep(Kind::Notice, message); }
  void SetCaption(std::string_view caption, std::string_view title) override {
    Keep(Kind::Caption, caption, title);
  }
  void Repaint() override { Keep(Kind::Repaint, {}); }

  // Passes on to ui, in the order they came, the calls not yet passed on whose mark is at
  // most `mark`.
  void PassOnUpTo(int mark, RunUi& ui);

 private:
  enum class Kind { Echo, Warning, Notice, Caption, Repaint };
  struct Call {
    int mark;
    Kind kind;
    std::string text;
    std::string title;
  };
  void Keep(Kind kind, std::string_view text, std::string_view title = {}) {
    calls_.push_back({mark_, kind, std::string(text), std::string(title)});
  }

  int mark_ = 0;
  std::vector<Call> calls_;
  size_t passedOn_ = 0;
};

}  // namespace kestrum
