// The time controls: "Shift hours by:" and its "UTC" button on both conversion tabs, and in
// the field window what becomes of rows that share an hour and what a one-field date marks.
// Each reaches the run and the settings file; only "Done" commits the field window's.
#include <QButtonGroup>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QtTest>
#include <array>
#include <cmath>
#include <optional>

#include "gui_test_support.h"
#include "run/hour_placement.h"
#include "ui/qt_text.h"

using namespace kestrum;

class TimeControlsTest : public QObject {
  Q_OBJECT

 private slots:
  void shiftMovesEveryRowOfTheRun_data();
  void shiftMovesEveryRowOfTheRun();
  void shiftsSurviveCloseAndStart();
  void utcTakesAWholeHourTimeZone_data();
  void utcTakesAWholeHourTimeZone();
  void newFileStartsUnshifted();
  void hourChoicesCommitOnDoneOnly_data();
  void hourChoicesCommitOnDoneOnly();
  void stampsOnlyForTheOneFieldDate();
  void averagingAHalfHourlyFileGivesHourlyMeans();
};

namespace {

using Fields = QList<QByteArray>;

// The lines of a text file from line `first` (counted from 1) on, split at commas, blank
// lines left out.
QList<Fields> Rows(const QString& path, int first) {
  QList<Fields> rows;
  const QList<QByteArray> lines = test::ReadFileBytes(path).split('\n');
  for (qsizetype i = first - 1; i < lines.size(); ++i) {
    const QByteArray line = lines[i].trimmed();
    if (!line.isEmpty()) rows.append(line.split(','));
  }
  return rows;
}

double Number(const QByteArray& field) { return field.trimmed().toDouble(); }

// A year of half-hourly rows by month, day and hour (1..24), two rows per hour, with a
// header line: Month,Day,Hour,DB (F),DP (F),GHI (W/m2),WS (mph),WD. Hour h of the year
// has a = 20 + h % 50; its rows hold (a, a - 10, 0, 4, 90) and (a + 10, a, 100, 6, 90).
QString HalfHourlyYear(const test::ProgramDir& dir) {
  constexpr std::array<int, 12> kDays = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  QByteArray text = "Month,Day,Hour,DB,DP,GHI,WS,WD\r\n";
  int h = 0;
  for (int month = 1; month <= 12; ++month) {
    for (int day = 1; day <= kDays[month - 1]; ++day) {
      for (int hour = 1; hour <= 24; ++hour) {
        const int a = 20 + ++h % 50;
        const QByteArray date = QByteArray::number(month) + ',' + QByteArray::number(day) + ',' +
                                QByteArray::number(hour) + ',';
        text += date + QByteArray::number(a) + ',' + QByteArray::number(a - 10) + ",0,4,90\r\n";
        text += date + QByteArray::number(a + 10) + ',' + QByteArray::number(a) + ",100,6,90\r\n";
      }
    }
  }
  const QString path = dir.file(QStringLiteral("halfhourly.csv"));
  test::WriteFileBytes(path, text);
  return path;
}

// A field window of its own (no main window) on file, from stored.
std::unique_ptr<TfrmFieldSpecs> FieldWindow(const CsvFieldMap& stored, const QString& file,
                                            TfrmFieldSpecs::Hooks hooks = {}) {
  auto window = std::make_unique<TfrmFieldSpecs>(stored, ui::ToStd(file), std::move(hooks));
  window->setAttribute(Qt::WA_DeleteOnClose, false);
  return window;
}

}  // namespace

void TimeControlsTest::shiftMovesEveryRowOfTheRun_data() {
  QTest::addColumn<bool>("epw");
  QTest::newRow("EPW tab") << true;
  QTest::newRow("CSV tab") << false;
}

