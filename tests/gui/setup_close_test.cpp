// The Setup grids as the settings see them, and what closing the window saves and clears.
#include <QAbstractItemDelegate>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QtTest>

#include "gui_test_support.h"
#include "ui/qt_text.h"

using namespace kestrum;

class SetupCloseTest : public QObject {
  Q_OBJECT

 private slots:
  void gridCellsAreCapturedByTheirRules();
  void resetThenCloseSavesTheDefaults();
  void emptyFlagCellStaysEmptyAcrossStarts();
  void cellBeingEditedCountsAtClose();
  void closeSavesTheWindowPosition();
  void clearingAtCloseFollowsTheTwoBoxes_data();
  void clearingAtCloseFollowsTheTwoBoxes();
  void failedSaveOffersRetryCloseOrCancel();
  void unlistableInterimDirectoryIsReportedAndTheProgramStillEnds();
};

namespace {

Settings ReadSaved(const test::ProgramDir& dir) {
  return ReadSettingsFile(dir.paths().settingsFile, dir.paths());
}

}  // namespace

void SetupCloseTest::gridCellsAreCapturedByTheirRules() {
  test::ProgramDir dir;
  test::DialogRecorder rec;
  auto w = test::MakeWindow(dir, rec);
  QTableWidget* limits = w->setup.sgWthData;
  QTableWidget* flags = w->setup.sgBadData;
  limits->item(0, 0)->setText(QStringLiteral("-49.5"));  // Min, rounded half to even
  limits->item(0, 1)->setText(QStringLiteral("abc"));    // Max, not a number
  limits->item(1, 0)->setText(QStringLiteral("12.5"));
  limits->item(1, 1)->setText(QStringLiteral("13.5"));
  limits->item(2, 2)->setText(QStringLiteral("7"));       // #interp
  limits->item(3, 3)->setText(QString());                 // #prev empty: fallback, silently
  limits->item(4, 2)->setText(QStringLiteral("2.0"));     // #interp must be whole
  flags->item(0, 0)->setText(QStringLiteral("-999.0"));   // a flag must be whole
  flags->item(2, 4)->setText(QStringLiteral("9999"));

  w->CaptureWindowSettings();
  const CleaningLimits& c = w->settings().limits;
  QCOMPARE(c.Min(1), -50);
  QCOMPARE(c.Max(1), 199);
  QCOMPARE(c.Min(2), 12);
  QCOMPARE(c.Max(2), 14);
  QCOMPARE(c.InterpLimit(3), 7);
  QCOMPARE(c.PrevLimit(4), 0);
  QCOMPARE(c.InterpLimit(5), 0);
  QCOMPARE(c.Flag(1, 1), -888);
  QCOMPARE(c.Flag(3, 5), 9999);
  QCOMPARE(c.Flag(2, 1), -999);
  // One message per bad cell: the limits row by row, then the flags column by column.
  QCOMPARE(rec.notices, QStringList({QStringLiteral("Rounding conversion to Int failed (abc)"),
                                     QStringLiteral("Conversion to Int failed (2.0)"),
                                     QStringLiteral("Conversion to Int failed (-999.0)")}));
  // The cells keep what was typed.
  QCOMPARE(limits->item(0, 1)->text(), QStringLiteral("abc"));
}

void SetupCloseTest::resetThenCloseSavesTheDefaults() {
  test::ProgramDir dir;
  dir.writeSettings({QStringLiteral("[SetUp]"), QStringLiteral("DBTmin=-20"), QStringLiteral("SOLmax=900"),
                     QStringLiteral("WdirBad3=5")});
  test::DialogRecorder rec;
  auto w = test::MakeWindow(dir, rec);
  QCOMPARE(w->setup.sgWthData->item(0, 0)->text(), QStringLiteral("-20"));
  QCOMPARE(w->setup.sgBadData->item(4, 3)->text(), QStringLiteral("5"));
  w->setup.sgBadData->item(1, 1)->setText(QString());
  w->setup.btnResetCleanData->click();
  // Reset changes the cells only.
  QCOMPARE(w->settings().limits.Min(1), -20);
  QCOMPARE(w->setup.sgWthData->item(0, 0)->text(), QStringLiteral("-50"));
  QCOMPARE(w->setup.sgBadData->item(1, 1)->text(), QStringLiteral("-999"));
  QVERIFY(w->close());
  QCOMPARE(ReadSaved(dir).limits, CleaningLimits::Defaults());
  QVERIFY(rec.notices.isEmpty());
}

