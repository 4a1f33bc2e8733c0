// The layout of a picked CSV file, offered on the CSV tab: accepted and committed with
// "Done", the file converts as `kestrum-cli convert FILE --layout auto` converts it (the
// same review file, the same ".bin", the same warnings); declined, or cancelled in the
// field window, the tab stays as without the offer; a file lacking an item is offered
// with it named; the preview's column numbers carry the file's headers as tooltips.
#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QtTest>

#include "gui_test_support.h"
#include "ui/qt_text.h"

using namespace kestrum;

class LayoutOfferTest : public QObject {
  Q_OBJECT

 private slots:
  void acceptedLayoutConvertsAsTheCommandLine_data();
  void acceptedLayoutConvertsAsTheCommandLine();
  void declinedOrCancelledLeavesTheTabAsBefore_data();
  void declinedOrCancelledLeavesTheTabAsBefore();
  void aMissingItemIsNamedInTheOfferAndTheFieldWindow();
  void previewColumnsCarryTheirHeaders_data();
  void previewColumnsCarryTheirHeaders();
};

namespace {

QString TestData(const char* name) {
  return QStringLiteral(KESTRUM_TEST_DATA "/") + QLatin1String(name);
}
const char* const kPsm = "csv/NSRDB_PSM3_401182_2017_30min.csv";
const char* const kPvgis = "pvgis/PVGIS_TMY_45.000_8.000_2005_2023.csv";

QString Offer(const QString& description) {
  return QStringLiteral("This looks like ") + description + QStringLiteral(": use its layout?");
}

// The one file of dir that matches pattern; empty when there is not exactly one.
QByteArray OnlyFile(const QString& dir, const QString& pattern) {
  const QStringList names = QDir(dir).entryList({pattern}, QDir::Files);
  return names.size() == 1 ? test::ReadFileBytes(QDir(dir).filePath(names[0])) : QByteArray();
}

QStringList SiteFields(const ui::TForm1& w) {
  return {w.csv.ledCSVdesc->text(), w.csv.ledCSVlat->text(), w.csv.ledCSVlon->text(),
          w.csv.ledCSVtz->text(), w.csv.ledCSVelev->text()};
}

}  // namespace

void LayoutOfferTest::acceptedLayoutConvertsAsTheCommandLine_data() {
  QTest::addColumn<QString>("file");
  QTest::addColumn<QString>("description");
  QTest::addColumn<QStringList>("site");
  QTest::addColumn<int>("shift");
  QTest::addColumn<QString>("note");  // a warning only the layout's notes give
  QTest::newRow("TMY3") << test::SampleCsv() << "a TMY3 file (hourly, local time)"
                        << QStringList{"GREENSBORO PIEDMONT TRIAD INT", "36.100", "-79.950", "-5.0", "273"}
                        << 0 << QString();
  QTest::newRow("PSM half-hourly") << TestData(kPsm) << "an NSRDB PSM file (half-hourly, local time)"
                                   << QStringList{"NSRDB 401182", "40.53", "-108.54", "-7", "2168"} << 0
                                   << QString();
  QTest::newRow("PVGIS in UTC")
      << TestData(kPvgis) << "a PVGIS TMY file (hourly, UTC)"
      << QStringList{"PVGIS 45.000, 8.000", "45.000", "8.000", "1", "250.0"} << 1
      << "The file states no time zone: 1 h, its longitude 8.000 / 15 rounded, is taken for its site.";
}

