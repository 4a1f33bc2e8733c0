// Where the program's windows go on a screen: rectangle arithmetic on window frames (the
// window with its title bar and borders, in desktop pixels) and the screen's work area (the
// screen less its panels). Nothing here touches a window; window_placement.h applies the
// results to windows.
#pragma once

#include <QRect>
#include <QSize>
#include <array>
#include <optional>

namespace kestrum::ui {

enum class Side { Right, Below, Left, Above };
inline constexpr std::array<Side, 4> kSides = {Side::Right, Side::Below, Side::Left, Side::Above};

// The frame moved, and first shrunk where it is wider or higher than the work area, so that it
// lies inside workArea. A frame that already lies inside comes back unchanged.
QRect FitToWorkArea(QRect frame, QRect workArea);

// The part of workArea on `side` of r: right of its right edge, below its bottom edge, ...
// Empty when r reaches the work area's edge on that side.
QRect AreaBeside(QRect r, Side side, QRect workArea);

// A frame of `size` against `side` of r, sharing r's top edge (right, left) or its left edge
// (below, above).
QRect NextTo(QRect r, Side side, QSize size);

// The frame of a preview spread from `side` of opener to the work area's edge: to the right,
// the same top and height as opener and as wide as the rest of the work area; below, the same
// left edge and width, down to the bottom of the work area (likewise to the left and above).
QRect SpreadFrom(QRect opener, Side side, QRect workArea);

// `wanted` shrunk to fit `area` and moved as little as it takes to lie inside it; nothing
// when the shrunk frame would be narrower or lower than `least`.
std::optional<QRect> PlaceInArea(QRect wanted, QRect area, QSize least);

// A window opened from the main window (frame `mainFrame`): beside the main window, on the
// first side (right, below, left, above) with room for all of `preferred`, else on the side
// where it keeps most of it, shrunk to no less than `least`; where the screen has no such
// room, beside `keepClear` (the main window's controls the user must still see, in desktop
// pixels) by the same rule; failing both, at the main window's corner, fitted to the work
// area. keepClear may be empty.
QRect PlaceBesideMainWindow(QRect mainFrame, QRect keepClear, QSize preferred, QSize least,
                            QRect workArea);

// The preview of a file opened from the window `opener` (the field window, or the main
// window itself): spread from a side of opener (SpreadFrom, right first; below and above
// as wide as the rest of the work area from opener's left edge on). A place as big as
// `comfortable` is taken before one merely as big as `least`; in each, a place that leaves
// the main window free comes first, then one that leaves keepClear free, cut to the part of
// the work area beside it when needed, then one spread from a side of keepClear. The
// preview never covers keepClear, nor opener unless opener is the main window. Failing all,
// right of opener fitted to the work area.
QRect PlacePreview(QRect opener, QRect mainFrame, QRect keepClear, QSize comfortable,
                   QSize least, QRect workArea);

// "Snap": the preview spread from `side` (Right or Below) of opener. When the work area
// leaves less than previewLeast on that side, opener first moves away from that side, then
// shrinks (to no less than openerLeast); the preview is then fitted to the work area. So
// neither covers the other while the screen has room for both.
struct SnapPlacement {
  QRect opener;
  QRect preview;
};
SnapPlacement SnapPreview(QRect opener, QSize openerLeast, Side side, QSize previewLeast,
                          QRect workArea);

// A frame of `size` centred on `centre`, fitted to the work area.
QRect CentredOn(QPoint centre, QSize size, QRect workArea);

}  // namespace kestrum::ui
