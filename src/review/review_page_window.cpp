#include "review/review_page_window.h"

#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <cmath>
#include <exception>

#include "chart/chart_view.h"
#include "chart/line_series.h"
#include "review/big_chart_window.h"
#include "review/hour_marks.h"
#include "review/review_files.h"
#include "review/wind_rose_window.h"
#include "ui/qt_text.h"
#include "ui/review_tab.h"

namespace kestrum {

using ui::ToQ;
using ui::ToStd;

ReviewPage::ReviewPage(ui::ReviewTab& tab, ReviewHooks hooks, QWidget* dialogParent)
    : QObject(dialogParent), tab_(tab), hooks_(std::move(hooks)), dialogParent_(dialogParent) {
  // A choice the user makes in the list; the program's own changes of the list (a run
  // starting, a reader adding its run) load nothing.
  connect(tab_.cbResultsList, &QComboBox::activated, this, [this] { cbResultsListChange(); });
  connect(tab_.btnMoreResults, &QPushButton::clicked, this, [this] { btnMoreResultsClick(); });
  for (QRadioButton* rb :
       {tab_.rbFinalData, tab_.rbOrigData, tab_.rbTemp, tab_.rbSolar, tab_.rbWind}) {
    connect(rb, &QRadioButton::clicked, this, [this] { rbFinalDataClick(); });
  }
  connect(tab_.btnLoadGraph, &QPushButton::clicked, this, [this] { btnLoadGraphClick(); });
  connect(tab_.btnBigChart, &QPushButton::clicked, this, [this] { btnBigChartClick(); });
  connect(tab_.btnDispWindRose, &QPushButton::clicked, this, [this] { btnDispWindRoseClick(); });
  tab_.Chart1->setHoverLabeller(
      [](double x) { return ToQ(HourLabel(static_cast<int>(std::lround(x)))); });
  tab_.Chart1->setBottomMarks(MonthMarks());
}

QString ReviewPage::baseName() const { return tab_.cbResultsList->currentText(); }

QString ReviewPage::originalPath() const {
  return ToQ(OriginalDataPath(ToStd(hooks_.interimDir()), ToStd(baseName())));
}

QString ReviewPage::finalPath() const {
  return ToQ(FinalDataPath(ToStd(hooks_.interimDir()), ToStd(baseName())));
}

ReviewDataType ReviewPage::dataType() const {
  if (tab_.rbSolar->isChecked()) return ReviewDataType::Solar;
  if (tab_.rbWind->isChecked()) return ReviewDataType::Wind;
  return ReviewDataType::Temperature;
}

void ReviewPage::tsReviewEnter() {
  if (tab_.cbResultsList->currentIndex() < 0) {
    if (tab_.cbResultsList->count() > 0) tab_.cbResultsList->setCurrentIndex(0);
    cbResultsListChange();
  } else {
    DropRunIfGone();
  }
}

bool ReviewPage::DropRunIfGone() {
  if (tab_.cbResultsList->currentIndex() < 0) return false;
  const QString original = originalPath();
  if (QFileInfo(original).isFile()) return false;
  const QString run = baseName();
  tab_.cbResultsList->removeItem(tab_.cbResultsList->currentIndex());
  hooks_.notice(QStringLiteral("The run %1 is no longer in the interim directory (%2 does not "
                               "exist): it was taken off the list.")
                    .arg(run, original));
  tab_.cbResultsList->setCurrentIndex(tab_.cbResultsList->count() > 0 ? 0 : -1);
  cbResultsListChange();
  return true;
}

void ReviewPage::cbResultsListChange() {
  if (tab_.cbResultsList->count() == 0) {
    tab_.panGraphStuff->setEnabled(false);
    return;
  }
  if (DropRunIfGone()) return;
  tab_.panGraphStuff->setEnabled(true);
  if (QFileInfo::exists(finalPath())) {
    tab_.rbFinalData->setEnabled(true);
  } else {
    tab_.rbFinalData->setEnabled(false);
    tab_.rbOrigData->setChecked(true);
  }
  btnLoadGraphClick();
}

void ReviewPage::btnMoreResultsClick() {
  tab_.lblResList->setText(QStringLiteral("All Results:"));
  tab_.cbResultsList->clear();
  for (const std::string& run : ListReviewRuns(ToStd(hooks_.interimDir()))) {
    tab_.cbResultsList->addItem(ToQ(run));
  }
  tab_.cbResultsList->setCurrentIndex(tab_.cbResultsList->count() > 0 ? 0 : -1);
  cbResultsListChange();
}

void ReviewPage::interimDirectoryChanged() { btnMoreResultsClick(); }

void ReviewPage::rbFinalDataClick() {
  if (DropRunIfGone()) return;
  btnLoadGraphClick();
}

void ReviewPage::btnLoadGraphClick() {
  chart::ChartView& chart = *tab_.Chart1;
  const bool finalData = tab_.rbFinalData->isChecked();
  chart.clearTitle();
  tab_.Series1->clear();
  tab_.Series2->clear();
  const std::string original = ToStd(originalPath());
  const std::string charted = finalData ? ToStd(finalPath()) : original;
  try {
    const MoistureOffset moisture = ReadMoistureOffset(original);
    if (!moisture.recognised) hooks_.notice(ToQ(MoistureIndicatorMessage(original)));

    windSectorCounts_ = {};
    countedData_ = {};
    windSectorCounts_ = CountWindSectors(charted, finalData ? 12 : 8);
    countedData_ = {baseName(), finalData ? QStringLiteral("final data")
                                          : QStringLiteral("original data")};

    selection_ = SelectOverview(dataType(), finalData, moisture.offset);
    chart.addTitleLine(ToQ(selection_.chartTitle));
    chart.setPictureCaption(ToQ(PictureCaption(ToStd(baseName()), finalData, !finalData)));
    chart.raiseSeries(selection_.series1OnTop ? tab_.Series1 : tab_.Series2);
    chart.setAxisTitle(chart::Axis::Left, ToQ(selection_.leftAxisTitle));
    chart.setLegendVisible(selection_.hasSecondSeries());

    tab_.Series1->fillFromColumn(charted, selection_.series1.column);
    tab_.Series1->setTitle(ToQ(selection_.series1.title));
    if (selection_.usesRightAxis()) {
      chart.tieToAxis(tab_.Series2, chart::Axis::Right);
      chart.setAxisTitle(chart::Axis::Right, ToQ(selection_.rightAxisTitle));
      chart.setRightAxisVisible(true);
    } else {
      chart.tieToAxis(tab_.Series2, chart::Axis::Left);
      chart.setRightAxisVisible(false);
    }
    if (!selection_.hasSecondSeries()) return;
    tab_.Series2->fillFromColumn(charted, selection_.series2.column);
    tab_.Series2->setTitle(ToQ(selection_.series2.title));
  } catch (const std::exception& e) {
    hooks_.error(ToQ(e.what()));
  }
}

void ReviewPage::btnBigChartClick() {
  if (DropRunIfGone()) return;
  // The detailed chart opens on the final data: a run that has none gets a message only.
  if (!QFileInfo(finalPath()).isFile()) {
    hooks_.notice(QStringLiteral("The detailed chart of %1 needs its final data, %2, which does "
                                 "not exist: the conversion of %1 ended before writing it. "
                                 "Convert it again to chart it in detail.")
                      .arg(baseName(), finalPath()));
    return;
  }
  BigChartInputs inputs;
  inputs.interimDir = hooks_.interimDir();
  inputs.baseName = baseName();
  inputs.error = hooks_.error;
  TfrmBigChart window(std::move(inputs), dialogParent_);
  window.exec();
}

void ReviewPage::btnDispWindRoseClick() {
  TfrmWindRose window(windSectorCounts_, countedData_, dialogParent_);
  window.exec();
}

}  // namespace kestrum
