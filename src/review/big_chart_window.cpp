#include "review/big_chart_window.h"

#include <QAction>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QResizeEvent>
#include <QScreen>
#include <QShowEvent>
#include <QVBoxLayout>
#include <QChart>
#include <QValueAxis>
#include <cmath>
#include <exception>

#include "chart/chart_view.h"
#include "chart/line_series.h"
#include "review/hour_marks.h"
#include "review/review_files.h"
#include "ui/qt_text.h"
#include "ui/window_placement.h"

namespace kestrum {

using ui::ToQ;
using ui::ToStd;

namespace {

constexpr int kBandHeight = 37;  // one row of options
constexpr int kBandSpacing = 6;
constexpr int kChartMargin = 4;

QRadioButton* Radio(const char* name, const char* caption, QWidget* parent, QHBoxLayout* row) {
  auto* rb = new QRadioButton(QString::fromLatin1(caption), parent);
  rb->setObjectName(QString::fromLatin1(name));
  row->addWidget(rb);
  return rb;
}

// A row of options without a title; the three option rows share one place.
template <class Box>
Box* OptionRow(const char* name, QWidget* parent, QHBoxLayout*& row) {
  auto* box = new Box(parent);
  box->setObjectName(QString::fromLatin1(name));
  row = new QHBoxLayout(box);
  row->setContentsMargins(6, 0, 6, 0);
  return box;
}

}  // namespace

QList<chart::AxisMark> MonthMarks() {
  QList<chart::AxisMark> marks;
  for (const MonthStart& m : MonthStarts()) {
    marks.append({static_cast<double>(m.position), QString::fromLatin1(m.name)});
  }
  return marks;
}

TfrmBigChart::TfrmBigChart(BigChartInputs inputs, QWidget* parent)
    : QDialog(parent), inputs_(std::move(inputs)) {
  setObjectName(QStringLiteral("frmBigChart"));
  setSizeGripEnabled(true);
  setWindowFlag(Qt::WindowMaximizeButtonHint, true);
  resize(kBigChartWidth, kBigChartHeight);
  setMinimumSize(500, 300);
  BuildControls();
}

void TfrmBigChart::BuildControls() {
  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(4, 4, 4, 4);
  column->setSpacing(2);

  // The option groups: data type, the option rows (one place for three), the files.
  band_ = new QWidget(this);
  band_->setObjectName(QStringLiteral("panOptionBand"));
  bandGrid_ = new QGridLayout(band_);
  bandGrid_->setContentsMargins(0, 0, 0, 0);
  bandGrid_->setHorizontalSpacing(kBandSpacing);
  bandGrid_->setVerticalSpacing(2);

  QHBoxLayout* row = nullptr;
  auto* types = OptionRow<QGroupBox>("panDataType", band_, row);
  rbTemp = Radio("rbTemp", "Temperature", types, row);
  rbSolar = Radio("rbSolar", "Solar", types, row);
  rbWind = Radio("rbWind", "Wind", types, row);
  rbTemp->setChecked(true);
  panDataType_ = types;

  panOptions_ = new QWidget(band_);
  auto* stack = new QGridLayout(panOptions_);
  stack->setContentsMargins(0, 0, 0, 0);
  panMoist = OptionRow<QGroupBox>("panMoist", panOptions_, row);
  rbWBT = Radio("rbWBT", "Wetbulb", panMoist, row);
  rbDPT = Radio("rbDPT", "Dew Pt", panMoist, row);
  rbRH = Radio("rbRH", "% RH", panMoist, row);
  rbHR = Radio("rbHR", "Humidity Ratio", panMoist, row);
  rbWBT->setChecked(true);
  panSolarOpt = OptionRow<QGroupBox>("panSolarOpt", panOptions_, row);
  rbSolHor = Radio("rbSolHor", "Horizontal", panSolarOpt, row);
  rbSolDN = Radio("rbSolDN", "Direct Normal", panSolarOpt, row);
  rbSolBoth = Radio("rbSolBoth", "Both", panSolarOpt, row);
  rbSolHor->setChecked(true);
  gbCompareOpt = OptionRow<QGroupBox>("gbCompareOpt", panOptions_, row);
  rbCompFirst = Radio("rbCompFirst", "First Option", gbCompareOpt, row);
  rbCompSecond = Radio("rbCompSecond", "Second Option", gbCompareOpt, row);
  rbCompFirst->setChecked(true);
  for (QWidget* w : {panMoist, panSolarOpt, static_cast<QWidget*>(gbCompareOpt)}) {
    stack->addWidget(w, 0, 0, Qt::AlignLeft | Qt::AlignVCenter);
  }
  panSolarOpt->hide();
  gbCompareOpt->hide();

  panFiles_ = OptionRow<QWidget>("panFiles", band_, row);
  cbShowFinal = new QCheckBox(QStringLiteral("Final Data"), panFiles_);
  cbShowFinal->setObjectName(QStringLiteral("cbShowFinal"));
  cbShowFinal->setChecked(true);
  cbShowOrig = new QCheckBox(QStringLiteral("Original"), panFiles_);
  cbShowOrig->setObjectName(QStringLiteral("cbShowOrig"));
  row->addWidget(cbShowFinal);
  row->addWidget(cbShowOrig);
  column->addWidget(band_);
  ArrangeBand();

  BigChart = new chart::ChartView(this);
  BigChart->setObjectName(QStringLiteral("BigChart"));
  QFont titleFont = BigChart->chart()->titleFont();
  titleFont.setPixelSize(16);
  BigChart->setTitleFont(titleFont, Qt::black);
  Series1 = BigChart->addSeries(QStringLiteral("Series1"), Qt::red);
  Series2 = BigChart->addSeries(QStringLiteral("Series2"), QColor(0, 160, 0));
  BigChart->setAxisTitle(chart::Axis::Bottom, QStringLiteral("Hour"));
  BigChart->setAxisLabelFormat(chart::Axis::Bottom, QStringLiteral("%d"));
  BigChart->axis(chart::Axis::Bottom)->setMinorTickCount(6);
  BigChart->setBottomMarks(MonthMarks());
  BigChart->setAxisTitle(chart::Axis::Left, QStringLiteral("Temperature (F)"));
  BigChart->setZoomDirections(chart::Directions::Horizontal);
  BigChart->setPanDirections(chart::Directions::Horizontal);
  BigChart->setMinimumDrag(4);
  BigChart->setZoomAnimated(true);
  BigChart->setHoverLabeller(
      [](double x) { return ToQ(HourLabel(static_cast<int>(std::lround(x)))); });
  actMarkRepaired = new QAction(QStringLiteral("Mark repaired hours"), this);
  actMarkRepaired->setObjectName(QStringLiteral("actMarkRepaired"));
  actMarkRepaired->setCheckable(true);
  actMarkRepaired->setVisible(false);
  BigChart->addContextAction(actMarkRepaired);
  column->addWidget(BigChart, 1);

  // On the chart, at its top left corner (pictures of the chart leave them out).
  panChartButtons = new QWidget(BigChart);
  panChartButtons->setObjectName(QStringLiteral("panChartButtons"));
  auto* onChartRow = new QHBoxLayout(panChartButtons);
  onChartRow->setContentsMargins(0, 0, 0, 0);
  Button1 = new QPushButton(QStringLiteral("Un-Zoom"), panChartButtons);
  Button1->setObjectName(QStringLiteral("Button1"));
  CheckBox1 = new QCheckBox(QStringLiteral("Y-axis Pan/Zoom"), panChartButtons);
  CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
  onChartRow->addWidget(Button1);
  onChartRow->addWidget(CheckBox1);
  panChartButtons->move(6, kChartMargin);
  panChartButtons->adjustSize();
  // The buttons keep the left of a row above the title; the legend takes its right when
  // there is room, else it goes below the plot.
  BigChart->setHeaderRow(panChartButtons->geometry().right() + 4,
                         panChartButtons->height());

  for (QRadioButton* rb : {rbTemp, rbSolar, rbWind, rbWBT, rbDPT, rbRH, rbHR, rbSolHor, rbSolDN,
                           rbSolBoth, rbCompFirst, rbCompSecond}) {
    connect(rb, &QRadioButton::clicked, this, [this] { panDataTypeClick(); });
  }
  for (QCheckBox* cb : {cbShowFinal, cbShowOrig}) {
    connect(cb, &QCheckBox::clicked, this, [this] { cbShowOrigClick(); });
  }
  connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
  connect(CheckBox1, &QCheckBox::clicked, this, [this] { CheckBox1Click(); });
  connect(BigChart, &chart::ChartView::zoomed, this, [this] { BigChartZoom(); });
  connect(BigChart, &chart::ChartView::unZoomed, this, [this] { BigChartUndoZoom(); });
  connect(actMarkRepaired, &QAction::toggled, this, [this](bool on) { MarkRepairedHours(on); });
}

void TfrmBigChart::ArrangeBand() {
  const QMargins m = layout() != nullptr ? layout()->contentsMargins() : QMargins();
  const int available = width() - m.left() - m.right();
  // The widest option row decides, whichever is shown: the layout does not jump when the
  // data type changes.
  int options = 0;
  int height = 0;
  for (QWidget* w : {panMoist, panSolarOpt, static_cast<QWidget*>(gbCompareOpt)}) {
    options = std::max(options, w->sizeHint().width());
    height = std::max(height, w->sizeHint().height());
  }
  for (QWidget* w : {panDataType_, panFiles_}) height = std::max(height, w->sizeHint().height());
  const int oneRow = panDataType_->sizeHint().width() + options +
                     panFiles_->sizeHint().width() + 2 * kBandSpacing;
  const int rows = oneRow <= available ? 1 : 2;
  if (rows == bandRows_) return;
  bandRows_ = rows;
  for (QWidget* w : {panDataType_, panOptions_, panFiles_}) bandGrid_->removeWidget(w);
  bandGrid_->addWidget(panDataType_, 0, 0);
  bandGrid_->addWidget(panFiles_, 0, 3);
  if (rows == 1) {
    bandGrid_->addWidget(panOptions_, 0, 1);
  } else {
    bandGrid_->addWidget(panOptions_, 1, 0, 1, 4);
  }
  bandGrid_->setColumnStretch(2, 1);
  band_->setFixedHeight(rows == 1 ? std::max(kBandHeight, height)
                                  : 2 * height + bandGrid_->verticalSpacing());
}

void TfrmBigChart::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  ArrangeBand();
}

