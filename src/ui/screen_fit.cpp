#include "ui/screen_fit.h"

#include <algorithm>
#include <initializer_list>

namespace kestrum::ui {

namespace {

// v moved into [low, high - length]; below low when the length does not fit.
int Clamp(int v, int length, int low, int high) { return std::max(low, std::min(v, high - length)); }

long long Surface(const QRect& r) { return static_cast<long long>(r.width()) * r.height(); }

bool Covers(const QRect& frame, const QRect& other) {
  return !other.isEmpty() && frame.intersects(other);
}

}  // namespace

QRect FitToWorkArea(QRect frame, QRect workArea) {
  if (workArea.isEmpty()) return frame;
  const QSize size = frame.size().boundedTo(workArea.size());
  const int x = Clamp(frame.x(), size.width(), workArea.x(), workArea.x() + workArea.width());
  const int y = Clamp(frame.y(), size.height(), workArea.y(), workArea.y() + workArea.height());
  return QRect(QPoint(x, y), size);
}

QRect AreaBeside(QRect r, Side side, QRect workArea) {
  QRect area = workArea;
  switch (side) {
    case Side::Right:
      area.setLeft(std::max(workArea.left(), r.right() + 1));
      break;
    case Side::Below:
      area.setTop(std::max(workArea.top(), r.bottom() + 1));
      break;
    case Side::Left:
      area.setRight(std::min(workArea.right(), r.left() - 1));
      break;
    case Side::Above:
      area.setBottom(std::min(workArea.bottom(), r.top() - 1));
      break;
  }
  return area.isValid() ? area : QRect();
}

QRect NextTo(QRect r, Side side, QSize size) {
  switch (side) {
    case Side::Right:
      return QRect(QPoint(r.right() + 1, r.top()), size);
    case Side::Below:
      return QRect(QPoint(r.left(), r.bottom() + 1), size);
    case Side::Left:
      return QRect(QPoint(r.left() - size.width(), r.top()), size);
    case Side::Above:
      return QRect(QPoint(r.left(), r.top() - size.height()), size);
  }
  return QRect(r.topLeft(), size);
}

QRect SpreadFrom(QRect opener, Side side, QRect workArea) {
  const QRect area = AreaBeside(opener, side, workArea);
  switch (side) {
    case Side::Right:
    case Side::Left:
      return QRect(area.left(), opener.top(), area.width(), opener.height());
    case Side::Below:
    case Side::Above:
      return QRect(opener.left(), area.top(), opener.width(), area.height());
  }
  return area;
}

std::optional<QRect> PlaceInArea(QRect wanted, QRect area, QSize least) {
  if (area.isEmpty()) return std::nullopt;
  const QSize size = wanted.size().boundedTo(area.size());
  if (size.width() < least.width() || size.height() < least.height()) return std::nullopt;
  const int x = Clamp(wanted.x(), size.width(), area.x(), area.x() + area.width());
  const int y = Clamp(wanted.y(), size.height(), area.y(), area.y() + area.height());
  return QRect(QPoint(x, y), size);
}

QRect PlaceBesideMainWindow(QRect mainFrame, QRect keepClear, QSize preferred, QSize least,
                            QRect workArea) {
  for (const QRect& anchor : {mainFrame, keepClear}) {
    if (anchor.isEmpty()) continue;
    // The first side with room for the whole window, else the side with the most room.
    std::optional<QRect> roomiest;
    for (Side side : kSides) {
      const QRect area = AreaBeside(anchor, side, workArea);
      const std::optional<QRect> frame = PlaceInArea(NextTo(anchor, side, preferred), area, least);
      if (!frame) continue;
      if (frame->size() == preferred) return *frame;
      if (!roomiest || Surface(*frame) > Surface(*roomiest)) roomiest = frame;
    }
    if (roomiest) return *roomiest;
  }
  return FitToWorkArea(QRect(mainFrame.topLeft(), preferred), workArea);
}

QRect PlacePreview(QRect opener, QRect mainFrame, QRect keepClear, QSize comfortable,
                   QSize least, QRect workArea) {
  // A preview covers neither the window it belongs to (unless that is the main window, of
  // which it may cover all but keepClear) nor keepClear.
  const QRect own = opener == mainFrame ? QRect() : opener;
  const auto clear = [&](const QRect& frame, const QRect& avoid) {
    return !Covers(frame, own) && !Covers(frame, keepClear) && !Covers(frame, avoid);
  };
  for (const QSize& atLeast : {comfortable, least}) {
    // Beside the opener, clear of the main window, then clear of keepClear only.
    for (const QRect& avoid : {mainFrame, keepClear}) {
      for (Side side : kSides) {
        // Below or above, as wide as the rest of the work area from opener's left edge on.
        QRect wanted = SpreadFrom(opener, side, workArea);
        if (side == Side::Below || side == Side::Above) wanted.setRight(workArea.right());
        const QRect area = AreaBeside(opener, side, workArea);
        // The whole area first, then its parts beside the frame to leave free.
        std::array<QRect, 5> parts = {area};
        for (size_t i = 0; i < kSides.size(); ++i) {
          parts[i + 1] = avoid.isEmpty() ? QRect() : area & AreaBeside(avoid, kSides[i], workArea);
        }
        for (const QRect& part : parts) {
          auto frame = PlaceInArea(wanted, part, atLeast);
          if (frame && clear(*frame, avoid)) return *frame;
        }
      }
    }
    // Beside keepClear itself (the main window's own preview, on a screen too small for it
    // to stand beside the main window).
    if (keepClear.isEmpty()) continue;
    for (Side side : kSides) {
      const QRect area = AreaBeside(keepClear, side, workArea);
      auto frame = PlaceInArea(SpreadFrom(keepClear, side, workArea), area, atLeast);
      if (frame && clear(*frame, QRect())) return *frame;
    }
  }
  QRect fallback = SpreadFrom(opener, Side::Right, workArea);
  fallback.setSize(fallback.size().expandedTo(least));
  return FitToWorkArea(fallback, workArea);
}

SnapPlacement SnapPreview(QRect opener, QSize openerLeast, Side side, QSize previewLeast,
                          QRect workArea) {
  const bool right = side != Side::Below;
  // Room on that side, and what it lacks for the smallest preview.
  const int room = right ? workArea.right() - opener.right() : workArea.bottom() - opener.bottom();
  int lacking = (right ? previewLeast.width() : previewLeast.height()) - room;
  if (lacking > 0) {
    const int slack = right ? opener.left() - workArea.left() : opener.top() - workArea.top();
    const int shift = std::clamp(slack, 0, lacking);
    opener.translate(right ? -shift : 0, right ? 0 : -shift);
    lacking -= shift;
  }
  if (lacking > 0) {
    if (right) {
      opener.setWidth(std::max(openerLeast.width(), opener.width() - lacking));
    } else {
      opener.setHeight(std::max(openerLeast.height(), opener.height() - lacking));
    }
  }
  QRect preview = SpreadFrom(opener, right ? Side::Right : Side::Below, workArea);
  if (preview.isEmpty()) preview = NextTo(opener, right ? Side::Right : Side::Below, QSize(0, 0));
  preview.setSize(preview.size().expandedTo(previewLeast));
  return {opener, FitToWorkArea(preview, workArea)};
}

QRect CentredOn(QPoint centre, QSize size, QRect workArea) {
  QRect frame(QPoint(0, 0), size);
  frame.moveCenter(centre);
  return FitToWorkArea(frame, workArea);
}

}  // namespace kestrum::ui
