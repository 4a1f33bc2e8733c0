// The review tab on review files of a real conversion: the runs it lists (those of the
// interim directory chosen, without those whose files are gone), the overview chart for
// every data type and file, the legend and right-axis rules, and its messages.
#include <QApplication>
#include <QComboBox>
#include <QTableWidget>
#include <QTimer>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QValueAxis>
#include <QtTest>

#include "chart/chart_picture.h"
#include "chart/chart_view.h"
#include "chart/line_series.h"
#include "gui_test_support.h"
#include "review/review_page_window.h"
#include "review_test_support.h"

using namespace kestrum;

class ReviewTabTest : public QObject {
  Q_OBJECT

 private slots:
  void overviewFollowsDataTypeAndFile();
  void enteringTheTabLoadsTheOfferedRun();
  void listAllResultsFindsTheRunsOfTheInterimDirectory();
  void missingFinalFileLeavesOnlyTheOriginal();
  void unknownMoistureFieldIsReportedAndChartedAsWetBulb();
  void vanishedRunIsTakenOffTheListWithAMessage();
  void missingFinalFileEndsTheLoad();
  void anotherInterimDirectoryListsItsRuns();
  void runWithoutFinalDataOpensNoDetailedChart();
  void overviewNamesTheMonthsAndItsPictureTheRun();
  void legendShowsEveryLabelWholeInOneRow();
  void buttonsOpenTheWindowsOnTheSelectedRun();
};

namespace {

// A window whose interim directory is dir, reviewing run base.
std::unique_ptr<ui::TForm1> ReviewWindow(const test::ProgramDir& program, test::DialogRecorder& rec,
                                         const QString& dir, const QString& base) {
  auto w = test::MakeWindow(program, rec);
  w->setup.edInterimPath->setText(dir);
  if (!base.isEmpty()) w->review.cbResultsList->addItem(base);
  w->review.cbResultsList->setCurrentIndex(-1);
  return w;
}

}  // namespace

void ReviewTabTest::overviewFollowsDataTypeAndFile() {
  const test::SampleRun& run = test::SampleReviewRun();
  test::ProgramDir program;
  test::DialogRecorder rec;
  auto w = ReviewWindow(program, rec, run.interimDir, run.base);
  ui::ReviewTab& tab = w->review;
  w->tabs->setCurrentWidget(tab.page);  // the sample's moisture is the dew point

  struct Case {
    QRadioButton* type;
    bool final;
    int column1, column2;
    const char* title1;
    const char* title2;
    const char* left;
    const char* right;  // empty: hidden
    const char* chartTitle;
  };
  const Case cases[] = {
      {tab.rbTemp, true, 4, 6, "Dry Bulb Temp", "Dewpoint Temp", "Temperature (F)", "",
       "Ambient Drybulb and Dewpoint Temperatures"},
      {tab.rbTemp, false, 4, 5, "Dry Bulb Temp", "Dewpoint Temp", "Temperature (F)", "",
       "Ambient Drybulb and Dewpoint Temperatures"},
      {tab.rbSolar, true, 9, 10, "Horizontal", "Direct Normal", "Solar Radiation (W/m^2)", "",
       "Global Horizontal and Direct Normal Solar Radiation"},
      {tab.rbSolar, false, 6, 0, "Horizontal", "", "Solar Radiation (W/m^2)", "",
       "Global Horizontal Solar Radiation"},
      {tab.rbWind, true, 11, 12, "Speed", "Direction", "Wind Speed (mph)",
       "Wind Direction (degrees)", "Wind Speed and Direction"},
      {tab.rbWind, false, 7, 8, "Speed", "Direction", "Wind Speed (mph)",
       "Wind Direction (degrees)", "Wind Speed and Direction"},
  };
  for (const Case& c : cases) {
    const QString file = c.final ? run.finalFile() : run.originalFile();
    (c.final ? tab.rbFinalData : tab.rbOrigData)->click();
    c.type->click();
    const QByteArray what = QByteArray(c.chartTitle) + (c.final ? " final" : " original");
    QCOMPARE(tab.Chart1->titleLines(), QStringList(QString::fromLatin1(c.chartTitle)));
    QVERIFY2(tab.Series1->ys() == test::ColumnOf(file, c.column1), what);
    QCOMPARE(tab.Series1->count(), 8760);
    QCOMPARE(tab.Series1->xs().back(), 8759.0);
    QCOMPARE(tab.Series1->title(), QString::fromLatin1(c.title1));
    QCOMPARE(tab.Chart1->axisTitle(chart::Axis::Left), QString::fromLatin1(c.left));
    QCOMPARE(tab.Chart1->legendVisible(), c.column2 != 0);  // two series, a legend
    if (c.column2 != 0) {
      QVERIFY2(tab.Series2->ys() == test::ColumnOf(file, c.column2), what);
      QCOMPARE(tab.Series2->title(), QString::fromLatin1(c.title2));
    } else {
      QVERIFY(tab.Series2->isEmpty());
    }
    const bool right = *c.right != '\0';
    QCOMPARE(tab.Chart1->rightAxisVisible(), right);
    QCOMPARE(tab.Chart1->axisOf(tab.Series2), right ? chart::Axis::Right : chart::Axis::Left);
    if (right) QCOMPARE(tab.rightAxis->titleText(), QString::fromLatin1(c.right));
  }
  QVERIFY(rec.errors.isEmpty() && rec.notices.isEmpty());
}

