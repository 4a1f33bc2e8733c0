// The CSV tab: choosing a file, the field window (layouts, double-click
// targets, what only "Done" commits), the preview's docking and the find button, and a
// conversion of the sample TMY3 file set up by double-clicks in the preview.
#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTimer>
#include <QtTest>

#include "gui_test_support.h"
#include "ui/qt_text.h"

using namespace kestrum;

class CsvTabTest : public QObject {
  Q_OBJECT

 private slots:
  void choosingAFileResetsSiteAndFieldMap_data();
  void choosingAFileResetsSiteAndFieldMap();
  void pickerShowsTheNoticeThenTheDialog();
  void layoutOfEveryChoice_data();
  void layoutOfEveryChoice();
  void changingAChoiceClearsTheAssignments();
  void doubleClicksWriteIntoTheTarget();
  void onlyDoneCommits_data();
  void onlyDoneCommits();
  void convertWaitsForTheWindowToBeLeftComplete();
  void previewDocksAndSnaps();
  void findOpensAPreviewThatWritesNothing();
  void convertsTheSampleSetUpInThePreview();
  void runWithAnUncommittedFieldMapIsRefused();
};

namespace {

std::unique_ptr<TfrmFieldSpecs> MakeFieldMaps(const CsvFieldMap& fieldMap, const QString& file,
                                          QStringList* notices = nullptr) {
  TfrmFieldSpecs::Hooks hooks;
  if (notices != nullptr) hooks.notice = [notices](const QString& m) { notices->append(m); };
  auto window = std::make_unique<TfrmFieldSpecs>(fieldMap, ui::ToStd(file), std::move(hooks));
  window->setAttribute(Qt::WA_DeleteOnClose, false);
  return window;
}

QStringList Row(const TfrmFieldSpecs& w, int row) {
  QStringList texts;
  for (int c = 0; c < kCsvSlots; ++c) {
    if (!w.sgXLSspecs->isColumnHidden(c)) texts << w.sgXLSspecs->item(row, c)->text();
  }
  return texts;
}

QStringList Items(const QComboBox* box) {
  QStringList items;
  for (int i = 0; i < box->count(); ++i) items << box->itemText(i);
  return items;
}

CsvFieldMap FieldMap(int dateInd, int moistInd, int solarInd) {
  CsvFieldMap fieldMap;
  fieldMap.dateInd = dateInd;
  fieldMap.moistInd = moistInd;
  fieldMap.solarInd = solarInd;
  return fieldMap;
}

}  // namespace

void CsvTabTest::choosingAFileResetsSiteAndFieldMap_data() {
  QTest::addColumn<QString>("name");
  QTest::addColumn<QString>("binName");
  QTest::addColumn<QStringList>("notices");
  QTest::newRow("csv") << "Site.CSV" << "Site.BIN" << QStringList();
  QTest::newRow("xls") << "data.xls" << "data.BIN"
                       << QStringList({QStringLiteral("XLS format support temporarily removed.")});
}

void CsvTabTest::choosingAFileResetsSiteAndFieldMap() {
  QFETCH(QString, name);
  QFETCH(QString, binName);
  QFETCH(QStringList, notices);
  test::ProgramDir dir;
  test::DialogRecorder rec;
  auto w = test::MakeWindow(dir, rec);
  for (QLineEdit* field : {w->csv.ledCSVdesc, w->csv.ledCSVlat, w->csv.ledCSVelev}) field->setText("x");
  w->setFieldMapComplete(true);
  const QString path = dir.file(name);
  w->csvActions().UseCSVFile(path);
  QCOMPARE(w->csv.edXLSfn->text(), path);
  QCOMPARE(w->settings().csvFileName, ui::ToStd(path));
  QCOMPARE(w->csv.edCSVBinName->text(), binName);
  QVERIFY(w->csv.ledCSVdesc->text().isEmpty() && w->csv.ledCSVelev->text().isEmpty());
  QVERIFY(w->csv.btnFieldSpecs->isEnabled() && w->csv.btnFindSiteInfo->isEnabled());
  QCOMPARE(w->csv.lblFldCompleted->text(), QStringLiteral("[not yet completed]"));
  QCOMPARE(w->csv.cbElevUnits->currentText(), QStringLiteral("m"));
  QCOMPARE(rec.notices, notices);
}

