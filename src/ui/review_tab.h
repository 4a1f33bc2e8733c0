// Tab "Review Converted Data": the controls and the overview chart, built and named.
#pragma once

class QCheckBox;
class QChartView;
class QComboBox;
class QLabel;
class QLineSeries;
class QPushButton;
class QRadioButton;
class QValueAxis;
class QWidget;

namespace kestrum::ui {

struct ReviewTab {
  QWidget* page = nullptr;
  QLabel* lblResList = nullptr;
  QComboBox* cbResultsList = nullptr;
  QPushButton* btnMoreResults = nullptr;
  QWidget* panGraphStuff = nullptr;  // the choices, buttons and chart
  QRadioButton* rbFinalData = nullptr;
  QRadioButton* rbOrigData = nullptr;
  QRadioButton* rbTemp = nullptr;
  QRadioButton* rbSolar = nullptr;
  QRadioButton* rbWind = nullptr;
  QCheckBox* cbSaveCSV = nullptr;
  QPushButton* btnBigChart = nullptr;
  QPushButton* btnDispWindRose = nullptr;
  QPushButton* btnLoadGraph = nullptr;  // hidden
  QChartView* Chart1 = nullptr;
  QLineSeries* Series1 = nullptr;  // red
  QLineSeries* Series2 = nullptr;  // green
  QValueAxis* leftAxis = nullptr;
  QValueAxis* rightAxis = nullptr;  // shown only when used
  QValueAxis* bottomAxis = nullptr;

  static ReviewTab Build(QWidget* parent);
};

inline constexpr const char* kReviewTabCaption = "Review Converted Data";
inline constexpr const char* kNoChartTitle = "<no data to chart yet>";
inline constexpr const char* kResultsPlaceholder = "<intermediate files>";

}  // namespace kestrum::ui