void TfrmBigChart::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (shown_) return;
  shown_ = true;
  // Centred on the work area of the main window's screen; fitted into it where it is smaller.
  const QWidget* main = parentWidget() != nullptr ? parentWidget()->window() : this;
  ui::CentreInWorkArea(*this, ui::WorkAreaOf(*main).center(), parentWidget());
  FormShow();
}

QString TfrmBigChart::originalPath() const {
  return ToQ(OriginalDataPath(ToStd(inputs_.interimDir), ToStd(inputs_.baseName)));
}

QString TfrmBigChart::finalPath() const {
  return ToQ(FinalDataPath(ToStd(inputs_.interimDir), ToStd(inputs_.baseName)));
}

void TfrmBigChart::FormShow() {
  setWindowTitle(QStringLiteral("Varnell-Kestrum Data Plot: ") + inputs_.baseName);
  // The moisture quantity of the original data, as the review tab reads it: a name it does
  // not know counts as the wet bulb.
  try {
    originalMoisture_ = ReadMoistureOffset(ToStd(originalPath())).offset;
  } catch (const std::exception&) {
    originalMoisture_.reset();  // the load says what is missing
  }
  panDataTypeClick();
}

DetailChoice TfrmBigChart::choice() const {
  DetailChoice c;
  c.type = rbSolar->isChecked()  ? ReviewDataType::Solar
           : rbWind->isChecked() ? ReviewDataType::Wind
                                 : ReviewDataType::Temperature;
  c.moisture = rbDPT->isChecked()  ? MoistureOption::DewPoint
               : rbRH->isChecked() ? MoistureOption::RelHum
               : rbHR->isChecked() ? MoistureOption::HumRatio
                                   : MoistureOption::WetBulb;
  c.solar = rbSolDN->isChecked()     ? SolarOption::DirectNormal
            : rbSolBoth->isChecked() ? SolarOption::Both
                                     : SolarOption::Horizontal;
  c.secondOption = rbCompSecond->isChecked();
  c.showFinal = cbShowFinal->isChecked();
  c.showOrig = cbShowOrig->isChecked();
  return c;
}