void CsvTabTest::pickerShowsTheNoticeThenTheDialog() {
  test::ProgramDir dir;
  test::DialogRecorder rec;
  auto w = test::MakeWindow(dir, rec);
  const QString chosen = test::TenByTen(dir);
  w->csvActions().UseCSVFile(chosen);
  QStringList filters;
  QString folder;
  QTimer::singleShot(0, [&] {
    auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    if (dialog == nullptr) return;
    filters = dialog->nameFilters();
    folder = dialog->directory().path();
    dialog->reject();
  });
  w->csv.btnGetXLS->click();
  QCOMPARE(rec.notices.size(), 1);
  QVERIFY(rec.notices[0].startsWith(QStringLiteral(
      "Conversion of user-supplied data in a CSV format is currently under development,\n"
      " please check your results carefully.\n\nIf you have constructive suggestions or "
      "positive feedback, send them to: \n")));
  QCOMPARE(filters, QStringList({QStringLiteral("CSV files (*.csv *.CSV)")}));
  QCOMPARE(folder, dir.path());
  QCOMPARE(w->csv.edXLSfn->text(), chosen);  // cancelled: nothing changes
}

void CsvTabTest::layoutOfEveryChoice_data() {
  QTest::addColumn<int>("dateInd");
  QTest::addColumn<int>("moistInd");
  QTest::addColumn<int>("solarInd");
  QTest::addColumn<QString>("items");
  const QString tail = QStringLiteral("WindSpd,WindDir,SnowFlag,RainFlag,CldType");
  QTest::newRow("date, DP, hor") << 0 << 0 << 0 << "Date,DBTemp,DewPtT,SolarHor," + tail;
  QTest::newRow("date, RH, +DN") << 0 << 2 << 1 << "Date,DBTemp,RelHum,SolarHor,SolarDN," + tail;
  QTest::newRow("3 fields, WB, hor") << 1 << 1 << 0 << "Month,Day,Hour,DBTemp,WetBlb,SolarHor," + tail;
  QTest::newRow("3 fields, DP, +DN") << 1 << 0 << 1 << "Month,Day,Hour,DBTemp,DewPtT,SolarHor,SolarDN," + tail;
  QTest::newRow("none, RH, hor") << 2 << 2 << 0 << "DBTemp,RelHum,SolarHor," + tail;
  QTest::newRow("none, WB, +DN") << 2 << 1 << 1 << "DBTemp,WetBlb,SolarHor,SolarDN," + tail;
}

