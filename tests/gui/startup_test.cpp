// The first start of the program: window frame, tabs, every control's caption, hint,
// initial state and name, and the defaults shown without a settings file.
#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QComboBox>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QToolButton>
#include <QValueAxis>
#include <QTextDocument>
#include <QtTest>

#include "chart/chart_view.h"
#include "gui_test_support.h"
#include "ui/qt_text.h"

using namespace kestrum;

class StartupTest : public QObject {
  Q_OBJECT

 private slots:
  void frameAndCaption();
  void tabsInOrder();
  void firstStartShowsDefaults();
  void controlsHaveTheirCaptionsHintsAndStates();
  void reviewTabControlsExist();
  void helpPageEnablesItsButton();
  void csvConvertStaysDisabledWhenActivated();
  void storedEpwFileIsShownWithItsHeader();
};

void StartupTest::frameAndCaption() {
  test::ProgramDir dir;
  test::DialogRecorder rec;
  auto w = test::MakeWindow(dir, rec);
  QCOMPARE(w->windowTitle(), QStringLiteral("Tavorin Zenfold"));
  QCOMPARE(QGuiApplication::applicationDisplayName(), QStringLiteral("Tavorin Zenfold"));
  QCOMPARE(w->size(), QSize(551, 534));
  QCOMPARE(w->minimumSize(), QSize(551, 534));
  QCOMPARE(w->maximumSize(), QSize(551, 534));
  QVERIFY(!(w->windowFlags() & Qt::WindowMaximizeButtonHint));
  QVERIFY(w->windowFlags() & Qt::WindowMinimizeButtonHint);
  QCOMPARE(w->pos(), QPoint(100, 100));
  QVERIFY(!w->automaticMode());
  QVERIFY(rec.notices.isEmpty());
  QVERIFY(rec.errors.isEmpty());
}

void StartupTest::tabsInOrder() {
  test::ProgramDir dir;
  test::DialogRecorder rec;
  auto w = test::MakeWindow(dir, rec);
  QCOMPARE(w->tabs->count(), 4);
  QCOMPARE(w->tabs->tabText(0), QStringLiteral("EPW Weather File Conversion"));
  QCOMPARE(w->tabs->tabText(1), QStringLiteral("CSV Data Source Conversion"));
  QCOMPARE(w->tabs->tabText(2), QStringLiteral("Review Converted Data"));
  QCOMPARE(w->tabs->tabText(3), QStringLiteral("Setup"));
  QCOMPARE(w->tabs->currentIndex(), 0);
}

void StartupTest::firstStartShowsDefaults() {
  test::ProgramDir dir;
  test::DialogRecorder rec;
  auto w = test::MakeWindow(dir, rec);
  const QString programDir = dir.path();
  QCOMPARE(w->epw.edEPWfile->text(), QStringLiteral("<previous file no longer exists>"));
  QCOMPARE(w->csv.edXLSfn->text(), QString());
  QCOMPARE(w->epw.edEPWdir->text(), programDir);
  QCOMPARE(w->csv.edCSVdir->text(), programDir);
  QCOMPARE(w->setup.edInterimPath->text(), programDir);
  QCOMPARE(w->setup.edLOG->text(), programDir + QStringLiteral("/kestrum.log"));
  QVERIFY(w->setup.cbClearResults->isChecked());
  QVERIFY(w->epw.cbEPWuseObs->isChecked());
  QVERIFY(!w->epw.cbEPWuseRH->isChecked());
  QVERIFY(!w->epw.cbCalcSolDN->isChecked());
  QVERIFY(!w->setup.cbLogIt->isChecked());
  QVERIFY(!w->epw.btnProcEPW->isEnabled());
  QVERIFY(!w->csv.btnFieldSpecs->isEnabled());
  QVERIFY(!w->csv.btnFindSiteInfo->isEnabled());
  // The grids show the default limits.
  const char* limits[5][4] = {{"-50", "150", "12", "96"},
                              {"-50", "150", "12", "96"},
                              {"0", "1200", "1", "96"},
                              {"0", "150", "24", "168"},
                              {"0", "360", "24", "168"}};
  for (int r = 0; r < 5; ++r) {
    for (int c = 0; c < 4; ++c) {
      QCOMPARE(w->setup.sgWthData->item(r, c)->text(), QString::fromLatin1(limits[r][c]));
    }
    for (int k = 0; k < 5; ++k) QCOMPARE(w->setup.sgBadData->item(r, k)->text(), QStringLiteral("-999"));
  }
  QCOMPARE(w->editFileName(), dir.paths().defaultLogFile);
  // Nothing was written at start.
  QVERIFY(!QFile::exists(ui::ToQ(dir.paths().settingsFile)));
}

