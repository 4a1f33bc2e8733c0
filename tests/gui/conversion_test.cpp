// Choosing an EPW file and converting it from the window: the outputs, the progress box,
// the caption, the log and its viewer, and what an error leaves behind.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QTabWidget>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTimer>
#include <QtTest>

#include "config/edit_ini_window.h"
#include "gui_test_support.h"
#include "ui/qt_text.h"

using namespace kestrum;

class ConversionTest : public QObject {
  Q_OBJECT

 private slots:
  void choosingAFileFillsTheTab();
  void fileWithoutExtensionGetsBinAppended();
  void unreadableFileIsReportedAfterTheFieldIsFilled();
  void convertProducesTheBinFileAndLogsTheRun();
  void raisedErrorIsReportedAndTheWindowStaysUsable();
  void missingInterimDirectoryFallsBackToTheDefault();
  void rewriteFileEmptiesTheLogOncePerCheck();
  void failedCleaningRestoresTheCaptionAndResetTakesEffect();
  void editedLogPathIsUsedAfterLeavingTheField();
  void epwBoxWritesTheRepairedYearBesideTheBin();
};

namespace {

// Points the run's outputs into dir and picks the sample file.
void PrepareSampleRun(ui::TForm1& w, const test::ProgramDir& dir) {
  w.UseEPWFile(test::SampleEpw());
  w.epw.edEPWdir->setText(dir.makeDir(QStringLiteral("out")));
  w.setup.edInterimPath->setText(dir.makeDir(QStringLiteral("interim")));
}

QString LogText(const test::ProgramDir& dir) {
  return QString::fromUtf8(test::ReadFileBytes(ui::ToQ(dir.paths().defaultLogFile)));
}

}  // namespace

void ConversionTest::choosingAFileFillsTheTab() {
  test::ProgramDir dir;
  test::DialogRecorder rec;
  auto w = test::MakeWindow(dir, rec);
  QVERIFY(!w->epw.btnProcEPW->isEnabled());
  w->UseEPWFile(test::SampleEpw());
  QCOMPARE(w->epw.edEPWfile->text(), test::SampleEpw());
  QCOMPARE(w->epw.ledEPWloc->text(), QStringLiteral("Denver Centennial  Golden   Nr,CO,USA"));
  QCOMPARE(w->epw.ledEPWlat->text(), QStringLiteral("39.74"));
  QCOMPARE(w->epw.ledEPWlon->text(), QStringLiteral("-105.18"));
  QCOMPARE(w->epw.ledEPWtz->text(), QStringLiteral("-7.0"));
  QCOMPARE(w->epw.ledEPWelev->text(), QStringLiteral("1829.0"));
  QCOMPARE(w->epw.edEPWBinName->text(), QStringLiteral("USA_CO_Golden-NREL.724666_TMY3.BIN"));
  QVERIFY(w->epw.btnProcEPW->isEnabled());

  // A second file without LOCATION and COMMENTS 1 lines keeps the texts of the first.
  const QString bare = dir.file(QStringLiteral("bare.epw"));
  test::WriteFileBytes(bare, "DATA PERIODS,1,1,Data,Sunday, 1/ 1,12/31\r\n");
  w->UseEPWFile(bare);
  QCOMPARE(w->epw.ledEPWlat->text(), QStringLiteral("39.74"));
  QCOMPARE(w->epw.edEPWBinName->text(), QStringLiteral("bare.BIN"));
}

void ConversionTest::fileWithoutExtensionGetsBinAppended() {
  test::ProgramDir dir;
  test::DialogRecorder rec;
  auto w = test::MakeWindow(dir, rec);
  const QString plain = dir.file(QStringLiteral("golden"));
  QVERIFY(QFile::copy(test::SampleEpw(), plain));
  w->UseEPWFile(plain);
  QCOMPARE(w->epw.edEPWBinName->text(), QStringLiteral("golden.BIN"));
}