// Shift 1: the row of hour s lands on hour s + 1, the year's last row on hour 1. The
// review file of the values as read shows it (the dry bulb and dew point, both in deg C in
// the two sample files, in deg F there).
void TimeControlsTest::shiftMovesEveryRowOfTheRun() {
  QFETCH(bool, epw);
  test::ProgramDir dir;
  const QString out = dir.makeDir(QStringLiteral("out"));
  if (!epw) dir.writeSettings(test::Tmy3Settings(out));
  test::DialogRecorder rec;
  auto w = test::MakeWindow(dir, rec);
  const QString interim = dir.makeDir(QStringLiteral("interim"));
  w->setup.edInterimPath->setText(interim);
  QSpinBox* shift = epw ? w->epw.seEPWTimeShift : w->csv.seCSVTimeShift;
  if (epw) {
    w->UseEPWFile(test::SampleEpw());
    w->epw.edEPWdir->setText(out);
  } else {
    w->setFieldMapComplete(true);
    w->FormActivate();
  }
  QCOMPARE(shift->value(), 0);
  QTest::keyClick(shift, Qt::Key_Up);
  (epw ? w->epw.btnProcEPW : w->csv.btnProcCSV)->click();
  QVERIFY2(rec.errors.isEmpty(), qPrintable(rec.errors.join(QLatin1Char('\n'))));
  QCOMPARE(epw ? w->settings().epwTimeShift : w->settings().csvTimeShift, 1);

  const QString base = epw ? QStringLiteral("USA_CO_Golden-NREL.724666_TMY3") : QStringLiteral("723170TYA");
  const QList<Fields> read = Rows(interim + QLatin1Char('/') + base + QStringLiteral("-orig.csv"), 3);
  const QList<Fields> source = Rows(epw ? test::SampleEpw() : test::SampleCsv(), epw ? 9 : 3);
  const int dryBulb = epw ? 6 : 31;
  const int dewPoint = epw ? 7 : 34;
  QCOMPARE(read.size(), kHoursPerYear);
  QCOMPARE(source.size(), kHoursPerYear);
  QCOMPARE(read[1].mid(0, 3), Fields({"1", "1", "2"}));
  for (int32_t s = 1; s <= kHoursPerYear; ++s) {
    const Fields& row = read[ShiftedHour(s, 1) - 1];
    for (const auto& [field, column] : {std::pair{dryBulb, 3}, std::pair{dewPoint, 4}}) {
      const double expected = Number(source[s - 1][field]) * 1.8 + 32.0;
      if (std::fabs(Number(row[column]) - expected) > 0.011) {
        QFAIL(qPrintable(QStringLiteral("hour %1 of the file: %2 F expected, the run has %3 on hour %4")
                             .arg(s).arg(expected).arg(QString::fromLatin1(row[column])).arg(ShiftedHour(s, 1))));
      }
    }
  }
}

// A saved shift stays until the user changes it: a start shows it, a close saves it again.
void TimeControlsTest::shiftsSurviveCloseAndStart() {
  test::ProgramDir dir;
  dir.writeSettings({test::ProgramDir::section(kEpwSection), QStringLiteral("EPWTimeShift=-7"),
                     test::ProgramDir::section(kCsvSection), QStringLiteral("CSVTimeShift=3")});
  const QString ini = ui::ToQ(dir.paths().settingsFile);
  test::DialogRecorder rec;
  auto w = test::MakeWindow(dir, rec);
  QCOMPARE(w->epw.seEPWTimeShift->value(), -7);
  QCOMPARE(w->csv.seCSVTimeShift->value(), 3);
  QVERIFY(w->close());
  QVERIFY(test::ReadFileBytes(ini).contains("\r\nEPWTimeShift=-7\r\n"));
  QVERIFY(test::ReadFileBytes(ini).contains("\r\nCSVTimeShift=3\r\n"));

  w = test::MakeWindow(dir, rec);
  w->epw.seEPWTimeShift->setValue(5);
  w->csv.seCSVTimeShift->setValue(0);
  QVERIFY(w->close());
  QVERIFY(test::ReadFileBytes(ini).contains("\r\nEPWTimeShift=5\r\n"));
  QVERIFY(test::ReadFileBytes(ini).contains("\r\nCSVTimeShift=0\r\n"));
  w = test::MakeWindow(dir, rec);
  QCOMPARE(w->epw.seEPWTimeShift->value(), 5);
  QCOMPARE(w->csv.seCSVTimeShift->value(), 0);
  QVERIFY(rec.errors.isEmpty() && rec.saveFailures.isEmpty());
}

void TimeControlsTest::utcTakesAWholeHourTimeZone_data() {
  QTest::addColumn<QString>("zone");
  QTest::addColumn<std::optional<int>>("shift");  // nullopt: "UTC" disabled
  QTest::newRow("Colorado") << "-7.0" << std::optional<int>(-7);
  QTest::newRow("half an hour") << "5.5" << std::optional<int>();
  QTest::newRow("empty") << "" << std::optional<int>();
}