void SetupCloseTest::emptyFlagCellStaysEmptyAcrossStarts() {
  test::ProgramDir dir;
  {
    test::DialogRecorder rec;
    auto w = test::MakeWindow(dir, rec);
    w->setup.sgBadData->item(1, 2)->setText(QString());
    QVERIFY(w->close());
    QVERIFY(rec.notices.isEmpty());
  }
  QCOMPARE(ReadSaved(dir).limits.Flag(2, 3), kEmptyFlag);
  QVERIFY(test::ReadFileBytes(ui::ToQ(dir.paths().settingsFile)).contains("DPTbad2=-888"));
  test::DialogRecorder rec;
  auto w = test::MakeWindow(dir, rec);
  QCOMPARE(w->setup.sgBadData->item(1, 2)->text(), QString());
  QCOMPARE(w->setup.sgBadData->item(1, 1)->text(), QStringLiteral("-999"));
  QCOMPARE(w->setup.sgBadData->item(1, 3)->text(), QStringLiteral("-999"));
}

void SetupCloseTest::cellBeingEditedCountsAtClose() {
  test::ProgramDir dir;
  test::DialogRecorder rec;
  auto w = test::MakeWindow(dir, rec);
  w->show();
  w->tabs->setCurrentWidget(w->setup.page);
  QTableWidget* grid = w->setup.sgWthData;
  grid->setFocus();
  grid->setCurrentCell(0, 1);  // the editor opens on the current cell
  auto* editor = grid->viewport()->findChild<QLineEdit*>();
  QVERIFY(editor != nullptr);
  editor->setText(QStringLiteral("140"));
  QVERIFY(w->close());  // closed by the frame, the editor still open
  QCOMPARE(ReadSaved(dir).limits.Max(1), 140);
}

void SetupCloseTest::closeSavesTheWindowPosition() {
  test::ProgramDir dir;
  test::DialogRecorder rec;
  auto w = test::MakeWindow(dir, rec);
  w->move(150, 120);
  QVERIFY(w->close());
  const Settings saved = ReadSaved(dir);
  QCOMPARE(saved.left, 150);
  QCOMPARE(saved.top, 120);
}

void SetupCloseTest::clearingAtCloseFollowsTheTwoBoxes_data() {
  QTest::addColumn<bool>("clear");
  QTest::addColumn<bool>("saveGraphs");
  QTest::addColumn<QStringList>("left");
  const QStringList all = {"Golden-final.csv", "Golden-orig.csv", "Golden.bin", "Golden.ft",
                           "notes.txt", "other.csv", "postclean-b.csv", "postclean-c.csv",
                           "site.csv", "trace.STA"};
  QTest::newRow("clear, graphs not kept")
      << true << false
      << QStringList({"Golden.bin", "notes.txt", "other.csv", "site.csv"});
  QTest::newRow("clear, graphs kept")
      << true << true
      << QStringList({"Golden-final.csv", "Golden-orig.csv", "Golden.bin", "notes.txt",
                      "other.csv", "postclean-b.csv", "postclean-c.csv", "site.csv"});
  QTest::newRow("no clearing") << false << false << all;
}

