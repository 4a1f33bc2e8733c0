// TfrmBigChart: the detailed chart of a run. A large, resizable, zoomable chart of the final
// data, the original data, or both for comparison, by data type and option. The moisture
// quantity of the original data is the one its file's header names.
#pragma once

#include <QDialog>
#include <QList>
#include <QString>
#include <functional>
#include <optional>

#include "review/chart_selection.h"

class QAction;
class QCheckBox;
class QGridLayout;
class QGroupBox;
class QPushButton;
class QRadioButton;

namespace kestrum::chart {
class ChartView;
class LineSeries;
struct AxisMark;
}  // namespace kestrum::chart

namespace kestrum {

struct BigChartInputs {
  QString interimDir;
  QString baseName;  // the run selected on the review tab
  std::function<void(const QString&)> error;  // empty: a message box
};

// The names of the months at the first hour of each, for the hour axis of a review chart.
QList<chart::AxisMark> MonthMarks();

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
  // The moisture offset the original-data file names (none when it could not be read).
  std::optional<int> originalMoisture() const { return originalMoisture_; }
  // The option rows above the chart: one row, or two when the window is too narrow.
  int bandRows() const { return bandRows_; }

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
  QWidget* panChartButtons = nullptr;  // Button1 and CheckBox1, over the chart's top left
  chart::ChartView* BigChart = nullptr;
  chart::LineSeries* Series1 = nullptr;
  chart::LineSeries* Series2 = nullptr;
  QAction* actMarkRepaired = nullptr;

 protected:
  void showEvent(QShowEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void BuildControls();
  void Load();
  void ReportError(const QString& message);
  // Lays the option groups out in one row, or in two when one does not fit.
  void ArrangeBand();

  BigChartInputs inputs_;
  DetailSelection selection_;
  std::optional<int> originalMoisture_;
  QWidget* band_ = nullptr;
  QGridLayout* bandGrid_ = nullptr;
  QWidget* panDataType_ = nullptr;
  QWidget* panOptions_ = nullptr;
  QWidget* panFiles_ = nullptr;
  int bandRows_ = 0;
  bool shown_ = false;
};

}  // namespace kestrum