void TimeControlsTest::utcTakesAWholeHourTimeZone() {
  QFETCH(QString, zone);
  QFETCH(std::optional<int>, shift);
  test::ProgramDir dir;
  test::DialogRecorder rec;
  auto w = test::MakeWindow(dir, rec);
  const std::array<std::tuple<QLineEdit*, QSpinBox*, QPushButton*>, 2> tabs = {
      std::tuple{w->epw.ledEPWtz, w->epw.seEPWTimeShift, w->epw.btnEPWutc},
      std::tuple{w->csv.ledCSVtz, w->csv.seCSVTimeShift, w->csv.btnCSVutc}};
  for (const auto& [timeZone, spin, utc] : tabs) {
    spin->setValue(3);
    timeZone->setText(QStringLiteral("1"));
    timeZone->setText(zone);
    QCOMPARE(utc->isEnabled(), shift.has_value());
    utc->click();
    QCOMPARE(spin->value(), shift.value_or(3));
  }
  // Each tab's button takes its own tab's time zone.
  w->epw.ledEPWtz->setText(QStringLiteral("-8"));
  w->csv.ledCSVtz->setText(QStringLiteral("-5"));
  w->csv.btnCSVutc->click();
  QCOMPARE(w->csv.seCSVTimeShift->value(), -5);
  QCOMPARE(w->epw.seEPWTimeShift->value(), shift.value_or(3));
}

// Another source file has a clock of its own: its shift starts at 0, and the CSV file's
// field map, the rules for shared hours and time stamps included, starts afresh.
void TimeControlsTest::newFileStartsUnshifted() {
  test::ProgramDir dir;
  dir.writeSettings({test::ProgramDir::section(kEpwSection), QStringLiteral("EPWTimeShift=-7"),
                     test::ProgramDir::section(kCsvSection),
                     QStringLiteral("CSVFileName=") + test::SampleCsv(), QStringLiteral("CSVTimeShift=-5"),
                     QStringLiteral("Subhourly=1"), QStringLiteral("TimeStamps=1")});
  test::DialogRecorder rec;
  auto w = test::MakeWindow(dir, rec);
  QCOMPARE(w->settings().csvFieldMap.subhourly, kSubhourlyMean);
  QCOMPARE(w->settings().csvFieldMap.timeStamps, kStampsBeginning);
  w->UseEPWFile(test::SampleEpw());
  QCOMPARE(w->epw.seEPWTimeShift->value(), 0);
  QCOMPARE(w->csv.seCSVTimeShift->value(), -5);  // the other tab keeps its own
  w->csvActions().UseCSVFile(test::TenByTen(dir));
  QCOMPARE(w->csv.seCSVTimeShift->value(), 0);
  QCOMPARE(w->settings().csvTimeShift, 0);
  QCOMPARE(w->settings().csvFieldMap.subhourly, kSubhourlyLast);
  QCOMPARE(w->settings().csvFieldMap.timeStamps, kStampsEnding);
}

void TimeControlsTest::hourChoicesCommitOnDoneOnly_data() {
  QTest::addColumn<QString>("how");
  QTest::addColumn<bool>("committed");
  QTest::newRow("Done") << "done" << true;
  QTest::newRow("Cancel") << "cancel" << false;
  QTest::newRow("close box") << "close" << false;
}

void TimeControlsTest::hourChoicesCommitOnDoneOnly() {
  QFETCH(QString, how);
  QFETCH(bool, committed);
  test::ProgramDir dir;
  CsvFieldMap stored;
  stored.dateInd = kDateOneField;
  stored.columns = {"1", "2", "3", "4", "5", "6"};
  std::optional<CsvFieldMap> commit;
  TfrmFieldSpecs::Hooks hooks;
  hooks.commit = [&commit](const CsvFieldMap& m) { commit = m; };
  auto w = FieldWindow(stored, test::TenByTen(dir), std::move(hooks));
  w->show();
  QCOMPARE(w->subhourlyChoice->checkedId(), kSubhourlyLast);
  QCOMPARE(w->timeStampChoice->checkedId(), kStampsEnding);
  QCOMPARE(w->subhourlyChoice->button(kSubhourlyMean)->text(), QStringLiteral("Average them"));
  QCOMPARE(w->timeStampChoice->button(kStampsBeginning)->text(), QStringLiteral("Start of hour"));
  QVERIFY(!w->HasUncommittedChanges());

  w->subhourlyChoice->button(kSubhourlyMean)->click();
  w->timeStampChoice->button(kStampsBeginning)->click();
  // Neither changes an item of the layout: the assignments stay.
  QCOMPARE(w->Current().columns, stored.columns);
  QVERIFY(w->HasUncommittedChanges());
  if (how == QStringLiteral("done")) w->btnDone->click();
  if (how == QStringLiteral("cancel")) w->btnCancel->click();
  if (how == QStringLiteral("close")) w->close();
  QCOMPARE(commit.has_value(), committed);
  if (!committed) return;
  QCOMPARE(commit->subhourly, kSubhourlyMean);
  QCOMPARE(commit->timeStamps, kStampsBeginning);
  QCOMPARE(commit->columns, stored.columns);
  // A window opened on the committed map shows the choices again.
  auto again = FieldWindow(*commit, test::TenByTen(dir));
  QCOMPARE(again->subhourlyChoice->checkedId(), kSubhourlyMean);
  QCOMPARE(again->timeStampChoice->checkedId(), kStampsBeginning);
}

