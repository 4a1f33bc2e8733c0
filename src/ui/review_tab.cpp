#include "ui/review_tab.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "chart/chart_view.h"
#include "chart/line_series.h"
#include "ui/form_parts.h"

namespace kestrum::ui {

ReviewTab ReviewTab::Build(QWidget* parent) {
  ReviewTab t;
  t.page = new QWidget(parent);
  t.page->setObjectName(QStringLiteral("tsReview"));
  auto* column = new QVBoxLayout(t.page);
  column->setContentsMargins(6, 6, 6, 6);
  column->setSpacing(4);

  auto* listRow = new QHBoxLayout();
  t.lblResList = new QLabel(QStringLiteral("Latest Results:"), t.page);
  t.lblResList->setObjectName(QStringLiteral("lblResList"));
  t.cbResultsList = new QComboBox(t.page);
  t.cbResultsList->setObjectName(QStringLiteral("cbResultsList"));
  t.cbResultsList->setPlaceholderText(QString::fromLatin1(kResultsPlaceholder));
  t.cbResultsList->setMinimumWidth(200);
  t.btnMoreResults = MakeNamed<QPushButton>(QStringLiteral("btnMoreResults"),
                                            QStringLiteral("List All Results"), t.page);
  listRow->addWidget(t.lblResList);
  listRow->addWidget(t.cbResultsList, 1);
  listRow->addWidget(t.btnMoreResults);
  column->addLayout(listRow);

  t.panGraphStuff = new QWidget(t.page);
  t.panGraphStuff->setObjectName(QStringLiteral("panGraphStuff"));
  auto* graph = new QVBoxLayout(t.panGraphStuff);
  graph->setContentsMargins(0, 0, 0, 0);
  graph->setSpacing(4);

  auto* choices = new QHBoxLayout();
  auto* fileBox = MakeGroup(QString(), t.panGraphStuff);
  auto* fileRow = new QHBoxLayout(fileBox);
  fileRow->setContentsMargins(6, 2, 6, 2);
  t.rbFinalData =
      MakeNamed<QRadioButton>(QStringLiteral("rbFinalData"), QStringLiteral("Final Data"), fileBox);
  t.rbOrigData =
      MakeNamed<QRadioButton>(QStringLiteral("rbOrigData"), QStringLiteral("Original"), fileBox);
  t.rbFinalData->setChecked(true);
  fileRow->addWidget(t.rbFinalData);
  fileRow->addWidget(t.rbOrigData);
  auto* typeBox = MakeGroup(QString(), t.panGraphStuff);
  auto* typeRow = new QHBoxLayout(typeBox);
  typeRow->setContentsMargins(6, 2, 6, 2);
  t.rbTemp =
      MakeNamed<QRadioButton>(QStringLiteral("rbTemp"), QStringLiteral("Temperature"), typeBox);
  t.rbSolar = MakeNamed<QRadioButton>(QStringLiteral("rbSolar"), QStringLiteral("Solar"), typeBox);
  t.rbWind = MakeNamed<QRadioButton>(QStringLiteral("rbWind"), QStringLiteral("Wind"), typeBox);
  t.rbTemp->setChecked(true);
  typeRow->addWidget(t.rbTemp);
  typeRow->addWidget(t.rbSolar);
  typeRow->addWidget(t.rbWind);
  choices->addWidget(fileBox);
  choices->addWidget(typeBox);
  choices->addStretch(1);
  graph->addLayout(choices);

  auto* buttons = new QHBoxLayout();
  t.cbSaveCSV = new QCheckBox(QStringLiteral("Save graph data files"), t.panGraphStuff);
  t.cbSaveCSV->setObjectName(QStringLiteral("cbSaveCSV"));
  t.cbSaveCSV->setToolTip(QStringLiteral("Save the intermediate CSV graph data files"));
  t.btnBigChart = MakeNamed<QPushButton>(QStringLiteral("btnBigChart"),
                                         QStringLiteral("View Detailed Chart"), t.panGraphStuff);
  t.btnDispWindRose = MakeNamed<QPushButton>(QStringLiteral("btnDispWindRose"),
                                             QStringLiteral("Wind Rose"), t.panGraphStuff);
  t.btnLoadGraph = MakeNamed<QPushButton>(QStringLiteral("btnLoadGraph"),
                                          QStringLiteral("Re-Load Data"), t.panGraphStuff);
  t.btnLoadGraph->setVisible(false);
  buttons->addWidget(t.cbSaveCSV);
  buttons->addStretch(1);
  buttons->addWidget(t.btnBigChart);
  buttons->addWidget(t.btnDispWindRose);
  buttons->addWidget(t.btnLoadGraph);
  graph->addLayout(buttons);

  t.Chart1 = new chart::ChartView(t.panGraphStuff);
  t.Chart1->setObjectName(QStringLiteral("Chart1"));
  t.Chart1->addTitleLine(QString::fromLatin1(kNoChartTitle));
  t.Chart1->setLegendVisible(false);
  t.Series1 = t.Chart1->addSeries(QStringLiteral("Series1"), Qt::red);
  t.Series2 = t.Chart1->addSeries(QStringLiteral("Series2"), QColor(0, 160, 0));
  t.Chart1->setAxisTitle(chart::Axis::Bottom, QStringLiteral("hour"));
  t.Chart1->setAxisLabelFormat(chart::Axis::Bottom, QStringLiteral("%d"));
  t.Chart1->setRightAxisVisible(false);
  t.bottomAxis = t.Chart1->axis(chart::Axis::Bottom);
  t.leftAxis = t.Chart1->axis(chart::Axis::Left);
  t.rightAxis = t.Chart1->axis(chart::Axis::Right);
  // Zooming and panning are off.
  t.Chart1->setZoomDirections(chart::Directions::None);
  t.Chart1->setPanDirections(chart::Directions::None);
  graph->addWidget(t.Chart1, 1);
  column->addWidget(t.panGraphStuff, 1);
  return t;
}

}  // namespace kestrum::ui