void LayoutOfferTest::acceptedLayoutConvertsAsTheCommandLine() {
  QFETCH(QString, file);
  QFETCH(QString, description);
  QFETCH(QStringList, site);
  QFETCH(int, shift);
  QFETCH(QString, note);
  test::ProgramDir dir;
  test::DialogRecorder rec;
  rec.questionAnswers = {true};
  auto w = test::MakeWindow(dir, rec);
  const QString out = dir.makeDir(QStringLiteral("out"));
  const QString interim = dir.makeDir(QStringLiteral("interim"));
  w->csv.edCSVdir->setText(out);
  w->setup.edInterimPath->setText(interim);
  w->show();

  w->csvActions().UseCSVFile(file);
  QCOMPARE(rec.questions, QStringList{Offer(description)});
  TfrmFieldSpecs* fields = w->csvActions().fieldSpecs();
  QVERIFY(fields != nullptr && fields->isVisible() && fields->preview() != nullptr);
  QCOMPARE(fields->lblFldMissing->text(), QStringLiteral("[completed]"));
  QCOMPARE(SiteFields(*w), site);
  QCOMPARE(w->csv.seCSVTimeShift->value(), shift);
  fields->btnDone->click();
  QCOMPARE(w->csv.lblFldCompleted->text(), QStringLiteral("[completed]"));
  QVERIFY(w->csv.btnProcCSV->isEnabled());
  RunOutcome outcome;
  try {
    outcome = w->RunConversion(RunBranch::Csv);
  } catch (const std::exception& e) {
    QFAIL(e.what());
  }
  QVERIFY(outcome.converted);

  const QString cli = dir.makeDir(QStringLiteral("cli"));
  QProcess run;
  run.setWorkingDirectory(cli);
  run.start(QStringLiteral(KESTRUM_BIN_DIR "/kestrum-cli"),
            {"convert", file, "--layout", "auto", "--out", cli, "-q", "--report", cli + "/r.json"});
  QVERIFY(run.waitForFinished(60000));
  QVERIFY2(run.exitCode() == 0, run.readAllStandardError().constData());
  const QByteArray orig = OnlyFile(interim, QStringLiteral("*-orig.csv"));
  QVERIFY(!orig.isEmpty());
  QCOMPARE(orig, OnlyFile(cli, QStringLiteral("*-orig.csv")));
  const QByteArray bin = OnlyFile(out, QStringLiteral("*.bin"));
  QVERIFY(!bin.isEmpty());
  QVERIFY(bin == OnlyFile(cli, QStringLiteral("*.bin")));
  QStringList cliWarnings;
  const QJsonObject report = QJsonDocument::fromJson(test::ReadFileBytes(cli + "/r.json")).object();
  for (const QJsonValue& warning : report.value(QStringLiteral("warnings")).toArray()) {
    cliWarnings << warning.toString();
  }
  QStringList warnings;
  for (const std::string& warning : outcome.warnings) warnings << ui::ToQ(warning);
  QCOMPARE(warnings, cliWarnings);
  if (!note.isEmpty()) {
    QVERIFY2(warnings.join('\n').contains(note), qPrintable(warnings.join('\n')));
    QVERIFY(w->csv.memCSV->toPlainText().contains(note));
  }

  // Another file: its own layout or none, the notes of this one gone with it.
  QVERIFY(w->csvActions().takenLayout() != nullptr);
  w->csvActions().UseCSVFile(test::TenByTen(dir));
  QCOMPARE(rec.questions.size(), 1);
  QCOMPARE(w->csvActions().takenLayout(), nullptr);
  QVERIFY(w->csvActions().LayoutNotes(w->settings().csvSite, shift).empty());
  w->hide();
}

void LayoutOfferTest::declinedOrCancelledLeavesTheTabAsBefore_data() {
  QTest::addColumn<bool>("accept");  // then "Cancel" in the field window
  QTest::newRow("No") << false;
  QTest::newRow("Yes, then Cancel") << true;
}

void LayoutOfferTest::declinedOrCancelledLeavesTheTabAsBefore() {
  QFETCH(bool, accept);
  test::ProgramDir dir;
  test::DialogRecorder rec;
  rec.questionAnswers = {accept};
  auto w = test::MakeWindow(dir, rec);
  w->show();
  w->csvActions().UseCSVFile(TestData(kPvgis));
  QCOMPARE(rec.questions.size(), 1);
  if (accept) {
    QCOMPARE(w->csv.seCSVTimeShift->value(), 1);
    w->csvActions().fieldSpecs()->btnCancel->click();
  }
  QCOMPARE(w->csvActions().fieldSpecs(), nullptr);
  QCOMPARE(SiteFields(*w), QStringList(5));
  QCOMPARE(w->csv.seCSVTimeShift->value(), 0);
  QCOMPARE(w->settings().csvTimeShift, 0);
  QCOMPARE(w->settings().csvSite.timeZone, std::string());
  QCOMPARE(w->settings().csvFieldMap.columns, CsvResetFieldMap().columns);
  QCOMPARE(w->settings().csvFieldMap.firstRow, 1);
  QCOMPARE(w->csvActions().takenLayout(), nullptr);
  QCOMPARE(w->csv.lblFldCompleted->text(), QStringLiteral("[not yet completed]"));
  // The field window then opens on the reset field map, and names all it lacks.
  w->csv.btnFieldSpecs->click();
  QCOMPARE(w->csvActions().fieldSpecs()->lblFldMissing->text(),
           QStringLiteral("[not yet completed: Month, Day, Hour, DBTemp, WetBlb, SolarHor, WindSpd, WindDir]"));
  w->csvActions().fieldSpecs()->btnCancel->click();
  w->hide();
}

