// What a conversion needs from whoever runs it: the desktop program puts these into
// its controls and message boxes, the command line into stdout and stderr.
#pragma once

#include <string_view>

namespace kestrum {

class RunUi {
 public:
  virtual ~RunUi() = default;

  // A progress line for the running tab's progress box (never the log file).
  // The desktop program pauses 150 ms after each line unless in automatic mode.
  virtual void EchoLine(std::string_view line) = 0;

  // A finding the user must not miss (rows skipped, a cause of failure, a warning about the
  // result of a run that succeeded): the desktop program shows it as a progress line, the
  // command line also on stderr, even when quiet.
  virtual void Warning(std::string_view line) { EchoLine(line); }

  // A modal notice that waits for acknowledgement (message box). Returns when dismissed.
  virtual void Notice(std::string_view message) = 0;

  // The main window's caption and the application title (task-bar text).
  virtual void SetCaption(std::string_view caption, std::string_view title) = 0;

  // A stage finished a step: the desktop program repaints its window.
  virtual void Repaint() {}

  // A run starts: the review list of finished runs is emptied, its label reads
  // "Latest Results:".
  virtual void ResetReviewList() {}

  // A reader offers its run for review (the review tab's list of finished runs).
  virtual void OfferForReview(std::string_view /*baseName*/) {}
};

// A RunUi that drops everything; for tests and callers that want silence.
class SilentUi : public RunUi {
 public:
  void EchoLine(std::string_view) override {}
  void Notice(std::string_view) override {}
  void SetCaption(std::string_view, std::string_view) override {}
};

}  // namespace kestrum
