#include "ui/window_placement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include "ui/screen_fit.h"

namespace kestrum::ui {

namespace {

std::optional<QRect>& WorkAreaOverride() {
  static std::optional<QRect> area;
  return area;
}

// A title bar and thin borders, somewhat more than most desktops draw, so that a window
// placed before it is framed still fits.
constexpr QMargins kCommonFrame(4, 30, 4, 4);

bool IsFramed(const QWidget& window) {
  return window.isVisible() && window.frameGeometry() != window.geometry();
}

QMargins MarginsOf(const QWidget& window) {
  const QRect frame = window.frameGeometry();
  const QRect client = window.geometry();
  return QMargins(client.left() - frame.left(), client.top() - frame.top(),
                  frame.right() - client.right(), frame.bottom() - client.bottom());
}

}  // namespace

QRect WorkAreaAt(QPoint point) {
  if (WorkAreaOverride()) return *WorkAreaOverride();
  const QScreen* screen = QGuiApplication::screenAt(point);
  if (screen == nullptr) screen = QGuiApplication::primaryScreen();
  return screen != nullptr ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
}

QRect WorkAreaOf(const QWidget& window) { return WorkAreaAt(FrameOf(window).center()); }

void SetWorkAreaForTests(std::optional<QRect> workArea) { WorkAreaOverride() = workArea; }

QMargins FrameMargins(const QWidget& window, const QWidget* like) {
  if (IsFramed(window)) return MarginsOf(window);
  // like, or the window it was opened from, and so on up to the main window.
  for (const QWidget* other = like; other != nullptr; other = other->window()->parentWidget()) {
    if (IsFramed(*other->window())) return MarginsOf(*other->window());
  }
  return kCommonFrame;
}

QRect FrameOf(const QWidget& window, const QWidget* like) {
  if (IsFramed(window)) return window.frameGeometry();
  // Before it is shown a window's position is that of its frame, its size that of its inside.
  const QMargins margins = FrameMargins(window, like);
  return QRect(window.pos(), window.size().grownBy(margins));
}

void SetFrame(QWidget& window, const QRect& frame, const QWidget* like) {
  const QMargins margins = FrameMargins(window, like);
  window.resize(frame.size().shrunkBy(margins));
  window.move(frame.topLeft());
}

void KeepInWorkArea(QWidget& window, const QWidget* like) {
  if (window.testAttribute(Qt::WA_DontShowOnScreen)) return;  // drawn for a picture only
  const QRect frame = FrameOf(window, like);
  const QRect fitted = FitToWorkArea(frame, WorkAreaAt(frame.center()));
  if (fitted != frame) SetFrame(window, fitted, like);
}

void CentreInWorkArea(QWidget& window, QPoint centre, const QWidget* like) {
  if (window.testAttribute(Qt::WA_DontShowOnScreen)) return;
  const QRect frame = FrameOf(window, like);
  SetFrame(window, CentredOn(centre, frame.size(), WorkAreaAt(centre)), like);
}

}  // namespace kestrum::ui
