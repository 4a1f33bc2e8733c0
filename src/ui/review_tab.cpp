#include "ui/review_tab.h"

#include <QButtonGroup>
#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLegend>
#include <QLineSeries>
#include <QPushButton>
#include <QRadioButton>
#include <QValueAxis>
#include <QVBoxLayout>

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

  auto* chart = new QChart();
  // Chart titles are shown as rich text: the angle brackets must be escaped to show.
  chart->setTitle(QString::fromLatin1(kNoChartTitle).toHtmlEscaped());
  chart->legend()->setAlignment(Qt::AlignBottom);
  chart->legend()->setVisible(false);
  chart->setMargins(QMargins(4, 4, 4, 4));
  t.Series1 = new QLineSeries(chart);
  t.Series1->setObjectName(QStringLiteral("Series1"));
  t.Series1->setColor(Qt::red);
  t.Series2 = new QLineSeries(chart);
  t.Series2->setObjectName(QStringLiteral("Series2"));
  t.Series2->setColor(QColor(0, 160, 0));
  chart->addSeries(t.Series1);
  chart->addSeries(t.Series2);
  t.bottomAxis = new QValueAxis(chart);
  t.bottomAxis->setTitleText(QStringLiteral("hour"));
  t.bottomAxis->setRange(0, 8760);
  t.bottomAxis->setLabelFormat(QStringLiteral("%d"));
  t.leftAxis = new QValueAxis(chart);
  t.rightAxis = new QValueAxis(chart);
  chart->addAxis(t.bottomAxis, Qt::AlignBottom);
  chart->addAxis(t.leftAxis, Qt::AlignLeft);
  chart->addAxis(t.rightAxis, Qt::AlignRight);
  t.rightAxis->setVisible(false);
  for (QLineSeries* s : {t.Series1, t.Series2}) {
    s->attachAxis(t.bottomAxis);
    s->attachAxis(t.leftAxis);
  }
  t.Chart1 = new QChartView(chart, t.panGraphStuff);
  t.Chart1->setObjectName(QStringLiteral("Chart1"));
  t.Chart1->setRenderHint(QPainter::Antialiasing, false);
  t.Chart1->setRubberBand(QChartView::NoRubberBand);
  graph->addWidget(t.Chart1, 1);
  column->addWidget(t.panGraphStuff, 1);
  return t;
}

}  // namespace kestrum::ui