void CsvTabTest::layoutOfEveryChoice() {
  QFETCH(int, dateInd);
  QFETCH(int, moistInd);
  QFETCH(int, solarInd);
  QFETCH(QString, items);
  auto w = MakeFieldMaps(FieldMap(dateInd, moistInd, solarInd), test::SampleCsv());
  const QStringList names = items.split(QLatin1Char(','));
  QCOMPARE(Row(*w, 0), names);
  QCOMPARE(Row(*w, 2).count(QStringLiteral("Req'd")), names.size() - 3);
  QCOMPARE(Row(*w, 2).mid(names.size() - 3), QStringList({"Option", "Option", "Option"}));
  QCOMPARE(Items(w->cbMoistUnits2), moistInd == 2 ? QStringList({"% 0-100", "frac 0-1"})
                                                  : QStringList({"° F", "° C"}));
  QCOMPARE(Items(w->cbSolarUnits2), QStringList({"w/m²", "btu/hr-ft²"}));
  QCOMPARE(Items(w->cbVelUnits2), QStringList({"mph", "knots", "m/s"}));
  // Each unit box stands under its item's column, as wide as it.
  QTableWidget* grid = w->sgXLSspecs;
  const std::pair<QComboBox*, int> boxes[] = {
      {w->cbDBTunits2, names.indexOf("DBTemp")}, {w->cbMoistUnits2, names.indexOf("DBTemp") + 1},
      {w->cbSolarUnits2, names.indexOf("SolarHor")}, {w->cbVelUnits2, names.indexOf("WindSpd")}};
  for (const auto& [box, slot] : boxes) {
    QCOMPARE(box->x(), grid->x() + grid->frameWidth() + grid->columnViewportPosition(slot));
    QCOMPARE(box->width(), grid->columnWidth(slot));
    QVERIFY(box->y() >= grid->geometry().bottom());
  }
  // The grid shows exactly the used columns, each wide enough for its item's name.
  int usedWidth = 0;
  for (int slot = 0; slot < names.size(); ++slot) {
    usedWidth += grid->columnWidth(slot);
    QVERIFY(grid->columnWidth(slot) > grid->fontMetrics().horizontalAdvance(names[slot]));
  }
  QCOMPARE(grid->width(), usedWidth + 2 * grid->frameWidth());
  QCOMPARE(w->target(), (FieldMapTarget{FieldMapTarget::Slot, 0}));
}

void CsvTabTest::changingAChoiceClearsTheAssignments() {
  CsvFieldMap stored = FieldMap(1, 1, 0);
  stored.columns = {"1", "2", "3", "4", "5", "6", "7", "8"};
  stored.moistUnits = 1;
  QStringList notices;
  auto w = MakeFieldMaps(stored, test::SampleCsv(), &notices);
  QCOMPARE(Row(*w, 1).mid(0, 9), QStringList({"1", "2", "3", "4", "5", "6", "7", "8", ""}));
  w->dateChoice->button(kDateOneField)->click();
  QCOMPARE(Row(*w, 1), QStringList(9, QString()));  // the unchanged items' too
  w->moistureChoice->button(2)->click();
  QCOMPARE(w->cbMoistUnits2->currentText(), QStringLiteral("frac 0-1"));  // the stored code
  w->solarChoice->button(kSolarCloudCover)->click();
  QCOMPARE(notices, QStringList({QStringLiteral("Can't deal with cloud cover yet!")}));
  QCOMPARE(w->solarChoice->checkedId(), kSolarGlobal);
  QCOMPARE(Row(*w, 0).size(), 9);
  QCOMPARE(w->Current().solarInd, kSolarGlobal);
}

void CsvTabTest::doubleClicksWriteIntoTheTarget() {
  test::ProgramDir dir;
  auto w = MakeFieldMaps(FieldMap(1, 1, 0), test::TenByTen(dir));
  w->ShowWithPreview();
  TXLSform* preview = w->preview();
  QVERIFY(preview != nullptr && preview->isVisible());
  QCOMPARE(preview->prompt(), QStringLiteral("Dbl-Click on the column containing Month data:"));
  w->SelectSlot(1);
  test::DoubleClickCell(*preview, 4, 5);
  QCOMPARE(w->Current().columns[1], std::string("5"));
  QCOMPARE(w->target(), (FieldMapTarget{FieldMapTarget::Slot, 2}));
  QCOMPARE(preview->prompt(), QStringLiteral("Dbl-Click on the column containing Hour data:"));
  w->SelectSlot(10);  // "CldType", the last slot: the target stays
  test::DoubleClickCell(*preview, 4, 7);
  QCOMPARE(w->Current().columns[10], std::string("7"));
  QCOMPARE(w->target(), (FieldMapTarget{FieldMapTarget::Slot, 10}));
  w->btnFirstRow->click();
  QCOMPARE(preview->prompt(), QStringLiteral("Dbl-Click on the first row of data."));
  test::DoubleClickCell(*preview, 6, 3);
  QCOMPARE(w->seFirstRow->value(), 6);
  w->ClearTarget();  // as "find" does
  const CsvFieldMap before = w->Current();
  test::DoubleClickCell(*preview, 9, 9);
  QCOMPARE(w->Current().columns, before.columns);
  QCOMPARE(w->Current().firstRow, before.firstRow);
}

