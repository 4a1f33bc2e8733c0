#include "ui/window_run_ui.h"

#include <QComboBox>
#include <QEventLoop>
#include <QGuiApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include "ui/qt_text.h"

namespace kestrum::ui {

void AppendProgressLine(QPlainTextEdit& memo, const QString& line) {
  memo.appendPlainText(line);
  QTextDocument* doc = memo.document();
  if (doc->blockCount() > 1) {
    QTextCursor caret(doc->findBlockByNumber(doc->blockCount() - 2));
    memo.setTextCursor(caret);
  }
  memo.ensureCursorVisible();
  memo.verticalScrollBar()->setValue(memo.verticalScrollBar()->maximum());
}

void PauseKeepingWindowAlive(int ms) {
  QEventLoop loop;
  QTimer::singleShot(ms, &loop, &QEventLoop::quit);
  loop.exec(QEventLoop::ExcludeUserInputEvents);
}

void SetWindowCaption(QWidget& window, const QString& caption, const QString& title) {
  // The title bar is composed from the caption and the display name at the moment the
  // caption is handed to the window system, so the display name goes first. A caption
  // that stays the same is handed over again, with the new display name.
  QGuiApplication::setApplicationDisplayName(title);
  if (window.windowTitle() != caption) {
    window.setWindowTitle(caption);
  } else if (QWindow* handle = window.windowHandle()) {
    handle->setTitle(caption);
  }
}

void WindowRunUi::EchoLine(std::string_view line) {
  if (activeMemo_ == nullptr) return;
  AppendProgressLine(*activeMemo_, ToQ(line));
  if (!automatic_) PauseKeepingWindowAlive(kProgressPauseMs);
}

void WindowRunUi::Notice(std::string_view message) {
  if (notice_) notice_(ToQ(message));
}

void WindowRunUi::SetCaption(std::string_view caption, std::string_view title) {
  SetWindowCaption(window_, ToQ(caption), ToQ(title));
}

void WindowRunUi::Repaint() { window_.repaint(); }

void WindowRunUi::ResetReviewList() {
  if (resultsList_ != nullptr) resultsList_->clear();
  if (resultsLabel_ != nullptr) resultsLabel_->setText(QStringLiteral("Latest Results:"));
}

void WindowRunUi::OfferForReview(std::string_view baseName) {
  if (resultsList_ == nullptr) return;
  resultsList_->addItem(ToQ(baseName));
  resultsList_->setCurrentIndex(-1);  // nothing selected until the review tab is entered
}

}  // namespace kestrum::ui