void ReviewTabTest::enteringTheTabLoadsTheOfferedRun() {
  const test::SampleRun& run = test::SampleReviewRun();
  test::ProgramDir program;
  test::DialogRecorder rec;
  // Without a run the chart area stays disabled.
  auto empty = ReviewWindow(program, rec, run.interimDir, QString());
  empty->tabs->setCurrentWidget(empty->review.page);
  QVERIFY(!empty->review.panGraphStuff->isEnabled());

  auto w = ReviewWindow(program, rec, run.interimDir, run.base);
  QCOMPARE(w->review.cbResultsList->currentIndex(), -1);
  w->tabs->setCurrentWidget(w->review.page);
  QCOMPARE(w->review.cbResultsList->currentIndex(), 0);
  QVERIFY(w->review.panGraphStuff->isEnabled());
  QVERIFY(w->review.rbFinalData->isEnabled());
  QCOMPARE(w->review.Series1->count(), 8760);
  // The sector counts come from the charted file's wind direction.
  int counted = 0;
  for (int c : w->reviewPage().windSectorCounts()) counted += c;
  QCOMPARE(counted, 8760);
}

void ReviewTabTest::listAllResultsFindsTheRunsOfTheInterimDirectory() {
  test::ProgramDir program;
  test::DialogRecorder rec;
  const QString dir = program.makeDir(QStringLiteral("interim"));
  test::WriteFileBytes(dir + QStringLiteral("/postclean-b.csv"), "x");
  auto w = ReviewWindow(program, rec, dir, QStringLiteral("older"));
  w->review.btnMoreResults->click();
  QCOMPARE(w->review.lblResList->text(), QStringLiteral("All Results:"));
  QCOMPARE(w->review.cbResultsList->count(), 0);
  QVERIFY(!w->review.panGraphStuff->isEnabled());

  test::CopySampleRun(dir, QStringLiteral("Denver"));
  test::CopySampleRun(dir, QStringLiteral("Golden"));
  QFile::rename(dir + QStringLiteral("/Golden-orig.csv"), dir + QStringLiteral("/Golden-orig.csv-orig.csv"));
  w->review.btnMoreResults->click();
  QCOMPARE(w->review.cbResultsList->count(), 2);
  QCOMPARE(w->review.cbResultsList->itemText(0), QStringLiteral("Denver"));
  QCOMPARE(w->review.cbResultsList->itemText(1), QStringLiteral("Golden"));
  QCOMPARE(w->review.cbResultsList->currentText(), QStringLiteral("Denver"));
  QVERIFY(w->review.panGraphStuff->isEnabled());
  QCOMPARE(w->review.Series1->count(), 8760);
  QVERIFY(rec.errors.isEmpty());
}