void SetupCloseTest::clearingAtCloseFollowsTheTwoBoxes() {
  QFETCH(bool, clear);
  QFETCH(bool, saveGraphs);
  QFETCH(QStringList, left);
  test::ProgramDir dir;
  const QString interim = dir.makeDir(QStringLiteral("interim"));
  for (const char* name : {"Golden-final.csv", "Golden-orig.csv", "Golden.bin", "Golden.ft",
                           "notes.txt", "other.csv", "postclean-b.csv", "postclean-c.csv",
                           "site.csv", "trace.STA"}) {
    test::WriteFileBytes(interim + QLatin1Char('/') + QString::fromLatin1(name), "x\r\n");
  }
  // The chosen CSV source lies in the interim directory: it is never deleted.
  dir.writeSettings({kestrum::test::ProgramDir::section(kCsvSection), QStringLiteral("CSVFileName=") + interim + QStringLiteral("/site.csv"),
                     QStringLiteral("[SetUp]"), QStringLiteral("InterimPath=") + interim});
  test::DialogRecorder rec;
  auto w = test::MakeWindow(dir, rec);
  w->setup.cbClearResults->setChecked(clear);
  w->review.cbSaveCSV->setChecked(saveGraphs);
  QVERIFY(w->close());
  QStringList found = QDir(interim).entryList(QDir::Files, QDir::Name);
  QCOMPARE(found, left);
  QVERIFY(rec.errors.isEmpty());
}

void SetupCloseTest::failedSaveOffersRetryCloseOrCancel() {
  test::ProgramDir dir;
  const QString interim = dir.makeDir(QStringLiteral("interim"));
  test::WriteFileBytes(interim + QStringLiteral("/run.ft"), "x\r\n");
  ProgramPaths paths = dir.paths();
  paths.settingsFile = ui::ToStd(dir.file(QStringLiteral("no-such-dir/kestrum.INI")));

  auto makeWindow = [&](test::DialogRecorder& rec) {
    ui::WindowStart start;
    start.paths = paths;
    start.libraries = test::Libraries();
    start.dialogs = rec.hooks();
    auto w = std::make_unique<ui::TForm1>(std::move(start));
    w->setup.edInterimPath->setText(interim);
    w->show();
    return w;
  };

  {  // Retry, then Cancel: the window stays open, nothing is deleted.
    test::DialogRecorder rec;
    rec.saveAnswers = {ui::SaveFailedChoice::Retry, ui::SaveFailedChoice::Cancel};
    auto w = makeWindow(rec);
    QVERIFY(!w->close());
    QVERIFY(w->isVisible());
    QCOMPARE(rec.saveFailures.size(), 2);
    QVERIFY2(rec.saveFailures[0].contains(QStringLiteral("kestrum.INI")), qPrintable(rec.saveFailures[0]));
    QVERIFY(QFile::exists(interim + QStringLiteral("/run.ft")));
    w->hide();
  }
  {  // Close without saving: the window closes, still nothing is deleted.
    test::DialogRecorder rec;
    rec.saveAnswers = {ui::SaveFailedChoice::CloseWithoutSaving};
    auto w = makeWindow(rec);
    QVERIFY(w->close());
    QCOMPARE(rec.saveFailures.size(), 1);
    QVERIFY(QFile::exists(interim + QStringLiteral("/run.ft")));
    QVERIFY(!QFile::exists(ui::ToQ(paths.settingsFile)));
  }
}

void SetupCloseTest::unlistableInterimDirectoryIsReportedAndTheProgramStillEnds() {
  test::ProgramDir dir;
  test::DialogRecorder rec;
  auto w = test::MakeWindow(dir, rec);
  w->setup.edInterimPath->setText(dir.file(QStringLiteral("gone")));
  QVERIFY(w->close());
  QCOMPARE(rec.errors.size(), 1);
  QVERIFY2(rec.errors[0].contains(QStringLiteral("gone")), qPrintable(rec.errors[0]));
  QCOMPARE(ReadSaved(dir).interimPath, ui::ToStd(dir.file(QStringLiteral("gone"))));
}

KESTRUM_GUI_TEST(SetupCloseTest);
#include "setup_close_test.moc"