void TfrmBigChart::panDataTypeClick() {
  BigChart->unZoom();
  selection_ = SelectDetail(choice());
  if (!selection_.firstOptionCaption.empty()) {
    rbCompFirst->setText(ToQ(selection_.firstOptionCaption));
  }
  if (!selection_.secondOptionCaption.empty()) {
    rbCompSecond->setText(ToQ(selection_.secondOptionCaption));
  }
  gbCompareOpt->setVisible(selection_.showCompareOptions);
  panMoist->setVisible(selection_.showMoistOptions);
  panSolarOpt->setVisible(selection_.showSolarOptions);
  actMarkRepaired->setVisible(selection_.comparison);
  if (!selection_.comparison) actMarkRepaired->setChecked(false);
  Load();
}

void TfrmBigChart::cbShowOrigClick() {
  if (cbShowOrig->isChecked()) {
    // The original data hold the moisture quantity their file names.
    if (originalMoisture_) {
      switch (MoistureOptionOf(*originalMoisture_)) {
        case MoistureOption::DewPoint:
          rbDPT->setChecked(true);
          break;
        case MoistureOption::RelHum:
          rbRH->setChecked(true);
          break;
        default:
          rbWBT->setChecked(true);
          break;
      }
    }
    panMoist->hide();
    rbSolHor->setChecked(true);
    panSolarOpt->hide();
  }
  panDataTypeClick();
}

