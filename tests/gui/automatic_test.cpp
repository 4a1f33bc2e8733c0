// Automatic mode: which first argument selects it, which conversion it runs, and how the
// program ends (log lines, the "exiting" notice, exit status, settings file untouched).
#include <QFile>
#include <QPlainTextEdit>
#include <QtTest>

#include "gui_test_support.h"
#include "ui/automatic_run.h"
#include "ui/qt_text.h"

using namespace kestrum;

class AutomaticTest : public QObject {
  Q_OBJECT

 private slots:
  void onlyTheFirstArgumentSelectsIt_data();
  void onlyTheFirstArgumentSelectsIt();
  void requiredCsvColumnsFollowTheLayout();
  void branchChoice();
  void runsTheStoredEpwConversionAndExits();
  void runsTheStoredCsvConversionWithoutAnEpwFile();
  void nothingToConvertIsLoggedWithItsReasons();
  void raisedErrorIsLoggedWithTheFinishLine();
  void secondArgumentDoesNotSelectIt();
};

namespace {

QStringList EpwSettings(const test::ProgramDir& dir, const QString& epwFile) {
  return {QStringLiteral("[Form]"), QStringLiteral("Top=100"), QStringLiteral("Left=100"),
          kestrum::test::ProgramDir::section(kEpwSection), QStringLiteral("EWPFileName=") + epwFile,
          QStringLiteral("EPWBinDir=") + dir.makeDir(QStringLiteral("out")),
          QStringLiteral("[SetUp]"), QStringLiteral("InterimPath=") + dir.makeDir(QStringLiteral("interim")),
          QStringLiteral("ClearResults=1")};
}

QString LogText(const test::ProgramDir& dir) {
  return QString::fromUtf8(test::ReadFileBytes(ui::ToQ(dir.paths().defaultLogFile)));
}

// Starts the window as main() does and waits for it to ask for the end of the program.
void RunToExit(ui::TForm1& w, test::DialogRecorder& rec) {
  w.Start();
  QTRY_VERIFY_WITH_TIMEOUT(rec.quitStatus.has_value(), 120000);
}

}  // namespace

void AutomaticTest::onlyTheFirstArgumentSelectsIt_data() {
  QTest::addColumn<QStringList>("arguments");
  QTest::addColumn<bool>("automatic");
  QTest::newRow("none") << QStringList() << false;
  QTest::newRow("/A") << QStringList({"/A"}) << true;
  QTest::newRow("/a") << QStringList({"/a"}) << true;
  QTest::newRow("/Auto") << QStringList({"/Auto"}) << true;
  QTest::newRow("inside") << QStringList({"x/ay"}) << true;
  QTest::newRow("-a") << QStringList({"-a"}) << false;
  QTest::newRow("second") << QStringList({"file.epw", "/A"}) << false;
  QTest::newRow("empty first") << QStringList({"", "/A"}) << false;
}

void AutomaticTest::onlyTheFirstArgumentSelectsIt() {
  QFETCH(QStringList, arguments);
  QFETCH(bool, automatic);
  QCOMPARE(ui::IsAutomaticMode(arguments), automatic);
}

void AutomaticTest::requiredCsvColumnsFollowTheLayout() {
  // Date items, dry bulb, moisture, horizontal solar, [direct normal], wind speed, direction.
  QCOMPARE(ui::RequiredCsvColumns(0, 0), 6);
  QCOMPARE(ui::RequiredCsvColumns(0, 1), 7);
  QCOMPARE(ui::RequiredCsvColumns(1, 0), 8);
  QCOMPARE(ui::RequiredCsvColumns(1, 1), 9);
  QCOMPARE(ui::RequiredCsvColumns(2, 0), 5);
  QCOMPARE(ui::RequiredCsvColumns(2, 1), 6);
  QCOMPARE(ui::RequiredCsvColumns(3, 0), -1);
  QCOMPARE(ui::RequiredCsvColumns(1, 2), -1);  // cloud cover is refused
}