void StartupTest::controlsHaveTheirCaptionsHintsAndStates() {
  test::ProgramDir dir;
  test::DialogRecorder rec;
  auto w = test::MakeWindow(dir, rec);

  // Buttons and check boxes: caption, hint, enabled, checked (-1: not a check box).
  struct Button {
    const char* name;
    const char* caption;
    const char* hint;
    bool enabled;
    int checked;
  };
  const Button buttons[] = {
      {"btnDOEwebsite", "&Browse DOE site", "Browse the EnergyPlus Site for weather files", true, -1},
      {"btnGetEPW", "...", "", true, -1},
      {"btnEPWdir", "...", "", true, -1},
      {"btnProcEPW", "&Convert", "Start the processing", false, -1},
      {"cbCalcSolDN", "Calculate Solar Direct-Normal based on Global Horizontal radiation instead of Solar DN field", "", true, 0},
      {"cbEPWuseRH", "Use Relative Humidity instead of Dew Point for moisture calculations", "", false, 0},
      {"cbEPWuseObs", "Use Present Weather Observations for Rain and Snow flag", "", false, 1},
      {"bbCSVtop", "", "Browse URL", false, -1},
      {"btnGetXLS", "...", "", true, -1},
      {"btnFindSiteInfo", "find", "", false, -1},
      {"btnFieldSpecs", "Field Specifications", "", false, -1},
      {"btnCSVdir", "...", "", true, -1},
      {"btnProcCSV", "&Convert", "Start the processing", false, -1},
      {"btnView", "&View Log", "View the log file", true, -1},
      {"btnResetCleanData", "Reset", "Reset Data Field Specs to default values", true, -1},
      {"btnLOG", "...", "", true, -1},
      {"cbReWriteLog", "Rewrite File", "Check this box to delete log file before each set of runs", true, 1},
      {"cbLogIt", "Detailed Log", "Track each data replacement in log file? (can lead to a large log file)", true, 0},
      {"btnInterimPath", "...", "", true, -1},
      {"cbClearResults", "Clear Interim Results on Exit", "", true, 1},
  };
  for (const Button& b : buttons) {
    auto* control = w->findChild<QAbstractButton*>(QString::fromLatin1(b.name));
    QVERIFY2(control != nullptr, b.name);
    QCOMPARE(control->text(), QString::fromLatin1(b.caption));
    QCOMPARE(control->toolTip(), QString::fromLatin1(b.hint));
    QVERIFY2(control->isEnabled() == b.enabled, b.name);
    if (b.checked >= 0) QVERIFY2(control->isChecked() == (b.checked == 1), b.name);
  }
  for (const char* bold : {"btnProcEPW", "btnProcCSV", "btnFieldSpecs"}) {
    QVERIFY2(w->findChild<QPushButton*>(QString::fromLatin1(bold))->font().bold(), bold);
  }

  // Labelled fields: the label's caption, its buddy, the field's hint.
  const char* labelled[][3] = {
      {"ledEPWloc", "Location", "Text will be used for Bin file header"},
      {"ledEPWlat", "Latitude", ""},
      {"ledEPWlon", "Longitude", ""},
      {"ledEPWtz", "Time Zone", "CA=-8, CO=-7, etc."},
      {"ledEPWelev", "Elevation (m)", ""},
      {"ledEPWcomment", "Comment1:", ""},
      {"ledCSVdesc", "Description", "Text will be used for Bin file header"},
      {"ledCSVlat", "Latitude", "Site latitude in decimal  format (e.g. 39.75)"},
      {"ledCSVlon", "Longitude", "Site longitude in decimal format (e.g. 104.9)"},
      {"ledCSVtz", "Time Zone", "CA=-8, CO=-7, etc."},
      {"ledCSVelev", "Elevation", ""},
  };
  for (const auto& [name, caption, hint] : labelled) {
    auto* field = w->findChild<QLineEdit*>(QString::fromLatin1(name));
    auto* label = w->findChild<QLabel*>(QString::fromLatin1(name) + QStringLiteral("Label"));
    QVERIFY2(field != nullptr && label != nullptr, name);
    QCOMPARE(label->text(), QString::fromLatin1(caption));
    QCOMPARE(label->buddy(), field);
    QCOMPARE(field->toolTip(), QString::fromLatin1(hint));
  }
  for (const char* name : {"edEPWfile", "edEPWBinName", "edEPWdir", "edXLSfn", "edCSVBinName",
                           "edCSVdir", "edLOG", "edInterimPath"}) {
    QVERIFY2(w->findChild<QLineEdit*>(QString::fromLatin1(name)) != nullptr, name);
  }
  QVERIFY(!w->csv.edXLSfn->isEnabled());  // filled by the picker only
  QVERIFY(w->epw.memEPW->toPlainText().isEmpty());
  QVERIFY(w->csv.memCSV->toPlainText().isEmpty());
  auto* units = w->findChild<QComboBox*>(QStringLiteral("cbElevUnits"));
  QCOMPARE(units->currentText(), QStringLiteral("m"));
  QCOMPARE(units->itemText(1), QStringLiteral("ft"));
  QVERIFY(!units->isEnabled());
  QCOMPARE(w->csv.lblFldCompleted->text(), QStringLiteral("[file specs incomplete]"));

  auto* limits = w->findChild<QTableWidget*>(QStringLiteral("sgWthData"));
  QCOMPARE(limits->rowCount(), 5);
  QCOMPARE(limits->columnCount(), 4);
  QVERIFY(!limits->horizontalHeader()->isVisible());
  QVERIFY(!limits->verticalHeader()->isVisible());
  for (int c = 0; c < 4; ++c) QCOMPARE(limits->columnWidth(c), 52);
  auto* flags = w->findChild<QTableWidget*>(QStringLiteral("sgBadData"));
  QCOMPARE(flags->rowCount(), 5);
  QCOMPARE(flags->columnCount(), 5);
  QVERIFY(!flags->horizontalHeader()->isVisible());
}

