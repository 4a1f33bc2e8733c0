// Tab "Setup": the cleaning-limits grids with their captions, legend and note, the
// log-file and interim-directory groups; and the moves between the grids and their texts.
#pragma once

#include "cleaning/cleaning_limits.h"

class QCheckBox;
class QLineEdit;
class QPushButton;
class QTableWidget;
class QWidget;

namespace kestrum::ui {

struct SetupTab {
  QWidget* page = nullptr;
  QTableWidget* sgWthData = nullptr;  // 5 rows x Min, Max, #interp, #prev
  QTableWidget* sgBadData = nullptr;  // 5 rows x 5 missing-data flags
  QPushButton* btnResetCleanData = nullptr;
  QLineEdit* edLOG = nullptr;
  QPushButton* btnLOG = nullptr;
  QCheckBox* cbReWriteLog = nullptr;
  QCheckBox* cbLogIt = nullptr;
  QLineEdit* edInterimPath = nullptr;
  QPushButton* btnInterimPath = nullptr;
  QCheckBox* cbClearResults = nullptr;

  static SetupTab Build(QWidget* parent);

  // Ends an edit in progress in either grid so that its text counts.
  void CommitGridEdits();
  CleaningGridTexts GridTexts() const;
  void ShowGridTexts(const CleaningGridTexts& cells);
};

inline constexpr const char* kSetupTabCaption = "Setup";
inline constexpr int kLimitsColumnWidth = 52;

}  // namespace kestrum::ui
