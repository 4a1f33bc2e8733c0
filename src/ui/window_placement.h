// Windows and their frames on the screen: what screen_fit.h computes on rectangles, applied
// to the program's windows. A window's frame is known only once the desktop has framed it;
// before that the frame of another, shown window of the program stands in for it.
#pragma once

#include <QMargins>
#include <QPoint>
#include <QRect>
#include <optional>

class QWidget;

namespace kestrum::ui {

// The work area (the screen less its panels) of the screen that holds point, else of the
// primary screen.
QRect WorkAreaAt(QPoint point);
// The work area of the screen that holds the middle of window's frame.
QRect WorkAreaOf(const QWidget& window);
// Tests stand a smaller work area (a desktop with panels) in for every screen's; nullopt
// returns to the screens' own.
void SetWorkAreaForTests(std::optional<QRect> workArea);

// The title bar and borders of window: its own once it is framed, else those of `like` (a
// shown window of the program) or of the first framed window it was opened from, else what
// desktops commonly draw.
QMargins FrameMargins(const QWidget& window, const QWidget* like = nullptr);
// The frame window has, or will have once shown, at its position and size.
QRect FrameOf(const QWidget& window, const QWidget* like = nullptr);
// Moves and resizes window so that its frame becomes `frame` (its size within its limits).
void SetFrame(QWidget& window, const QRect& frame, const QWidget* like = nullptr);

// Moves (and, when it is larger, shrinks) window into the work area of its screen; a window
// that lies inside stays where it is. These two leave a window drawn only for a picture
// (Qt::WA_DontShowOnScreen) as it is.
void KeepInWorkArea(QWidget& window, const QWidget* like = nullptr);
// Centres window's frame on `centre`, inside the work area there.
void CentreInWorkArea(QWidget& window, QPoint centre, const QWidget* like = nullptr);

}  // namespace kestrum::ui
