// Tab "Review Converted Data": the controls and the overview chart, built and named.
#pragma once

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QValueAxis;
class QWidget;

namespace kestrum::chart {
class ChartView;
class LineSeries;
}  // namespace kestrum::chart

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
  chart::ChartView* Chart1 = nullptr;
  chart::LineSeries* Series1 = nullptr;  // red
  chart::LineSeries* Series2 = nullptr;  // green
  QValueAxis* leftAxis = nullptr;
  QValueAxis* rightAxis = nullptr;  // shown only when used
  QValueAxis* bottomAxis = nullptr;

  static ReviewTab Build(QWidget* parent);
};

inline constexpr const char* kReviewTabCaption = "Review Converted Data";
inline constexpr const char* kNoChartTitle = "<no data to chart yet>";
inline constexpr const char* kResultsPlaceholder = "<intermediate files>";

}  // namespace kestrum::ui