void CsvTabTest::onlyDoneCommits_data() {
  QTest::addColumn<QString>("how");
  QTest::addColumn<bool>("committed");
  QTest::newRow("Done") << "done" << true;
  QTest::newRow("Cancel") << "cancel" << false;
  QTest::newRow("close box") << "close" << false;
  QTest::newRow("a CSV run starts") << "run" << false;
}

void CsvTabTest::onlyDoneCommits() {
  QFETCH(QString, how);
  QFETCH(bool, committed);
  test::ProgramDir dir;
  test::DialogRecorder rec;
  auto w = test::MakeWindow(dir, rec);
  w->csvActions().UseCSVFile(test::TenByTen(dir));
  w->csv.btnFieldSpecs->click();
  TfrmFieldSpecs* fieldMaps = w->csvActions().fieldSpecs();
  QVERIFY(fieldMaps != nullptr);
  const QPointer<TXLSform> preview = fieldMaps->preview();
  test::DoubleClickCell(*preview, 2, 4);
  fieldMaps->seFirstRow->setValue(2);
  if (how == QStringLiteral("done")) fieldMaps->btnDone->click();
  if (how == QStringLiteral("cancel")) fieldMaps->btnCancel->click();
  if (how == QStringLiteral("close")) fieldMaps->close();
  if (how == QStringLiteral("run")) w->btnProcCSVClick();
  QCOMPARE(w->csvActions().fieldSpecs(), nullptr);
  QTRY_VERIFY(preview.isNull());
  QCOMPARE(w->settings().csvFieldMap.columns[0], std::string(committed ? "4" : ""));
  QCOMPARE(w->settings().csvFieldMap.firstRow, committed ? 2 : 1);
  // A fresh window shows the committed field map.
  w->csv.btnFieldSpecs->click();
  QCOMPARE(w->csvActions().fieldSpecs()->Current().columns[0], std::string(committed ? "4" : ""));
}

void CsvTabTest::convertWaitsForTheWindowToBeLeftComplete() {
  // A stored specification with every "Req'd" column and no snow, rain or cloud column.
  test::ProgramDir dir;
  const QString file = test::TenByTen(dir);
  dir.writeSettings({test::ProgramDir::section(kCsvSection), "CSVFileName=" + file, "DateInd=2",
                     "SolarInd=0", "CSVgridCol1=4", "CSVgridCol2=5", "CSVgridCol3=6",
                     "CSVgridCol4=7", "CSVgridCol5=8"});
  test::DialogRecorder rec;
  auto w = test::MakeWindow(dir, rec);
  w->FormActivate();
  QVERIFY(!w->csv.btnProcCSV->isEnabled());
  w->csv.btnFieldSpecs->click();
  w->csvActions().fieldSpecs()->btnCancel->click();
  QCOMPARE(w->csv.lblFldCompleted->text(), QStringLiteral("[completed]"));
  QVERIFY(w->csv.btnProcCSV->isEnabled());
  // A close box that discards an incomplete grid: the stored specification, complete, is
  // still the one a conversion uses.
  w->csv.btnFieldSpecs->click();
  w->csvActions().fieldSpecs()->solarChoice->button(kSolarGlobalAndDirect)->click();
  w->csvActions().fieldSpecs()->close();
  QCOMPARE(w->csv.lblFldCompleted->text(), QStringLiteral("[completed]"));
  QVERIFY(w->csv.btnProcCSV->isEnabled());
  // "Done" with the incomplete grid commits it.
  w->csv.btnFieldSpecs->click();
  w->csvActions().fieldSpecs()->solarChoice->button(kSolarGlobalAndDirect)->click();
  w->csvActions().fieldSpecs()->btnDone->click();
  QCOMPARE(w->csv.lblFldCompleted->text(), QStringLiteral("[not yet completed]"));
  QVERIFY(!w->csv.btnProcCSV->isEnabled());
}