void TimeControlsTest::stampsOnlyForTheOneFieldDate() {
  test::ProgramDir dir;
  CsvFieldMap stored;
  stored.dateInd = kDateOneField;
  stored.timeStamps = kStampsBeginning;
  auto w = FieldWindow(stored, test::TenByTen(dir));
  QVERIFY(w->rgTimeStamps->isEnabled() && w->rgSubhourly->isEnabled());
  // The choice is kept while the date form does not read it.
  for (int next : {kDateNone, kDateOneField, kDateThreeFields}) {
    w->dateChoice->button(next)->click();
    QCOMPARE(w->rgTimeStamps->isEnabled(), next == kDateOneField);
    QCOMPARE(w->Current().timeStamps, kStampsBeginning);
  }
}

// Through the window as a user goes: the file, its site, the field map by double-clicks in
// the preview, "Average them", "Done", Convert. Each hour holds the mean of its two rows.
void TimeControlsTest::averagingAHalfHourlyFileGivesHourlyMeans() {
  test::ProgramDir dir;
  test::DialogRecorder rec;
  auto w = test::MakeWindow(dir, rec);
  const QString interim = dir.makeDir(QStringLiteral("interim"));
  w->setup.edInterimPath->setText(interim);
  w->csv.edCSVdir->setText(dir.makeDir(QStringLiteral("out")));
  w->csvActions().UseCSVFile(HalfHourlyYear(dir));
  const std::array<std::pair<QLineEdit*, const char*>, 5> site = {
      std::pair{w->csv.ledCSVdesc, "Made"}, std::pair{w->csv.ledCSVlat, "40"},
      std::pair{w->csv.ledCSVlon, "-105"}, std::pair{w->csv.ledCSVtz, "-7"},
      std::pair{w->csv.ledCSVelev, "1600"}};
  for (const auto& [field, text] : site) field->setText(QString::fromLatin1(text));
  w->show();
  w->csv.btnFieldSpecs->click();
  TfrmFieldSpecs* fields = w->csvActions().fieldSpecs();
  fields->moistureChoice->button(0)->click();  // dew point; three date fields, deg F, W/m2, mph
  fields->SelectSlot(0);
  for (int column = 1; column <= 8; ++column) test::DoubleClickCell(*fields->preview(), 1, column);
  fields->btnFirstRow->click();
  test::DoubleClickCell(*fields->preview(), 2, 1);
  fields->subhourlyChoice->button(kSubhourlyMean)->click();
  fields->btnDone->click();
  QCOMPARE(w->settings().csvFieldMap.subhourly, kSubhourlyMean);
  QVERIFY(w->csv.btnProcCSV->isEnabled());
  w->csv.btnProcCSV->click();
  QVERIFY2(rec.errors.isEmpty(), qPrintable(rec.errors.join(QLatin1Char('\n'))));
  QVERIFY2(w->csv.memCSV->toPlainText().contains(QStringLiteral("the mean of its 2 rows")),
           qPrintable(w->csv.memCSV->toPlainText()));

  const QList<Fields> read = Rows(interim + QStringLiteral("/halfhourly-orig.csv"), 3);
  QCOMPARE(read.size(), kHoursPerYear);
  for (int h = 1; h <= kHoursPerYear; ++h) {
    const int a = 20 + h % 50;
    const std::array<double, 5> means = {a + 5.0, a - 5.0, 50.0, 5.0, 90.0};  // DB DP GHI WS WD
    for (int i = 0; i < 5; ++i) {
      if (std::fabs(Number(read[h - 1][3 + i]) - means[i]) > 0.006) {
        QFAIL(qPrintable(QStringLiteral("hour %1, column %2: %3 expected, the run has %4")
                             .arg(h).arg(4 + i).arg(means[i]).arg(QString::fromLatin1(read[h - 1][3 + i]))));
      }
    }
  }
  w->hide();
}

KESTRUM_GUI_TEST(TimeControlsTest);
#include "time_controls_test.moc"
