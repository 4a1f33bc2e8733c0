// Every window of the program on the screen the test runs on ("test_gui --screen 1366x768"):
// its frame inside the work area, its controls within reach; the field window and the
// previews clear of the main window's Convert button and completion label; on a screen
// 1366 pixels wide the field window beside the main window and the preview showing at least
// eight columns; "Snap" never covering the field window's buttons.
#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QTableWidget>
#include <QTimer>
#include <QtTest>

#include "config/edit_ini_window.h"
#include "csv/layout_offer.h"
#include "gui_test_support.h"
#include "review/big_chart_window.h"
#include "review/wind_rose_window.h"
#include "ui/csv_tab_actions.h"
#include "ui/qt_text.h"
#include "ui/window_placement.h"

using namespace kestrum;

namespace {

QString Describe(const QRect& r) {
  return QStringLiteral("%1,%2 %3x%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
}

QRect OnDesktop(const QWidget& widget) {
  return QRect(widget.mapToGlobal(QPoint(0, 0)), widget.size());
}

// What is wrong with window on the work area: a frame reaching out of it, or (unless only
// the frame counts) a control that can be neither seen nor scrolled to. Empty when nothing is.
QString Misplaced(const QWidget& window, const QRect& workArea, bool frameOnly = false) {
  QStringList problems;
  if (!workArea.contains(window.frameGeometry())) {
    problems << QStringLiteral("%1: frame %2 outside %3")
                    .arg(window.objectName(), Describe(window.frameGeometry()), Describe(workArea));
  }
  if (frameOnly) return problems.join(QLatin1Char('\n'));
  const QRect inside = window.rect();
  for (const QWidget* control : window.findChildren<QWidget*>()) {
    const bool interactive = qobject_cast<const QAbstractButton*>(control) ||
                             qobject_cast<const QComboBox*>(control) ||
                             qobject_cast<const QAbstractSpinBox*>(control) ||
                             qobject_cast<const QLineEdit*>(control) ||
                             qobject_cast<const QAbstractItemView*>(control) ||
                             qobject_cast<const QPlainTextEdit*>(control);
    if (!interactive || !control->isVisibleTo(&window) || control->window() != &window) continue;
    // Inside a scroll area a control is reached by scrolling: the area must be in view.
    const QWidget* shown = control;
    for (const QWidget* up = control->parentWidget(); up != &window; up = up->parentWidget()) {
      if (const auto* scroll = qobject_cast<const QScrollArea*>(up)) shown = scroll;
    }
    const QRect at(shown->mapTo(&window, QPoint(0, 0)), shown->size());
    if (!inside.contains(at)) {
      problems << QStringLiteral("%1: %2 at %3 out of reach")
                      .arg(window.objectName(), control->objectName(), Describe(at));
    }
  }
  return problems.join(QLatin1Char('\n'));
}

// Columns of the preview's grid shown whole.
int WholeColumns(const QTableWidget& grid) {
  int whole = 0;
  for (int c = 0; c < grid.columnCount(); ++c) {
    const int x = grid.columnViewportPosition(c);
    if (x >= 0 && x + grid.columnWidth(c) <= grid.viewport()->width()) ++whole;
  }
  return whole;
}

// The field window's buttons, which the preview must never cover.
QString ButtonsCovered(const TfrmFieldSpecs& fields, const QRect& preview) {
  QStringList covered;
  for (const QPushButton* button : {fields.btnDone, fields.btnCancel, fields.bbtnSnapRight,
                                    fields.bbtnSnapBot}) {
    if (OnDesktop(*button).intersects(preview)) covered << button->objectName();
  }
  return covered.join(QLatin1Char(' '));
}

// Shows a message box through the window's own message hooks and returns where it stood.
QString MisplacedMessageBox(const std::function<void()>& show, const QRect& workArea) {
  QString problem = QStringLiteral("no message box");
  QTimer::singleShot(0, [&] {
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
      box->setObjectName(QStringLiteral("messageBox"));
      problem = Misplaced(*box, workArea);
      box->done(QMessageBox::Cancel);
    }
  });
  show();
  return problem;
}

}  // namespace

class ScreenTest : public QObject {
  Q_OBJECT

 private slots:
  void everyWindowInsideTheWorkArea_data();
  void everyWindowInsideTheWorkArea();
  void mainWindowLeftOutsideComesBack_data();
  void mainWindowLeftOutsideComesBack();
};