void CsvTabTest::previewDocksAndSnaps() {
  const test::WorkAreaScope roomy(QRect(0, 0, 1600, 1000));  // room at the right and below
  auto w = MakeFieldMaps(CsvFieldMap{}, test::SampleCsv());
  w->move(10, 20);
  w->ShowWithPreview();
  TXLSform* preview = w->preview();
  const int edge = w->frameGeometry().x() + w->frameGeometry().width();
  QCOMPARE(preview->pos(), QPoint(edge, w->y()));
  QCOMPARE(preview->height(), w->height());
  for (int offset : {15, -15, 25}) {
    preview->move(edge + offset, 300);
    const QPoint expected = offset == 25 ? QPoint(edge + 25, 300) : QPoint(edge, w->y());
    QTRY_COMPARE(preview->pos(), expected);
  }
  w->bbtnSnapBot->click();
  QCOMPARE(preview->pos(), QPoint(w->x(), w->frameGeometry().bottom() + 1));
  QCOMPARE(preview->width(), w->width());
  w->bbtnSnapRight->click();
  QCOMPARE(preview->pos(), QPoint(edge, w->y()));
}

void CsvTabTest::findOpensAPreviewThatWritesNothing() {
  const test::WorkAreaScope roomy(QRect(0, 0, 1600, 1000));  // room right of the main window
  test::ProgramDir dir;
  test::DialogRecorder rec;
  auto w = test::MakeWindow(dir, rec);
  w->csvActions().UseCSVFile(test::TenByTen(dir));
  w->show();
  w->csv.btnFindSiteInfo->click();
  TXLSform* found = w->csvActions().findPreview();
  QVERIFY(found != nullptr && found->isVisible());
  QCOMPARE(found->pos().x(), w->frameGeometry().x() + w->frameGeometry().width());
  QCOMPARE(found->prompt(), QString());
  QCOMPARE(found->sgXLS->item(9, 9)->text(), QStringLiteral("r10c10"));
  found->close();
  QTRY_COMPARE(w->csvActions().findPreview(), nullptr);
  w->csv.btnFindSiteInfo->click();  // shows the file again
  QTRY_VERIFY(w->csvActions().findPreview() != nullptr);
  found = w->csvActions().findPreview();

  // With the field window open, its preview comes forward and writes nothing.
  w->csv.btnFieldSpecs->click();
  TfrmFieldSpecs* fieldMaps = w->csvActions().fieldSpecs();
  w->csv.btnFindSiteInfo->click();
  QCOMPARE(fieldMaps->target(), FieldMapTarget{});
  test::DoubleClickCell(*fieldMaps->preview(), 3, 3);
  test::DoubleClickCell(*found, 3, 3);
  QCOMPARE(fieldMaps->Current().columns[0], std::string());
  fieldMaps->SelectSlot(0);
  test::DoubleClickCell(*fieldMaps->preview(), 3, 3);
  QCOMPARE(fieldMaps->Current().columns[0], std::string("3"));
  w->csvActions().DiscardFieldSpecs();
  test::DoubleClickCell(*found, 3, 4);  // outlives the window it could have written into
  QCOMPARE(w->settings().csvFieldMap.columns[0], std::string());
  w->hide();
}