void TfrmBigChart::Load() {
  chart::ChartView& chart = *BigChart;
  chart.clearTitle();
  chart.addTitleLine(ToQ(selection_.chartTitle));
  chart.setAxisTitle(chart::Axis::Left, ToQ(selection_.valueAxisTitle));
  chart.setLegendVisible(selection_.legend);
  const DetailChoice shown = choice();
  chart.setPictureCaption(ToQ(PictureCaption(ToStd(inputs_.baseName),
                                             selection_.comparison || shown.showFinal,
                                             selection_.comparison || !shown.showFinal)));
  Series1->clear();
  Series2->clear();
  chart.setMarks({}, QString(), chart::Axis::Left);
  Series1->setTitle(ToQ(selection_.series1.title));
  Series2->setTitle(ToQ(selection_.series2.title));
  if (selection_.rightAxisInUse) {
    chart.tieToAxis(Series2, chart::Axis::Right);
    chart.setAxisTitle(chart::Axis::Right, ToQ(selection_.rightAxisTitle));
    chart.setRightAxisVisible(true);
  } else {
    chart.tieToAxis(Series2, chart::Axis::Left);
    chart.setRightAxisVisible(false);
  }
  auto path = [this](ReviewFile file) {
    return ToStd(file == ReviewFile::Final ? finalPath() : originalPath());
  };
  chart.raiseSeries(selection_.series1OnTop ? Series1 : Series2);
  try {
    Series1->fillFromColumn(path(selection_.series1.file), selection_.series1.column);
    if (selection_.drawSeries2) {
      Series2->fillFromColumn(path(selection_.series2.file), selection_.series2.column);
    }
  } catch (const std::exception& e) {
    ReportError(ToQ(e.what()));
  }
  actMarkRepaired->setEnabled(selection_.comparison && selection_.drawSeries2);
  if (actMarkRepaired->isChecked()) MarkRepairedHours(true);
  chart.update();
}

void TfrmBigChart::MarkRepairedHours(bool on) {
  if (!on || !selection_.comparison || !selection_.drawSeries2) {
    BigChart->setMarks({}, QString(), chart::Axis::Left);
    return;
  }
  const std::vector<int> hours = RepairedHours(Series1->ys(), Series2->ys(),
                                               FinalColumnDecimals(selection_.series2.column));
  QList<QPointF> points;
  points.reserve(static_cast<qsizetype>(hours.size()));
  for (int h : hours) points.append(QPointF(h, Series2->ys()[static_cast<size_t>(h)]));
  BigChart->setMarks(points, QStringLiteral("Repaired hours (%1)").arg(hours.size()),
                     BigChart->axisOf(Series2));
}

void TfrmBigChart::Button1Click() { BigChart->unZoom(); }

void TfrmBigChart::CheckBox1Click() {
  const chart::Directions d =
      CheckBox1->isChecked() ? chart::Directions::Both : chart::Directions::Horizontal;
  BigChart->setZoomDirections(d);
  BigChart->setPanDirections(d);
}

void TfrmBigChart::BigChartZoom() {
  // A value axis the zoom left to the data starts at 0, or lower where the hours in view
  // go below 0 (a cold winter); a range the user dragged in that direction stays.
  for (chart::Axis side : {chart::Axis::Left, chart::Axis::Right}) {
    if (side == chart::Axis::Right && !selection_.rightAxisInUse) continue;
    if (!BigChart->isRangeFixed(side)) BigChart->setAxisFloor(side, 0.0);
  }
  if (selection_.comparison) {
    Series1->setPenStyle(Qt::DotLine);
    Series1->setPenWidth(4);
  }
}

void TfrmBigChart::BigChartUndoZoom() {
  Series1->setPenStyle(Qt::SolidLine);
  Series1->setPenWidth(1);
}

void TfrmBigChart::ReportError(const QString& message) {
  if (inputs_.error) {
    inputs_.error(message);
  } else {
    QMessageBox::critical(this, windowTitle(), message);
  }
}

}  // namespace kestrum