void ConversionTest::unreadableFileIsReportedAfterTheFieldIsFilled() {
  test::ProgramDir dir;
  test::DialogRecorder rec;
  auto w = test::MakeWindow(dir, rec);
  const QString missing = dir.file(QStringLiteral("missing.epw"));
  QVERIFY_THROWS_EXCEPTION(std::exception, w->UseEPWFile(missing));
  QCOMPARE(w->epw.edEPWfile->text(), missing);
  QVERIFY(!w->epw.btnProcEPW->isEnabled());
}

void ConversionTest::convertProducesTheBinFileAndLogsTheRun() {
  test::ProgramDir dir;
  test::DialogRecorder rec;
  auto w = test::MakeWindow(dir, rec);
  PrepareSampleRun(*w, dir);
  w->epw.edEPWBinName->setText(QStringLiteral("Golden.BIN"));
  w->show();
  QTest::mouseClick(w->epw.btnProcEPW, Qt::LeftButton);

  QVERIFY2(rec.errors.isEmpty(), qPrintable(rec.errors.join(QLatin1Char('\n'))));
  QVERIFY(rec.notices.isEmpty());
  QVERIFY(QFile::exists(dir.file(QStringLiteral("out/Golden.bin"))));
  for (const char* name : {"interim/Golden-orig.csv", "interim/Golden-final.csv", "interim/Golden.ft",
                           "interim/postclean-b.csv"}) {
    QVERIFY2(QFile::exists(dir.file(QString::fromLatin1(name))), name);
  }
  QVERIFY(w->epw.memEPW->toPlainText().contains(QStringLiteral("Weather data cleaned successfully.")));
  // The run ends with where the .bin file went and what the cleaning pass repaired.
  QVERIFY(w->epw.memEPW->toPlainText().endsWith(
      QStringLiteral("  BIN file written to ") + dir.file(QStringLiteral("out/Golden.bin")) +
      QStringLiteral("\n  Repaired hours: dry bulb 0, moisture 0, solar 0, wind speed 0, wind "
                     "direction 0; direct normal estimated for 0 hours.")));
  QCOMPARE(w->windowTitle(), QStringLiteral("Tavorin-Zenfold"));
  QCOMPARE(QGuiApplication::applicationDisplayName(), QStringLiteral("Tavorin-Zenfold"));
  QCOMPARE(w->runState().outputBaseName, std::string("Golden"));
  QCOMPARE(w->review.cbResultsList->count(), 1);
  QCOMPARE(w->review.cbResultsList->itemText(0), QStringLiteral("Golden"));

  const QString log = LogText(dir);
  QVERIFY(log.startsWith(QStringLiteral("Processing started at ")));
  QVERIFY(log.contains(QStringLiteral("\r\nProcessing finished at ")));

  // The log viewer opens on the log file and shows the run.
  QString shown;
  QTimer::singleShot(0, [&shown] {
    auto* viewer = qobject_cast<TfrmEditINI*>(QApplication::activeModalWidget());
    if (viewer == nullptr) return;
    shown = viewer->Memo1->toPlainText();
    viewer->Button3->click();
  });
  QTest::mouseClick(w->csv.btnView, Qt::LeftButton);
  QCOMPARE(w->editFileName(), dir.paths().defaultLogFile);
  QVERIFY(shown.startsWith(QStringLiteral("Processing started at ")));
  QVERIFY(shown.contains(QStringLiteral("Processing finished at ")));
  w->hide();
}