void StartupTest::reviewTabControlsExist() {
  test::ProgramDir dir;
  test::DialogRecorder rec;
  auto w = test::MakeWindow(dir, rec);
  QCOMPARE(w->review.lblResList->text(), QStringLiteral("Latest Results:"));
  QCOMPARE(w->review.cbResultsList->placeholderText(), QStringLiteral("<intermediate files>"));
  QCOMPARE(w->review.cbResultsList->count(), 0);
  QCOMPARE(w->review.btnMoreResults->text(), QStringLiteral("List All Results"));
  QVERIFY(w->review.rbFinalData->isChecked());
  QCOMPARE(w->review.rbFinalData->text(), QStringLiteral("Final Data"));
  QCOMPARE(w->review.rbOrigData->text(), QStringLiteral("Original"));
  QVERIFY(w->review.rbTemp->isChecked());
  QCOMPARE(w->review.rbSolar->text(), QStringLiteral("Solar"));
  QCOMPARE(w->review.rbWind->text(), QStringLiteral("Wind"));
  QCOMPARE(w->review.cbSaveCSV->text(), QStringLiteral("Save graph data files"));
  QCOMPARE(w->review.cbSaveCSV->toolTip(), QStringLiteral("Save the intermediate CSV graph data files"));
  QVERIFY(!w->review.cbSaveCSV->isChecked());
  QCOMPARE(w->review.btnBigChart->text(), QStringLiteral("View Detailed Chart"));
  QCOMPARE(w->review.btnDispWindRose->text(), QStringLiteral("Wind Rose"));
  QCOMPARE(w->review.btnLoadGraph->text(), QStringLiteral("Re-Load Data"));
  QVERIFY(w->review.btnLoadGraph->isHidden());
  auto* chart = w->findChild<QChartView*>(QStringLiteral("Chart1"));
  QVERIFY(chart != nullptr);
  // The title is rich text: what shows is the plain text.
  QTextDocument shown;
  shown.setHtml(chart->chart()->title());
  QCOMPARE(shown.toPlainText(), QStringLiteral("<no data to chart yet>"));
  // Below the hour numbers and the month names.
  QCOMPARE(w->review.Chart1->axisTitle(kestrum::chart::Axis::Bottom), QStringLiteral("hour"));
  QVERIFY(!w->review.rightAxis->isVisible());
  QVERIFY(w->findChild<QWidget*>(QStringLiteral("panGraphStuff")) != nullptr);
}