void AutomaticTest::branchChoice() {
  test::ProgramDir dir;
  Settings s = Settings::Defaults(dir.paths());
  const QString csvFile = dir.file(QStringLiteral("site.csv"));
  test::WriteFileBytes(csvFile, "1\r\n");

  ui::AutoChoice none = ui::ChooseAutomaticRun(s);
  QCOMPARE(none.branch, ui::AutoBranch::None);
  QCOMPARE(none.reasons.size(), size_t(3));
  QCOMPARE(none.reasons.back(), std::string("     Automatic run: nothing was converted."));

  s.csvFileName = ui::ToStd(csvFile);
  s.csvFieldMap.dateInd = 2;
  s.csvFieldMap.solarInd = 0;
  for (int i = 0; i < 5; ++i) s.csvFieldMap.columns[i] = std::to_string(i + 1);
  QCOMPARE(ui::ChooseAutomaticRun(s).branch, ui::AutoBranch::Csv);
  QVERIFY(ui::StoredFieldMapComplete(s));
  s.csvFieldMap.columns[5] = "";  // an optional column may stay empty
  QVERIFY(ui::StoredFieldMapComplete(s));
  s.csvFieldMap.columns[4] = "x";  // a required one may not
  QVERIFY(!ui::StoredFieldMapComplete(s));
  const ui::AutoChoice incomplete = ui::ChooseAutomaticRun(s);
  QCOMPARE(incomplete.branch, ui::AutoBranch::None);
  QVERIFY(incomplete.reasons[1].find("field specification") != std::string::npos);
  QVERIFY(incomplete.reasons[1].find("\"WindDir\"") != std::string::npos);

  // The EPW file comes first when it exists.
  s.epwFileName = ui::ToStd(test::SampleEpw());
  QCOMPARE(ui::ChooseAutomaticRun(s).branch, ui::AutoBranch::Epw);
  s.epwFileName = ui::ToStd(dir.file(QStringLiteral("gone.epw")));
  const ui::AutoChoice gone = ui::ChooseAutomaticRun(s);
  QCOMPARE(gone.branch, ui::AutoBranch::None);
  QVERIFY(gone.reasons[0].find("gone.epw does not exist") != std::string::npos);
}

void AutomaticTest::runsTheStoredEpwConversionAndExits() {
  test::ProgramDir dir;
  dir.writeSettings(EpwSettings(dir, test::SampleEpw()));
  const QByteArray settingsBefore = test::ReadFileBytes(ui::ToQ(dir.paths().settingsFile));
  test::WriteFileBytes(ui::ToQ(dir.paths().defaultLogFile), "an earlier session\r\n");
  test::DialogRecorder rec;
  auto w = test::MakeWindow(dir, rec, {QStringLiteral("/a")});
  QVERIFY(w->automaticMode());
  RunToExit(*w, rec);

  QCOMPARE(*rec.quitStatus, ui::kAutoExitConverted);
  QCOMPARE(w->exitStatus(), std::optional<int>(0));
  QCOMPARE(rec.notices, QStringList({QStringLiteral("exiting")}));
  QVERIFY2(rec.errors.isEmpty(), qPrintable(rec.errors.join(QLatin1Char('\n'))));
  QVERIFY(w->isMinimized());
  QVERIFY(QFile::exists(dir.file(QStringLiteral("out/USA_CO_Golden-NREL.724666_TMY3.bin"))));
  const QString log = LogText(dir);
  QVERIFY(log.startsWith(QStringLiteral("Processing started at ")));  // "Rewrite File" is on at start
  QVERIFY(log.contains(QStringLiteral("\r\nProcessing finished at ")));
  QVERIFY(!w->epw.memEPW->toPlainText().isEmpty());

  // Ending the program after an automatic run neither saves nor clears.
  w->close();
  QCOMPARE(test::ReadFileBytes(ui::ToQ(dir.paths().settingsFile)), settingsBefore);
  QVERIFY(QFile::exists(dir.file(QStringLiteral("interim/USA_CO_Golden-NREL.724666_TMY3.ft"))));
}