void ConversionTest::raisedErrorIsReportedAndTheWindowStaysUsable() {
  test::ProgramDir dir;
  test::DialogRecorder rec;
  auto w = test::MakeWindow(dir, rec);
  PrepareSampleRun(*w, dir);
  const QString broken = test::BrokenEpw(dir.path(), 20);
  w->UseEPWFile(broken);
  w->epw.btnProcEPW->click();
  QCOMPARE(rec.errors.size(), 1);
  QVERIFY2(rec.errors[0].contains(QStringLiteral("Broken.epw")), qPrintable(rec.errors[0]));
  QVERIFY2(rec.errors[0].contains(QStringLiteral("20")), qPrintable(rec.errors[0]));
  // The run ended inside a stage: the log has the error and the finish line, the progress
  // box one line, and the caption is restored.
  const QString log = LogText(dir);
  const qsizetype stopped = log.indexOf(QStringLiteral("\r\n  Conversion stopped: ") + rec.errors[0]);
  QVERIFY2(stopped > 0, qPrintable(log));
  QVERIFY(log.indexOf(QStringLiteral("\r\nProcessing finished at "), stopped) > 0);
  QCOMPARE(w->epw.memEPW->toPlainText(), QStringLiteral("  Conversion stopped: ") + rec.errors[0]);
  QCOMPARE(w->windowTitle(), QStringLiteral("Tavorin-Zenfold"));
  QVERIFY(!QFile::exists(dir.file(QStringLiteral("out/Broken.bin"))));

  // The next run goes through.
  w->UseEPWFile(test::SampleEpw());
  w->epw.btnProcEPW->click();
  QCOMPARE(rec.errors.size(), 1);
  QVERIFY(QFile::exists(dir.file(QStringLiteral("out/USA_CO_Golden-NREL.724666_TMY3.bin"))));
  QCOMPARE(LogText(dir).count(QStringLiteral("Processing finished at ")), 2);
}

void ConversionTest::missingInterimDirectoryFallsBackToTheDefault() {
  test::ProgramDir dir;
  test::DialogRecorder rec;
  auto w = test::MakeWindow(dir, rec);
  PrepareSampleRun(*w, dir);
  w->setup.edInterimPath->setText(dir.file(QStringLiteral("no-such-dir")));
  w->epw.btnProcEPW->click();
  QVERIFY2(rec.errors.isEmpty(), qPrintable(rec.errors.join(QLatin1Char('\n'))));
  QCOMPARE(w->setup.edInterimPath->text(), ui::ToQ(dir.paths().defaultInterimDir));
  QVERIFY(QFile::exists(dir.file(QStringLiteral("USA_CO_Golden-NREL.724666_TMY3-orig.csv"))));
  QVERIFY(!QDir(dir.file(QStringLiteral("no-such-dir"))).exists());
}

void ConversionTest::rewriteFileEmptiesTheLogOncePerCheck() {
  test::ProgramDir dir;
  const QString logFile = ui::ToQ(dir.paths().defaultLogFile);
  test::WriteFileBytes(logFile, "an earlier session\r\n");
  test::DialogRecorder rec;
  auto w = test::MakeWindow(dir, rec);
  PrepareSampleRun(*w, dir);
  // Runs that stop at once in their reader keep the test short; each logs its start line.
  w->UseEPWFile(test::BrokenEpw(dir.path(), 9));
  auto starts = [&] { return LogText(dir).count(QStringLiteral("Processing started at ")); };

  QVERIFY(w->setup.cbReWriteLog->isChecked());
  w->epw.btnProcEPW->click();
  QVERIFY(!LogText(dir).contains(QStringLiteral("an earlier session")));
  QCOMPARE(starts(), 1);
  w->epw.btnProcEPW->click();  // same set of runs: appended
  QCOMPARE(starts(), 2);

  w->setup.cbReWriteLog->setChecked(false);
  w->epw.btnProcEPW->click();
  QCOMPARE(starts(), 3);
  w->setup.cbReWriteLog->setChecked(true);  // a new set of runs
  w->epw.btnProcEPW->click();
  QCOMPARE(starts(), 1);
  QCOMPARE(rec.errors.size(), 4);
}

void ConversionTest::editedLogPathIsUsedAfterLeavingTheField() {
  test::ProgramDir dir;
  test::DialogRecorder rec;
  auto w = test::MakeWindow(dir, rec);
  const QString other = dir.file(QStringLiteral("other.log"));
  w->show();
  w->tabs->setCurrentWidget(w->setup.page);
  QApplication::setActiveWindow(w.get());
  w->setup.edLOG->setFocus();
  w->setup.edLOG->setText(other);
  w->setup.cbLogIt->setFocus();  // leaving the field
  QTRY_COMPARE(w->runLog().path(), ui::ToStd(other));
  QCOMPARE(w->settings().logFilePath, ui::ToStd(other));
  w->runLog().WriteLogLine("next line");
  QCOMPARE(test::ReadFileBytes(other), QByteArray("next line\r\n"));
  w->hide();
}