void StartupTest::helpPageEnablesItsButton() {
  {
    test::ProgramDir dir;
    test::DialogRecorder rec;
    auto w = test::MakeWindow(dir, rec);
    QVERIFY(!w->helpPagePresent());
    QVERIFY(!w->csv.bbCSVtop->isEnabled());
    w->csvActions().UseCSVFile(test::SampleCsv());
    w->csv.btnFieldSpecs->click();
    QVERIFY(!w->csvActions().fieldSpecs()->bbCSVfld->isEnabled());
  }
  test::ProgramDir dir;
  dir.addHelpPage();
  test::DialogRecorder rec;
  auto w = test::MakeWindow(dir, rec);
  QVERIFY(w->helpPagePresent());
  QVERIFY(w->csv.bbCSVtop->isEnabled());
  QCOMPARE(w->helpPagePath(), dir.file(QStringLiteral("Tavorin-Zenfold.html")));
}

void StartupTest::csvConvertStaysDisabledWhenActivated() {
  test::ProgramDir dir;
  // A stored, complete field map of an existing CSV file.
  const QString csvFile = dir.file(QStringLiteral("site.csv"));
  test::WriteFileBytes(csvFile, "1,1,1,20,10,0,5,180\r\n");
  dir.writeSettings({kestrum::test::ProgramDir::section(kCsvSection), QStringLiteral("CSVFileName=") + csvFile,
                     QStringLiteral("DateInd=2"), QStringLiteral("SolarInd=0"),
                     QStringLiteral("CSVgridCol1=4"), QStringLiteral("CSVgridCol2=5"),
                     QStringLiteral("CSVgridCol3=6"), QStringLiteral("CSVgridCol4=7"),
                     QStringLiteral("CSVgridCol5=8")});
  test::DialogRecorder rec;
  auto w = test::MakeWindow(dir, rec);
  QVERIFY(w->csv.btnFieldSpecs->isEnabled());
  QVERIFY(w->csv.btnFindSiteInfo->isEnabled());
  QCOMPARE(w->csv.edXLSfn->text(), csvFile);
  QCOMPARE(w->csv.edCSVBinName->text(), QStringLiteral("site.BIN"));
  w->show();
  w->activateWindow();
  w->FormActivate();
  QCOMPARE(w->csv.lblFldCompleted->text(), QStringLiteral("[not yet completed]"));
  QVERIFY(!w->csv.btnProcCSV->isEnabled());
  w->setFieldMapComplete(true);
  w->FormActivate();
  QCOMPARE(w->csv.lblFldCompleted->text(), QStringLiteral("[completed]"));
  QVERIFY(w->csv.btnProcCSV->isEnabled());
  w->hide();
}

void StartupTest::storedEpwFileIsShownWithItsHeader() {
  test::ProgramDir dir;
  const QString gone = dir.path() + QStringLiteral("/deleted-output");
  dir.writeSettings({kestrum::test::ProgramDir::section(kEpwSection), QStringLiteral("EWPFileName=") + test::SampleEpw(),
                     QStringLiteral("EPWBinDir=") + gone, QStringLiteral("[Form]"),
                     QStringLiteral("Top=140"), QStringLiteral("Left=160")});
  test::DialogRecorder rec;
  auto w = test::MakeWindow(dir, rec);
  QCOMPARE(w->epw.edEPWfile->text(), test::SampleEpw());
  QCOMPARE(w->epw.edEPWdir->text(), QStringLiteral("<previous directory no longer exists>"));
  QCOMPARE(w->epw.ledEPWloc->text(), QStringLiteral("Denver Centennial  Golden   Nr,CO,USA"));
  QCOMPARE(w->epw.ledEPWlat->text(), QStringLiteral("39.74"));
  QCOMPARE(w->epw.ledEPWlon->text(), QStringLiteral("-105.18"));
  QCOMPARE(w->epw.ledEPWtz->text(), QStringLiteral("-7.0"));
  QCOMPARE(w->epw.ledEPWelev->text(), QStringLiteral("1829.0"));
  QVERIFY(w->epw.ledEPWcomment->text().startsWith(QStringLiteral("Custom/User Format -- WMO#724666")));
  QCOMPARE(w->epw.edEPWBinName->text(), QStringLiteral("USA_CO_Golden-NREL.724666_TMY3.BIN"));
  QVERIFY(w->epw.btnProcEPW->isEnabled());
  QCOMPARE(w->pos(), QPoint(160, 140));
}

KESTRUM_GUI_TEST(StartupTest);
#include "startup_test.moc"