void LayoutOfferTest::aMissingItemIsNamedInTheOfferAndTheFieldWindow() {
  // The PSM file with its wind direction column headed otherwise (its first rows suffice).
  QList<QByteArray> lines = test::ReadFileBytes(TestData(kPsm)).split('\n').mid(0, 60);
  QVERIFY(lines[2].contains("Wind Direction,"));
  lines[2].replace("Wind Direction,", "Wind Gust,");
  test::ProgramDir dir;
  const QString file = dir.file(QStringLiteral("nowind.csv"));
  test::WriteFileBytes(file, lines.join('\n'));
  test::DialogRecorder rec;
  rec.questionAnswers = {true};
  auto w = test::MakeWindow(dir, rec);
  w->show();
  w->csvActions().UseCSVFile(file);
  QCOMPARE(rec.questions,
           QStringList{Offer(QStringLiteral("an NSRDB PSM file (half-hourly, local time)")) +
                       QStringLiteral("\n\nIt lacks WindDir (no column is headed \"Wind Direction\"): the "
                                      "field specification window will need a column for it.")});
  TfrmFieldSpecs* fields = w->csvActions().fieldSpecs();
  QVERIFY(fields != nullptr);
  QCOMPARE(fields->lblFldMissing->text(), QStringLiteral("[not yet completed: WindDir]"));
  // Pointing at a column completes it.
  QCOMPARE(fields->target().kind, FieldMapTarget::Slot);
  fields->SelectSlot(CsvSlotOf(fields->layout(), CsvItem::WindDirection));
  test::DoubleClickCell(*fields->preview(), 4, 18);
  QCOMPARE(fields->lblFldMissing->text(), QStringLiteral("[completed]"));
  fields->btnCancel->click();
  w->hide();
}

void LayoutOfferTest::previewColumnsCarryTheirHeaders_data() {
  QTest::addColumn<bool>("tmy3");  // else the ten-by-ten file, of no layout
  QTest::addColumn<int>("firstRow");
  QTest::addColumn<int>("column");
  QTest::addColumn<QString>("tip");
  QTest::newRow("TMY3: its header line") << true << 1 << 32 << "Dry-bulb (C)";
  QTest::newRow("TMY3, first row elsewhere: still its header line") << true << 6 << 1
                                                                     << "Date (MM/DD/YYYY)";
  QTest::newRow("no layout: the line above the first row") << false << 4 << 2 << "r3c2";
  QTest::newRow("no layout, data from line 1: none") << false << 1 << 2 << "";
}

void LayoutOfferTest::previewColumnsCarryTheirHeaders() {
  QFETCH(bool, tmy3);
  QFETCH(int, firstRow);
  QFETCH(int, column);
  QFETCH(QString, tip);
  test::ProgramDir dir;
  test::DialogRecorder rec;  // the offer declined
  auto w = test::MakeWindow(dir, rec);
  w->show();
  w->csvActions().UseCSVFile(tmy3 ? test::SampleCsv() : test::TenByTen(dir));
  QCOMPARE(rec.questions.size(), tmy3 ? 1 : 0);
  w->csv.btnFieldSpecs->click();
  TfrmFieldSpecs* fields = w->csvActions().fieldSpecs();
  fields->seFirstRow->setValue(firstRow);
  const QTableWidgetItem* header = fields->preview()->sgXLS->horizontalHeaderItem(column - 1);
  QCOMPARE(header->text(), QString::number(column));
  QCOMPARE(header->toolTip(), tip);
  QCOMPARE(fields->preview()->sgXLS->model()->headerData(column - 1, Qt::Horizontal, Qt::ToolTipRole).toString(),
           tip);
  fields->btnCancel->click();
  w->hide();
}

KESTRUM_GUI_TEST(LayoutOfferTest);
#include "layout_offer_test.moc"
