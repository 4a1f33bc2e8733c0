// Tab "CSV Data Source Conversion": the controls, built and named; no behaviour.
#pragma once

class QComboBox;
class QLabel;
class QCheckBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;
class QToolButton;
class QWidget;

namespace kestrum::ui {

struct CsvTab {
  QWidget* page = nullptr;
  QToolButton* bbCSVtop = nullptr;
  QLineEdit* edXLSfn = nullptr;
  QPushButton* btnGetXLS = nullptr;
  QLineEdit* ledCSVdesc = nullptr;
  QLineEdit* ledCSVlat = nullptr;
  QLineEdit* ledCSVlon = nullptr;
  QLineEdit* ledCSVtz = nullptr;
  QLineEdit* ledCSVelev = nullptr;
  QComboBox* cbElevUnits = nullptr;
  QSpinBox* seCSVTimeShift = nullptr;  // "Shift hours by:"
  QPushButton* btnCSVutc = nullptr;    // "UTC": the shift of the site's time zone
  QPushButton* btnFindSiteInfo = nullptr;
  QPushButton* btnFieldSpecs = nullptr;
  QLabel* lblFldCompleted = nullptr;
  QLineEdit* edCSVBinName = nullptr;
  QLineEdit* edCSVdir = nullptr;
  QPushButton* btnCSVdir = nullptr;
  QPushButton* btnProcCSV = nullptr;
  QPlainTextEdit* memCSV = nullptr;
  QCheckBox* cbCSVWriteEpw = nullptr;  // "Also write the repaired year as EPW"
  QPushButton* btnView = nullptr;

  static CsvTab Build(QWidget* parent);
};

inline constexpr const char* kCsvTabCaption = "CSV Data Source Conversion";

}  // namespace kestrum::ui
