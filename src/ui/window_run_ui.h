// The run's view of the desktop program: progress lines into the running tab's
// progress box (with a short pause so they can be read), notices as message boxes,
// captions into the window title and the application title, and the review list.
#pragma once

#include <QString>
#include <functional>
#include <string_view>

#include "run/run_ui.h"

class QComboBox;
class QLabel;
class QPlainTextEdit;
class QWidget;

namespace kestrum::ui {

// Pause after each progress line in interactive mode, milliseconds.
inline constexpr int kProgressPauseMs = 150;

class WindowRunUi : public RunUi {
 public:
  explicit WindowRunUi(QWidget& window) : window_(window) {}

  void setNoticeHook(std::function<void(const QString&)> hook) { notice_ = std::move(hook); }
  void setActiveMemo(QPlainTextEdit* memo) { activeMemo_ = memo; }
  QPlainTextEdit* activeMemo() const { return activeMemo_; }
  void setAutomaticMode(bool on) { automatic_ = on; }
  void setReviewList(QComboBox* list, QLabel* label) {
    resultsList_ = list;
    resultsLabel_ = label;
  }

  void EchoLine(std::string_view line) override;
  void Notice(std::string_view message) override;
  void SetCaption(std::string_view caption, std::string_view title) override;
  void Repaint() override;
  void ResetReviewList() override;
  void OfferForReview(std::string_view baseName) override;

 private:
  QWidget& window_;
  std::function<void(const QString&)> notice_;
  QPlainTextEdit* activeMemo_ = nullptr;
  QComboBox* resultsList_ = nullptr;
  QLabel* resultsLabel_ = nullptr;
  bool automatic_ = false;
};

// Adds line as the last line of memo and scrolls so that the end is in view: the caret
// goes, with an empty selection, to the start of the line before the last.
void AppendProgressLine(QPlainTextEdit& memo, const QString& line);

// Waits ms milliseconds while the window keeps painting; user input waits until after.
void PauseKeepingWindowAlive(int ms);

// Sets the window's caption and the application title (the text the desktop shows for
// the program).
void SetWindowCaption(QWidget& window, const QString& caption, const QString& title);

}  // namespace kestrum::ui
