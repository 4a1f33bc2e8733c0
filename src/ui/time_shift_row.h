// "Shift hours by:" on a conversion tab: a spin box of whole hours that moves every row of
// the source file, and the "UTC" button beside it that takes the site's time zone, for a
// file stamped in UTC.
#pragma once

#include <QString>

class QGridLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QWidget;

namespace kestrum::ui {

inline constexpr const char* kTimeShiftCaption = "Shift hours by:";
inline constexpr const char* kTimeShiftHint =
    "Moves every row by whole hours: a file stamped in UTC takes the site's time zone (e.g. -7 "
    "for Colorado)";
inline constexpr const char* kUtcCaption = "UTC";
inline constexpr const char* kUtcHint =
    "The file is stamped in UTC: shift its hours by the site's Time Zone (a whole number of "
    "hours)";

struct TimeShiftRow {
  QLabel* label = nullptr;
  QSpinBox* shift = nullptr;  // -23..23, 0 keeps the file's hours
  QPushButton* utc = nullptr;
};

// The caption in cell (row, 0) of grid, the spin box and the "UTC" button after it in the
// cells to its right (columnSpan of them). Object names: shiftName, utcName, and
// shiftName + "Label" for the caption.
TimeShiftRow AddTimeShiftRow(QGridLayout* grid, int row, int columnSpan, const QString& shiftName,
                             const QString& utcName, QWidget* parent);

// "UTC" takes the time zone of the timeZone field into the shift; it is enabled while
// that field holds a whole number of hours within -23..23 (UtcShiftForTimeZone).
void ConnectUtcButton(QPushButton* utc, QSpinBox* shift, QLineEdit* timeZone);

}  // namespace kestrum::ui
