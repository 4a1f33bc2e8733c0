// The " Results " group shared by the EPW and CSV tabs: the name of the packed file, the
// folder it is written to, the Convert button and the text that follows the run.
#pragma once

#include <QString>

class QCheckBox;
class QGridLayout;
class QGroupBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QWidget;

namespace kestrum::ui {

// Object names of the group's controls; each tab names them after itself.
struct ResultsNames {
  QString binName;    // edit: name of the packed file
  QString dir;        // edit: folder the packed file is written to
  QString dirButton;  // "..." button that picks the folder
  QString convert;    // bold "&Convert" button
};

struct ResultsGroup {
  QGroupBox* group = nullptr;
  QGridLayout* grid = nullptr;
  QLineEdit* binName = nullptr;
  QLineEdit* dir = nullptr;
  QPushButton* dirButton = nullptr;
  QPushButton* convert = nullptr;  // disabled until there is something to convert
};

// The group with its captions in row 0, the name and folder edits in row 1 and the Convert
// button, created but not yet placed. The caller puts Convert (and anything it wants below
// it) into cell (2, 0) and only then adds the memo with AddResultsMemo, so that controls it
// creates in between come before the memo in the tab order. Row 2 takes the spare height.
ResultsGroup MakeResultsGroup(const ResultsNames& names, QWidget* parent);

// The read-only, wrapping progress text in cell (2, 1) of the group.
QPlainTextEdit* AddResultsMemo(const ResultsGroup& results, const QString& objectName);

inline constexpr const char* kWriteEpwCaption = "Also write the repaired year as EPW";

// The check box "Also write the repaired year as EPW" under the progress text (row 3):
// the run then writes NAME.epw beside the ".bin" file.
QCheckBox* AddWriteEpwBox(const ResultsGroup& results, const QString& objectName);

}  // namespace kestrum::ui