void ScreenTest::everyWindowInsideTheWorkArea_data() {
  QTest::addColumn<QMargins>("panels");  // taken off the screen for the work area
  // The date form decides what makes the field window wide: the grid of twelve items
  // (three date fields, direct normal), or with no date field its choices.
  QTest::addColumn<int>("dateInd");
  QTest::newRow("whole screen") << QMargins() << kDateThreeFields;
  QTest::newRow("panels at the top and the bottom") << QMargins(0, 24, 0, 40) << kDateThreeFields;
  QTest::newRow("whole screen, no date field") << QMargins() << kDateNone;
}

void ScreenTest::everyWindowInsideTheWorkArea() {
  QFETCH(QMargins, panels);
  QFETCH(int, dateInd);
  const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
  const QRect workArea = screen.marginsRemoved(panels);
  std::optional<test::WorkAreaScope> withPanels;
  if (!panels.isNull()) withPanels.emplace(workArea);

  // A field map on the sample TMY3 file, the window where it was left.
  test::ProgramDir dir;
  dir.writeSettings({test::ProgramDir::section(kCsvSection),
                     QStringLiteral("CSVFileName=") + test::SampleCsv(),
                     QStringLiteral("DateInd=%1").arg(dateInd), QStringLiteral("SolarInd=1")});
  test::DialogRecorder rec;
  auto w = test::MakeWindow(dir, rec);
  w->Start();
  QVERIFY(QTest::qWaitForWindowExposed(w.get()));
  // Each conversion tab with all its controls, the time shift and its "UTC" button among them.
  QString problem;
  for (QWidget* page : {w->epw.page, w->csv.page}) {
    w->tabs->setCurrentWidget(page);
    problem = Misplaced(*w, workArea);
    QVERIFY2(problem.isEmpty(), qPrintable(problem));
  }
  const QRect mainFrame = w->frameGeometry();
  const QRect keep = OnDesktop(*w->csv.btnProcCSV).united(OnDesktop(*w->csv.lblFldCompleted));
  const bool roomy = workArea.width() >= 1366;

  // The field window and its preview.
  w->csv.btnFieldSpecs->click();
  TfrmFieldSpecs* fields = w->csvActions().fieldSpecs();
  TXLSform* preview = fields->preview();
  QVERIFY(QTest::qWaitForWindowExposed(fields) && QTest::qWaitForWindowExposed(preview));
  for (const QWidget* window : {static_cast<const QWidget*>(fields), static_cast<const QWidget*>(preview)}) {
    problem = Misplaced(*window, workArea);
    QVERIFY2(problem.isEmpty(), qPrintable(problem));
    QVERIFY2(!window->frameGeometry().intersects(keep),
             qPrintable(window->objectName() + " covers Convert or the label: " +
                        Describe(window->frameGeometry()) + " over " + Describe(keep)));
  }
  QVERIFY(ButtonsCovered(*fields, preview->frameGeometry()).isEmpty());
  if (roomy) {
    QVERIFY2(!fields->frameGeometry().intersects(mainFrame), qPrintable(Describe(fields->frameGeometry())));
    QVERIFY2(WholeColumns(*preview->sgXLS) >= 8, qPrintable(QString::number(WholeColumns(*preview->sgXLS))));
  }

  // "Snap" to the bottom and to the right: both windows inside, the buttons in view.
  for (QPushButton* snap : {fields->bbtnSnapBot, fields->bbtnSnapRight}) {
    snap->click();
    for (const QWidget* window : {static_cast<const QWidget*>(fields), static_cast<const QWidget*>(preview)}) {
      problem = Misplaced(*window, workArea);
      QVERIFY2(problem.isEmpty(), qPrintable(snap->objectName() + ": " + problem));
    }
    const QString covered = ButtonsCovered(*fields, preview->frameGeometry());
    QVERIFY2(covered.isEmpty(), qPrintable(snap->objectName() + " covers " + covered));
  }
  fields->btnCancel->click();

  // The find button's preview.
  w->csv.btnFindSiteInfo->click();
  TXLSform* found = w->csvActions().findPreview();
  QVERIFY(found != nullptr && QTest::qWaitForWindowExposed(found));
  problem = Misplaced(*found, workArea);
  QVERIFY2(problem.isEmpty(), qPrintable(problem));
  QVERIFY(!found->frameGeometry().intersects(keep));
  found->close();

  // The log viewer, the detailed chart and the wind rose (narrow and widened).
  TfrmEditINI viewer(ui::ToQ(w->settings().logFilePath), w.get());
  viewer.show();
  QVERIFY(QTest::qWaitForWindowExposed(&viewer));
  problem = Misplaced(viewer, workArea);
  QVERIFY2(problem.isEmpty(), qPrintable(problem));
  QCOMPARE(viewer.size(), QSize(552, 375));  // its own size fits every screen here
  viewer.close();

  BigChartInputs inputs;
  inputs.interimDir = dir.path();
  inputs.baseName = QStringLiteral("none");
  inputs.error = [](const QString&) {};  // no run to chart: only the window counts here
  TfrmBigChart chart(inputs, w.get());
  chart.show();
  QVERIFY(QTest::qWaitForWindowExposed(&chart));
  problem = Misplaced(chart, workArea);
  QVERIFY2(problem.isEmpty(), qPrintable(problem));
  if (workArea.height() >= 593 + 40) QCOMPARE(chart.size(), QSize(kBigChartWidth, kBigChartHeight));
  chart.close();

  // The wind rose opens narrow, its numbers beyond its right edge until ">>>" shows them.
  TfrmWindRose rose(WindSectorCounts{}, WindRoseSubject{}, w.get());
  rose.show();
  QVERIFY(QTest::qWaitForWindowExposed(&rose));
  problem = Misplaced(rose, workArea, true);
  QVERIFY2(problem.isEmpty(), qPrintable(problem));
  rose.btnShowWindNums->click();
  problem = Misplaced(rose, workArea);
  QVERIFY2(problem.isEmpty(), qPrintable(problem));
  rose.close();

  // Message boxes place themselves by the screen's own work area, which the panels above
  // only stand in for in the program's windows.
  if (panels.isNull()) {
    ui::DialogHooks boxes;
    ui::CompleteWithMessageBoxes(boxes, w.get());
    problem = MisplacedMessageBox([&] { boxes.notice(ui::CsvUnderDevelopmentText()); }, workArea);
    QVERIFY2(problem.isEmpty(), qPrintable(problem));
    problem = MisplacedMessageBox([&] { boxes.saveFailed(QStringLiteral("disk full")); }, workArea);
    QVERIFY2(problem.isEmpty(), qPrintable(problem));
    // The offer of a layout, at its longest: a file that lacks several items.
    LayoutMatch offered;
    offered.description = "an NSRDB PSM file (half-hourly, UTC)";
    offered.missing = {{CsvItem::DewPoint, "DewPtT", "Dew Point", "is in K, not C or F"},
                       {CsvItem::WindSpeed, "WindSpd", "Wind Speed", ""},
                       {CsvItem::WindDirection, "WindDir", "Wind Direction", ""}};
    problem = MisplacedMessageBox([&] { boxes.question(ui::ToQ(LayoutOfferText(offered))); }, workArea);
    QVERIFY2(problem.isEmpty(), qPrintable(problem));
  }
  w->hide();
}