void AutomaticTest::runsTheStoredCsvConversionWithoutAnEpwFile() {
  test::ProgramDir dir;
  const QString out = dir.makeDir(QStringLiteral("out"));
  dir.writeSettings({test::ProgramDir::section(kCsvSection), "CSVFileName=" + test::SampleCsv(),
                     "CSVBinDir=" + out, "CSVdesc=GREENSBORO", "CSVlat=36.1", "CSVlong=-79.95",
                     "CSVtz=-5", "CSVelev=273", "FirstRow=3", "DateInd=2", "MoistInd=0",
                     "SolarInd=1", "DBTunits=1", "MoistUnits=1", "WindUnits=2", "CSVgridCol1=32",
                     "CSVgridCol2=35", "CSVgridCol3=5", "CSVgridCol4=8", "CSVgridCol5=47",
                     "CSVgridCol6=44", "[SetUp]", "InterimPath=" + dir.makeDir("interim")});
  test::DialogRecorder rec;
  auto w = test::MakeWindow(dir, rec, {QStringLiteral("/A")});
  RunToExit(*w, rec);
  QVERIFY2(rec.errors.isEmpty(), qPrintable(rec.errors.join(QLatin1Char('\n'))));
  QCOMPARE(*rec.quitStatus, ui::kAutoExitConverted);
  QVERIFY(QFile::exists(out + QStringLiteral("/723170TYA.bin")));
  QVERIFY(w->csv.memCSV->toPlainText().contains(QStringLiteral("loaded successfully from CSV")));
}

void AutomaticTest::nothingToConvertIsLoggedWithItsReasons() {
  test::ProgramDir dir;
  dir.writeSettings({kestrum::test::ProgramDir::section(kEpwSection), QStringLiteral("EWPFileName=")});
  test::DialogRecorder rec;
  auto w = test::MakeWindow(dir, rec, {QStringLiteral("/A")});
  RunToExit(*w, rec);
  QCOMPARE(*rec.quitStatus, ui::kAutoExitError);
  QCOMPARE(rec.notices, QStringList({QStringLiteral("exiting")}));
  const QString log = LogText(dir);
  QVERIFY(log.startsWith(QStringLiteral("Processing started at ")));
  QVERIFY(log.contains(QStringLiteral("\r\n     Automatic run: no EPW file is stored in the settings.\r\n")));
  QVERIFY(log.contains(QStringLiteral("\r\n     Automatic run: nothing was converted.\r\nProcessing finished at ")));
}

void AutomaticTest::raisedErrorIsLoggedWithTheFinishLine() {
  test::ProgramDir dir;
  dir.writeSettings(EpwSettings(dir, test::BrokenEpw(dir.path(), 30)));
  const QByteArray settingsBefore = test::ReadFileBytes(ui::ToQ(dir.paths().settingsFile));
  test::DialogRecorder rec;
  auto w = test::MakeWindow(dir, rec, {QStringLiteral("/A")});
  RunToExit(*w, rec);
  QCOMPARE(*rec.quitStatus, ui::kAutoExitError);
  QVERIFY(rec.errors.isEmpty());  // nobody would be there to answer a message box
  QCOMPARE(rec.notices, QStringList({QStringLiteral("exiting")}));
  const QString log = LogText(dir);
  QVERIFY(log.startsWith(QStringLiteral("Processing started at ")));
  const qsizetype stopped = log.indexOf(QStringLiteral("\r\n  Conversion stopped: "));
  QVERIFY(stopped > 0);
  QVERIFY(log.indexOf(QStringLiteral("Broken.epw"), stopped) > 0);
  QVERIFY(log.indexOf(QStringLiteral("\r\nProcessing finished at "), stopped) > 0);
  QCOMPARE(log.count(QStringLiteral("Processing finished at ")), 1);
  w->close();
  QCOMPARE(test::ReadFileBytes(ui::ToQ(dir.paths().settingsFile)), settingsBefore);
}

void AutomaticTest::secondArgumentDoesNotSelectIt() {
  test::ProgramDir dir;
  dir.writeSettings(EpwSettings(dir, test::SampleEpw()));
  test::DialogRecorder rec;
  auto w = test::MakeWindow(dir, rec, {QStringLiteral("notes.txt"), QStringLiteral("/A")});
  QVERIFY(!w->automaticMode());
  w->Start();
  QTest::qWait(50);
  w->AutoRunOnIdle();  // even if called, it does nothing outside automatic mode
  QVERIFY(!rec.quitStatus.has_value());
  QVERIFY(rec.notices.isEmpty());
  QVERIFY(!w->isMinimized());
  QVERIFY(!QFile::exists(ui::ToQ(dir.paths().defaultLogFile)));
  w->hide();
}

KESTRUM_GUI_TEST(AutomaticTest);
#include "automatic_test.moc"