void ConversionTest::failedCleaningRestoresTheCaptionAndResetTakesEffect() {
  test::ProgramDir dir;
  test::DialogRecorder rec;
  auto w = test::MakeWindow(dir, rec);
  PrepareSampleRun(*w, dir);
  w->epw.edEPWBinName->setText(QStringLiteral("Golden.BIN"));
  // A maximum below every hour makes every dry-bulb hour bad: the cleaning pass fails.
  w->setup.sgWthData->item(0, 1)->setText(QStringLiteral("-45"));
  QSignalSpy captions(w.get(), &QWidget::windowTitleChanged);
  w->epw.btnProcEPW->click();
  QVERIFY2(rec.errors.isEmpty(), qPrintable(rec.errors.join(QLatin1Char('\n'))));
  QVERIFY(w->epw.memEPW->toPlainText().contains(QStringLiteral("  Weather data cleaning FAILED.")));
  QStringList titles;
  for (const QList<QVariant>& change : captions) titles.append(change.at(0).toString());
  QCOMPARE(titles, QStringList({QStringLiteral("Varnell-Kestrum (convert EPW)"),
                                QStringLiteral("Brollic (clean EWP file)"),
                                QStringLiteral("Tavorin-Zenfold")}));
  QCOMPARE(QGuiApplication::applicationDisplayName(), QStringLiteral("Tavorin-Zenfold"));
  QVERIFY(!QFile::exists(dir.file(QStringLiteral("out/Golden.bin"))));
  QVERIFY(!QFile::exists(dir.file(QStringLiteral("interim/Golden-final.csv"))));
  const QString log = LogText(dir);
  QVERIFY(log.startsWith(QStringLiteral("Processing started at ")));
  QVERIFY(log.contains(QStringLiteral("\r\nProcessing finished at ")));

  // Reset, then Convert: the run takes the defaults at once.
  w->setup.btnResetCleanData->click();
  w->epw.btnProcEPW->click();
  QVERIFY(rec.errors.isEmpty());
  QVERIFY(QFile::exists(dir.file(QStringLiteral("out/Golden.bin"))));
  QCOMPARE(w->settings().limits, CleaningLimits::Defaults());
}

KESTRUM_GUI_TEST(ConversionTest);
#include "conversion_test.moc"

void ConversionTest::epwBoxWritesTheRepairedYearBesideTheBin() {
  test::ProgramDir dir;
  test::DialogRecorder rec;
  auto w = test::MakeWindow(dir, rec);
  for (QCheckBox* box : {w->epw.cbEPWWriteEpw, w->csv.cbCSVWriteEpw}) {
    QCOMPARE(box->text(), QStringLiteral("Also write the repaired year as EPW"));
    QVERIFY(!box->isChecked());
  }
  PrepareSampleRun(*w, dir);
  w->epw.edEPWBinName->setText(QStringLiteral("Golden.BIN"));
  w->epw.cbEPWWriteEpw->setChecked(true);
  w->epw.btnProcEPW->click();
  QVERIFY2(rec.errors.isEmpty(), qPrintable(rec.errors.join(QLatin1Char('\n'))));
  const QString epw = dir.file(QStringLiteral("out/Golden.epw"));
  QVERIFY(QFile::exists(epw));
  QVERIFY(w->epw.memEPW->toPlainText().contains(QStringLiteral("  EPW file written to ") + epw));
  // The rows of an undamaged file come out as they went in.
  const QByteArray source = test::ReadFileBytes(test::SampleEpw());
  const QByteArray written = test::ReadFileBytes(epw);
  QCOMPARE(written.mid(written.indexOf("DATA PERIODS")), source.mid(source.indexOf("DATA PERIODS")));

  // Each tab's box has its own key in the settings file.
  w->close();
  const QByteArray ini = test::ReadFileBytes(ui::ToQ(dir.paths().settingsFile));
  QVERIFY(ini.contains("\r\nEPWWriteEpw=1\r\n"));
  QVERIFY(ini.contains("\r\nCSVWriteEpw=0\r\n"));
}
