// Tab "EPW Weather File Conversion": the controls, built and named; no behaviour.
#pragma once

class QCheckBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;
class QWidget;

namespace kestrum::ui {

struct EpwTab {
  QWidget* page = nullptr;
  QPushButton* btnDOEwebsite = nullptr;
  QLineEdit* edEPWfile = nullptr;
  QPushButton* btnGetEPW = nullptr;
  QLineEdit* ledEPWloc = nullptr;
  QLineEdit* ledEPWlat = nullptr;
  QLineEdit* ledEPWlon = nullptr;
  QLineEdit* ledEPWtz = nullptr;
  QLineEdit* ledEPWelev = nullptr;
  QLineEdit* ledEPWcomment = nullptr;
  QSpinBox* seEPWTimeShift = nullptr;  // "Shift hours by:"
  QPushButton* btnEPWutc = nullptr;    // "UTC": the shift of the site's time zone
  QCheckBox* cbCalcSolDN = nullptr;
  QCheckBox* cbEPWuseRH = nullptr;
  QCheckBox* cbEPWuseObs = nullptr;
  QLineEdit* edEPWBinName = nullptr;
  QLineEdit* edEPWdir = nullptr;
  QPushButton* btnEPWdir = nullptr;
  QPushButton* btnProcEPW = nullptr;
  QPlainTextEdit* memEPW = nullptr;
  QCheckBox* cbEPWWriteEpw = nullptr;  // "Also write the repaired year as EPW"

  static EpwTab Build(QWidget* parent);
};

inline constexpr const char* kEpwTabCaption = "EPW Weather File Conversion";

}  // namespace kestrum::ui