void ScreenTest::mainWindowLeftOutsideComesBack_data() {
  QTest::addColumn<QPoint>("leftAt");  // Left and Top of the settings file
  QTest::newRow("on a larger screen") << QPoint(3000, 2000);
  QTest::newRow("left of the screen") << QPoint(-400, 50);
  QTest::newRow("half off the bottom") << QPoint(100, 700);
}

void ScreenTest::mainWindowLeftOutsideComesBack() {
  QFETCH(QPoint, leftAt);
  const QRect workArea = QGuiApplication::primaryScreen()->availableGeometry();
  test::ProgramDir dir;
  dir.writeSettings({QStringLiteral("[Form]"), QStringLiteral("Top=%1").arg(leftAt.y()),
                     QStringLiteral("Left=%1").arg(leftAt.x())});
  test::DialogRecorder rec;
  auto w = test::MakeWindow(dir, rec);
  w->Start();
  QVERIFY(QTest::qWaitForWindowExposed(w.get()));
  const QString problem = Misplaced(*w, workArea);
  QVERIFY2(problem.isEmpty(), qPrintable(problem));
  QCOMPARE(w->size(), QSize(ui::kClientWidth, ui::kClientHeight));
  w->hide();
}

KESTRUM_SCREEN_TEST(ScreenTest);
#include "screens_test.moc"