void ReviewTabTest::missingFinalFileLeavesOnlyTheOriginal() {
  test::ProgramDir program;
  test::DialogRecorder rec;
  const QString dir = program.makeDir(QStringLiteral("interim"));
  test::CopySampleRun(dir, QStringLiteral("Golden"));
  QFile::remove(dir + QStringLiteral("/Golden-final.csv"));
  auto w = ReviewWindow(program, rec, dir, QStringLiteral("Golden"));
  w->tabs->setCurrentWidget(w->review.page);
  QVERIFY(!w->review.rbFinalData->isEnabled());
  QVERIFY(w->review.rbOrigData->isChecked());
  QVERIFY(w->review.Series2->ys() == test::ColumnOf(dir + QStringLiteral("/Golden-orig.csv"), 5));
  QVERIFY(rec.errors.isEmpty());
}

void ReviewTabTest::unknownMoistureFieldIsReportedAndChartedAsWetBulb() {
  test::ProgramDir program;
  test::DialogRecorder rec;
  const QString dir = program.makeDir(QStringLiteral("interim"));
  test::CopySampleRun(dir, QStringLiteral("Golden"));
  const QString original = dir + QStringLiteral("/Golden-orig.csv");
  test::WriteFileBytes(original, test::ReadFileBytes(original).replace("DewPtT", "Humid"));
  auto w = ReviewWindow(program, rec, dir, QStringLiteral("Golden"));
  w->tabs->setCurrentWidget(w->review.page);
  QCOMPARE(rec.notices,
           QStringList(QStringLiteral("Error finding moisture indicator for CSV results file: ") +
                       original));
  QCOMPARE(w->review.Series2->title(), QStringLiteral("Wet Bulb Temp"));
  QVERIFY(w->review.Series2->ys() == test::ColumnOf(dir + QStringLiteral("/Golden-final.csv"), 5));
  w->review.rbSolar->click();  // once per load
  QCOMPARE(rec.notices.size(), 2);
}

void ReviewTabTest::vanishedRunIsTakenOffTheListWithAMessage() {
  test::ProgramDir program;
  test::DialogRecorder rec;
  const QString dir = program.makeDir(QStringLiteral("interim"));
  test::CopySampleRun(dir, QStringLiteral("Denver"));
  test::CopySampleRun(dir, QStringLiteral("Golden"));
  auto w = ReviewWindow(program, rec, dir, QString());
  ui::ReviewTab& tab = w->review;
  tab.btnMoreResults->click();
  QCOMPARE(tab.cbResultsList->count(), 2);
  tab.cbResultsList->setCurrentIndex(1);
  tab.rbSolar->click();
  QCOMPARE(tab.Series1->count(), 8760);

  // Golden's files go (another program, the clean-up of a run): the next action on it takes
  // it off the list and shows the run left.
  QFile::remove(dir + QStringLiteral("/Golden-orig.csv"));
  QFile::remove(dir + QStringLiteral("/Golden-final.csv"));
  tab.rbWind->click();
  QVERIFY(rec.errors.isEmpty());
  QCOMPARE(rec.notices.size(), 1);
  QVERIFY2(rec.notices[0].contains(QStringLiteral("Golden")) &&
               rec.notices[0].contains(dir + QStringLiteral("/Golden-orig.csv")),
           qPrintable(rec.notices[0]));
  QCOMPARE(tab.cbResultsList->count(), 1);
  QCOMPARE(tab.cbResultsList->currentText(), QStringLiteral("Denver"));
  QCOMPARE(tab.Chart1->titleLines(), QStringList(QStringLiteral("Wind Speed and Direction")));
  QCOMPARE(tab.Series1->count(), 8760);

  // The last run gone: an empty list and the chart area disabled, still no error.
  QFile::remove(dir + QStringLiteral("/Denver-orig.csv"));
  tab.btnBigChart->click();
  QCOMPARE(rec.notices.size(), 2);
  QCOMPARE(tab.cbResultsList->count(), 0);
  QVERIFY(!tab.panGraphStuff->isEnabled());
  QVERIFY(rec.errors.isEmpty());
}

void ReviewTabTest::missingFinalFileEndsTheLoad() {
  test::ProgramDir program;
  test::DialogRecorder rec;
  const QString dir = program.makeDir(QStringLiteral("interim"));
  test::CopySampleRun(dir, QStringLiteral("Golden"));
  auto w = ReviewWindow(program, rec, dir, QStringLiteral("Golden"));
  w->tabs->setCurrentWidget(w->review.page);
  QCOMPARE(w->review.Series1->count(), 8760);
  QFile::remove(dir + QStringLiteral("/Golden-final.csv"));
  w->review.rbWind->click();  // the final data, which are gone
  QCOMPARE(rec.errors.size(), 1);
  QVERIFY2(rec.errors[0].contains(QStringLiteral("Golden-final.csv")), qPrintable(rec.errors[0]));
  // What was cleared stays cleared.
  QVERIFY(w->review.Series1->isEmpty());
  QVERIFY(w->review.Chart1->titleLines().isEmpty());
}