void CsvTabTest::convertsTheSampleSetUpInThePreview() {
  test::ProgramDir dir;
  test::DialogRecorder rec;
  auto w = test::MakeWindow(dir, rec);
  const QString out = dir.makeDir(QStringLiteral("out"));
  w->csv.edCSVdir->setText(out);
  w->setup.edInterimPath->setText(dir.makeDir(QStringLiteral("interim")));
  w->csvActions().UseCSVFile(test::SampleCsv());
  w->csv.ledCSVdesc->setText(QStringLiteral("GREENSBORO PIEDMONT TRIAD INT"));
  w->csv.ledCSVlat->setText(QStringLiteral("36.100"));
  w->csv.ledCSVlon->setText(QStringLiteral("-79.950"));
  w->csv.ledCSVtz->setText(QStringLiteral("-5.0"));
  w->csv.ledCSVelev->setText(QStringLiteral("273"));
  w->show();
  w->csv.btnFieldSpecs->click();
  TfrmFieldSpecs* fieldMaps = w->csvActions().fieldSpecs();
  test::SpecifyTmy3(*fieldMaps);
  QCOMPARE(fieldMaps->seFirstRow->value(), 3);
  fieldMaps->btnDone->click();
  const CsvFieldMap& fieldMap = w->settings().csvFieldMap;
  QCOMPARE(fieldMap.columns, (std::array<std::string, kCsvSlots>{"32", "35", "5", "8", "47", "44"}));
  QCOMPARE(fieldMap.firstRow, 3);
  QCOMPARE((std::array<int, 4>{fieldMap.dbtUnits, fieldMap.moistUnits, fieldMap.solUnits, fieldMap.windUnits}),
           (std::array<int, 4>{1, 1, 0, 2}));
  QCOMPARE(w->csv.lblFldCompleted->text(), QStringLiteral("[completed]"));
  QVERIFY(w->csv.btnProcCSV->isEnabled());
  QTest::mouseClick(w->csv.btnProcCSV, Qt::LeftButton);
  QVERIFY2(rec.errors.isEmpty(), qPrintable(rec.errors.join(QLatin1Char('\n'))));
  QVERIFY(QFile::exists(out + QStringLiteral("/723170TYA.bin")));
  QVERIFY(w->csv.memCSV->toPlainText().contains(QStringLiteral("CSV file.")));
  w->hide();
}

void CsvTabTest::runWithAnUncommittedFieldMapIsRefused() {
  // First use: the window's grid is complete, but nothing has been committed with "Done".
  test::ProgramDir dir;
  test::DialogRecorder rec;
  auto w = test::MakeWindow(dir, rec);
  const QString interim = dir.makeDir(QStringLiteral("interim"));
  w->setup.edInterimPath->setText(interim);
  w->csvActions().UseCSVFile(test::SampleCsv());
  w->show();
  w->csv.btnFieldSpecs->click();
  test::SpecifyTmy3(*w->csvActions().fieldSpecs());
  // Back in the main window with the field window still open: its grid is complete.
  w->activateWindow();
  QTRY_VERIFY(w->csv.btnProcCSV->isEnabled());
  w->csv.btnProcCSV->click();
  QCOMPARE(w->csvActions().fieldSpecs(), nullptr);
  QCOMPARE(rec.errors.size(), 1);
  QVERIFY2(rec.errors[0].contains(QStringLiteral("no column to \"Month\"")), qPrintable(rec.errors[0]));
  QVERIFY(!QFile::exists(interim + QStringLiteral("/723170TYA-orig.csv")));
  // The progress box says why the window's choices were not used, then keeps one line of
  // the refusal; nothing was read.
  const QStringList lines = w->csv.memCSV->toPlainText().split(QLatin1Char('\n'));
  QCOMPARE(lines.size(), 2);
  QCOMPARE(lines[0], QString::fromLatin1(ui::kFieldChangesNotUsedText));
  QVERIFY(lines[1].startsWith(QStringLiteral("  Conversion stopped: ")));
  // The field map in force is still incomplete: Convert waits for it again.
  QCOMPARE(w->csv.lblFldCompleted->text(), QStringLiteral("[not yet completed]"));
  QVERIFY(!w->csv.btnProcCSV->isEnabled());
  w->hide();
}

KESTRUM_GUI_TEST(CsvTabTest);
#include "csv_tab_test.moc"
