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
  auto button = [&](const char* name) { return w->findChild<QAbstractButton*>(QString::fromLatin1(name)); };
  auto edit = [&](const char* name) { return w->findChild<QLineEdit*>(QString::fromLatin1(name)); };

  QCOMPARE(button("btnDOEwebsite")->text(), QStringLiteral("&Browse DOE site"));
  QCOMPARE(button("btnDOEwebsite")->toolTip(), QStringLiteral("Browse the EnergyPlus Site for weather files"));
  QCOMPARE(button("btnGetEPW")->text(), QStringLiteral("..."));
  QCOMPARE(button("btnEPWdir")->text(), QStringLiteral("..."));
  QCOMPARE(button("btnProcEPW")->text(), QStringLiteral("&Convert"));
  QCOMPARE(button("btnProcEPW")->toolTip(), QStringLiteral("Start the processing"));
  QVERIFY(button("btnProcEPW")->font().bold());
  QCOMPARE(button("btnProcCSV")->text(), QStringLiteral("&Convert"));
  QVERIFY(button("btnProcCSV")->font().bold());
  QVERIFY(!button("btnProcCSV")->isEnabled());
  QCOMPARE(button("cbCalcSolDN")->text(),
           QStringLiteral("Calculate Solar Direct-Normal based on Global Horizontal radiation instead of Solar DN field"));
  QVERIFY(button("cbCalcSolDN")->isEnabled());
  QCOMPARE(button("cbEPWuseRH")->text(),
           QStringLiteral("Use Relative Humidity instead of Dew Point for moisture calculations"));
  QVERIFY(!button("cbEPWuseRH")->isEnabled());
  QCOMPARE(button("cbEPWuseObs")->text(), QStringLiteral("Use Present Weather Observations for Rain and Snow flag"));
  QVERIFY(!button("cbEPWuseObs")->isEnabled());

  struct Labelled {
    const char* name;
    const char* caption;
    const char* hint;
  };
  const Labelled labelled[] = {
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
  for (const Labelled& l : labelled) {
    QLineEdit* e = edit(l.name);
    QVERIFY2(e != nullptr, l.name);
    auto* label = w->findChild<QLabel*>(QString::fromLatin1(l.name) + QStringLiteral("Label"));
    QVERIFY2(label != nullptr, l.name);
    QCOMPARE(label->text(), QString::fromLatin1(l.caption));
    QCOMPARE(label->buddy(), e);
    QCOMPARE(e->toolTip(), QString::fromLatin1(l.hint));
  }
  for (const char* name : {"edEPWfile", "edEPWBinName", "edEPWdir", "edXLSfn", "edCSVBinName",
                           "edCSVdir", "edLOG", "edInterimPath"}) {
    QVERIFY2(edit(name) != nullptr, name);
  }
  QVERIFY(!edit("edXLSfn")->isEnabled());
  QVERIFY(w->findChild<QPlainTextEdit*>(QStringLiteral("memEPW"))->toPlainText().isEmpty());
  QVERIFY(w->findChild<QPlainTextEdit*>(QStringLiteral("memCSV"))->toPlainText().isEmpty());

  // CSV tab.
  QCOMPARE(button("bbCSVtop")->toolTip(), QStringLiteral("Browse URL"));
  QCOMPARE(button("btnGetXLS")->text(), QStringLiteral("..."));
  QCOMPARE(button("btnFindSiteInfo")->text(), QStringLiteral("find"));
  QCOMPARE(button("btnFieldSpecs")->text(), QStringLiteral("Field Specifications"));
  QVERIFY(button("btnFieldSpecs")->font().bold());
  QCOMPARE(button("btnView")->text(), QStringLiteral("&View Log"));
  QCOMPARE(button("btnView")->toolTip(), QStringLiteral("View the log file"));
  auto* units = w->findChild<QComboBox*>(QStringLiteral("cbElevUnits"));
  QCOMPARE(units->count(), 2);
  QCOMPARE(units->currentText(), QStringLiteral("m"));
  QCOMPARE(units->itemText(1), QStringLiteral("ft"));
  QVERIFY(!units->isEnabled());
  QCOMPARE(w->findChild<QLabel*>(QStringLiteral("lblFldCompleted"))->text(),
           QStringLiteral("[file specs incomplete]"));

  // Setup tab.
  QCOMPARE(button("btnResetCleanData")->text(), QStringLiteral("Reset"));
  QCOMPARE(button("btnResetCleanData")->toolTip(), QStringLiteral("Reset Data Field Specs to default values"));
  QCOMPARE(button("btnLOG")->text(), QStringLiteral("..."));
  QCOMPARE(button("btnInterimPath")->text(), QStringLiteral("..."));
  QCOMPARE(button("cbReWriteLog")->text(), QStringLiteral("Rewrite File"));
  QVERIFY(button("cbReWriteLog")->isChecked());
  QCOMPARE(button("cbReWriteLog")->toolTip(),
           QStringLiteral("Check this box to delete log file before each set of runs"));
  QCOMPARE(button("cbLogIt")->text(), QStringLiteral("Detailed Log"));
  QCOMPARE(button("cbLogIt")->toolTip(),
           QStringLiteral("Track each data replacement in log file? (can lead to a large log file)"));
  QCOMPARE(button("cbClearResults")->text(), QStringLiteral("Clear Interim Results on Exit"));

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
  QCOMPARE(w->review.bottomAxis->titleText(), QStringLiteral("hour"));
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
  // A stored, complete field specification of an existing CSV file.
  const QString csvFile = dir.file(QStringLiteral("site.csv"));
  test::WriteFileBytes(csvFile, "1,1,1,20,10,0,5,180\r\n");
  dir.writeSettings({QStringLiteral("[CSV Specs]"), QStringLiteral("CSVFileName=") + csvFile,
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
  w->setFieldSpecComplete(true);
  w->FormActivate();
  QCOMPARE(w->csv.lblFldCompleted->text(), QStringLiteral("[completed]"));
  QVERIFY(w->csv.btnProcCSV->isEnabled());
  w->hide();
}

void StartupTest::storedEpwFileIsShownWithItsHeader() {
  test::ProgramDir dir;
  const QString gone = dir.path() + QStringLiteral("/deleted-output");
  dir.writeSettings({QStringLiteral("[EPW Specs]"), QStringLiteral("EWPFileName=") + test::SampleEpw(),
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