void ReviewTabTest::anotherInterimDirectoryListsItsRuns() {
  test::ProgramDir program;
  test::DialogRecorder rec;
  const QString first = program.makeDir(QStringLiteral("first"));
  const QString second = program.makeDir(QStringLiteral("second"));
  test::CopySampleRun(first, QStringLiteral("Golden"));
  test::CopySampleRun(second, QStringLiteral("Aspen"));
  test::CopySampleRun(second, QStringLiteral("Boulder"));
  auto w = ReviewWindow(program, rec, first, QStringLiteral("Golden"));
  w->tabs->setCurrentWidget(w->review.page);
  QLineEdit* field = w->setup.edInterimPath;

  // Typed in: the list follows once the field is left.
  field->clear();
  QTest::keyClicks(field, second);
  QCOMPARE(w->review.cbResultsList->itemText(0), QStringLiteral("Golden"));
  QTest::keyClick(field, Qt::Key_Return);
  QCOMPARE(w->review.lblResList->text(), QStringLiteral("All Results:"));
  QCOMPARE(w->review.cbResultsList->count(), 2);
  QCOMPARE(w->review.cbResultsList->currentText(), QStringLiteral("Aspen"));
  QCOMPARE(w->review.Series1->count(), 8760);
  // Leaving the field again without a change lists nothing anew.
  w->review.cbResultsList->setCurrentIndex(1);
  QTest::keyClick(field, Qt::Key_Return);
  QCOMPARE(w->review.cbResultsList->currentText(), QStringLiteral("Boulder"));

  // Chosen with the directory picker.
  w->UseDirectory(field, first);
  QCOMPARE(w->review.cbResultsList->count(), 1);
  QCOMPARE(w->review.cbResultsList->currentText(), QStringLiteral("Golden"));
  QVERIFY(rec.errors.isEmpty() && rec.notices.isEmpty());
}

void ReviewTabTest::runWithoutFinalDataOpensNoDetailedChart() {
  test::ProgramDir program;
  test::DialogRecorder rec;
  const QString dir = program.makeDir(QStringLiteral("interim"));
  test::CopySampleRun(dir, QStringLiteral("Golden"));
  QFile::remove(dir + QStringLiteral("/Golden-final.csv"));
  auto w = ReviewWindow(program, rec, dir, QStringLiteral("Golden"));
  w->tabs->setCurrentWidget(w->review.page);
  bool opened = false;
  QTimer::singleShot(0, [&] {
    if (QWidget* modal = QApplication::activeModalWidget()) {
      opened = true;
      modal->close();
    }
  });
  w->review.btnBigChart->click();
  QApplication::processEvents();
  QVERIFY(!opened);
  QCOMPARE(rec.notices.size(), 1);
  QVERIFY2(rec.notices[0].contains(dir + QStringLiteral("/Golden-final.csv")) &&
               rec.notices[0].contains(QStringLiteral("does not exist")),
           qPrintable(rec.notices[0]));
  QVERIFY(rec.errors.isEmpty());
}

void ReviewTabTest::overviewNamesTheMonthsAndItsPictureTheRun() {
  const test::SampleRun& run = test::SampleReviewRun();
  test::ProgramDir program;
  test::DialogRecorder rec;
  auto w = ReviewWindow(program, rec, run.interimDir, run.base);
  ui::ReviewTab& tab = w->review;
  w->tabs->setCurrentWidget(tab.page);
  QCOMPARE(tab.Chart1->bottomMarksInView().size(), 12);
  QCOMPARE(tab.Chart1->bottomMarksInView().value(6), QStringLiteral("Jul"));
  QCOMPARE(tab.Chart1->picture().text(QString::fromLatin1(chart::kPictureTitleKey)),
           QStringLiteral("Ambient Drybulb and Dewpoint Temperatures - Golden: final data"));
  tab.rbOrigData->click();
  QCOMPARE(tab.Chart1->pictureCaption(), QStringLiteral("Golden: original data"));
  // The overview neither zooms nor pans: the wheel leaves it as it is.
  tab.Chart1->wheelZoom(tab.Chart1->plotArea().center().x(), 3);
  QVERIFY(!tab.Chart1->isZoomed());
  // The wind speed is drawn over the direction.
  tab.rbWind->click();
  QCOMPARE(tab.Chart1->drawingOrder().back(), tab.Series1);
  QVERIFY(rec.errors.isEmpty());
}

