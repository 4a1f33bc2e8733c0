// TfrmBigChart: the detailed chart of a run. A large, resizable, zoomable chart of the final
// data, the original data, or both for comparison, by data type and option.
#pragma once

#include <QDialog>
#include <QString>
#include <functional>

#include "review/chart_selection.h"

class QAction;
class QCheckBox;
class QGroupBox;
class QPushButton;
class QRadioButton;

namespace kestrum::chart {
class ChartView;
class LineSeries;
}  // namespace kestrum::chart

namespace kestrum {

struct BigChartInputs {
  QString interimDir;
  QString baseName;      // the run selected on the review tab
  int moistureKind = 0;  // of the latest conversion: 1 dew point, 2 wet bulb, 3 RH, 0 none
  std::function<void(const QString&)> error;  // empty: a message box
};

inline constexpr int kBigChartWidth = 795;
inline constexpr int kBigChartHeight = 593;

class TfrmBigChart : public QDialog {
  Q_OBJECT

 public:
  explicit TfrmBigChart(BigChartInputs inputs, QWidget* parent = nullptr);

  void FormShow();
  void panDataTypeClick();
  void cbShowOrigClick();
  void Button1Click();
  void CheckBox1Click();
  void BigChartZoom();
  void BigChartUndoZoom();
  // Marks (or unmarks) the hours whose original and final values differ.
  void MarkRepairedHours(bool on);

  const DetailSelection& selection() const { return selection_; }
  DetailChoice choice() const;
  QString originalPath() const;
  QString finalPath() const;

  QRadioButton* rbTemp = nullptr;
  QRadioButton* rbSolar = nullptr;
  QRadioButton* rbWind = nullptr;
  QWidget* panMoist = nullptr;
  QRadioButton* rbWBT = nullptr;
  QRadioButton* rbDPT = nullptr;
  QRadioButton* rbRH = nullptr;
  QRadioButton* rbHR = nullptr;
  QWidget* panSolarOpt = nullptr;
  QRadioButton* rbSolHor = nullptr;
  QRadioButton* rbSolDN = nullptr;
  QRadioButton* rbSolBoth = nullptr;
  QGroupBox* gbCompareOpt = nullptr;
  QRadioButton* rbCompFirst = nullptr;
  QRadioButton* rbCompSecond = nullptr;
  QCheckBox* cbShowFinal = nullptr;
  QCheckBox* cbShowOrig = nullptr;
  QPushButton* Button1 = nullptr;   // "Un-Zoom"
  QCheckBox* CheckBox1 = nullptr;   // "Y-axis Pan/Zoom"
  chart::ChartView* BigChart = nullptr;
  chart::LineSeries* Series1 = nullptr;
  chart::LineSeries* Series2 = nullptr;
  QAction* actMarkRepaired = nullptr;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void BuildControls();
  void Load();
  void ReportError(const QString& message);

  BigChartInputs inputs_;
  DetailSelection selection_;
  bool shown_ = false;
};

}  // namespace kestrum