void ReviewTabTest::legendShowsEveryLabelWholeInOneRow() {
  const test::SampleRun& run = test::SampleReviewRun();
  test::ProgramDir program;
  test::DialogRecorder rec;
  const QString dir = program.makeDir(QStringLiteral("interim"));
  test::CopySampleRun(dir, QStringLiteral("Aspen"));
  test::CopySampleRun(dir, run.base);
  auto w = ReviewWindow(program, rec, dir, run.base);
  ui::ReviewTab& tab = w->review;
  w->show();
  // Loaded before the tab is first shown, then shown; loaded several times in a row; and
  // from one data type to the next: the labels whole, side by side.
  auto check = [&](const QStringList& expected) {
    QApplication::processEvents();
    const QList<test::LegendLabel> labels = test::LegendLabels(*tab.Chart1);
    QStringList texts;
    for (const test::LegendLabel& l : labels) texts.append(l.text);
    QCOMPARE(texts, expected);
    for (qsizetype i = 1; i < labels.size(); ++i) {
      QCOMPARE(labels[i].area.top(), labels[0].area.top());
      QVERIFY(labels[i].area.left() >= labels[i - 1].area.right());
    }
  };
  w->tabs->setCurrentWidget(tab.page);
  tab.btnMoreResults->click();
  tab.cbResultsList->setCurrentIndex(1);
  w->reviewPage().cbResultsListChange();
  tab.rbTemp->click();
  check({"Dry Bulb Temp", "Dewpoint Temp"});
  tab.rbWind->click();
  check({"Direction", "Speed"});  // drawn in that order: the speed on top
  tab.rbSolar->click();
  check({"Horizontal", "Direct Normal"});
  tab.rbOrigData->click();
  check({});  // one series: no legend
  tab.rbTemp->click();
  check({"Dry Bulb Temp", "Dewpoint Temp"});
  // Loaded while another tab is shown, then shown.
  w->tabs->setCurrentWidget(w->setup.page);
  tab.rbWind->click();
  w->tabs->setCurrentWidget(tab.page);
  check({"Direction", "Speed"});
}

void ReviewTabTest::buttonsOpenTheWindowsOnTheSelectedRun() {
  const test::SampleRun& run = test::SampleReviewRun();
  test::ProgramDir program;
  test::DialogRecorder rec;
  auto w = ReviewWindow(program, rec, run.interimDir, run.base);
  w->tabs->setCurrentWidget(w->review.page);
  w->review.rbWind->click();
  QString caption;
  QString north;
  auto closeModal = [&](auto read) {
    QTimer::singleShot(0, [&, read] {
      QWidget* modal = QApplication::activeModalWidget();
      if (modal == nullptr) return;
      read(modal);
      modal->close();
    });
  };
  closeModal([&](QWidget* m) { caption = m->windowTitle(); });
  w->review.btnBigChart->click();
  QCOMPARE(caption, QStringLiteral("Varnell-Kestrum Data Plot: Golden"));
  QString roseCaption;
  closeModal([&](QWidget* m) {
    roseCaption = m->windowTitle();
    north = m->findChild<QTableWidget*>(QStringLiteral("sgWindDir"))->item(1, 1)->text();
  });
  w->review.btnDispWindRose->click();
  QCOMPARE(roseCaption, QStringLiteral("Wind Direction Profile: Golden"));
  const WindSectorCounts& counts = w->reviewPage().windSectorCounts();
  QCOMPARE(north, QString::number(counts[0] / 8760.0 * 100.0, 'f', 2));
  QVERIFY(rec.errors.isEmpty());
}

KESTRUM_GUI_TEST(ReviewTabTest);
#include "review_tab_test.moc"
