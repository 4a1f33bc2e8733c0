// The field window by hand and by keyboard: where the target goes after the first row is
// set, Return and Enter in the grid and the preview, the default and escape buttons, and
// Convert's note when it closes the window with changes not committed.
#include <QButtonGroup>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QtTest>

#include "gui_test_support.h"
#include "ui/qt_text.h"

using namespace kestrum;

class FieldWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void firstRowThenBackToTheItemBefore_data();
  void firstRowThenBackToTheItemBefore();
  void returnInThePreviewChoosesTheCell_data();
  void returnInThePreviewChoosesTheCell();
  void doneIsTheDefaultAndEscapeCancels_data();
  void doneIsTheDefaultAndEscapeCancels();
  void convertSaysWhenItDropsTheWindowsChanges_data();
  void convertSaysWhenItDropsTheWindowsChanges();
};

namespace {

// A stand-alone field window (no main window) on `file`, "3 Fields: Mon, Day, Hr" and wet bulb.
std::unique_ptr<TfrmFieldSpecs> OpenFieldWindow(const QString& file, TfrmFieldSpecs::Hooks hooks = {}) {
  auto window = std::make_unique<TfrmFieldSpecs>(CsvFieldMap{}, ui::ToStd(file), std::move(hooks));
  window->setAttribute(Qt::WA_DeleteOnClose, false);
  window->ShowWithPreview();
  return window;
}

void PutCurrent(TXLSform& preview, int line, int column) {
  preview.sgXLS->setCurrentCell(line - 1, column - 1);
  preview.sgXLS->setFocus();
}

}  // namespace

void FieldWindowTest::firstRowThenBackToTheItemBefore_data() {
  QTest::addColumn<int>("slotBefore");  // -1: the target was cleared ("find")
  QTest::newRow("from \"Day\"") << 1;
  QTest::newRow("from the last slot") << 10;
  QTest::newRow("from no target") << -1;
}

void FieldWindowTest::firstRowThenBackToTheItemBefore() {
  QFETCH(int, slotBefore);
  test::ProgramDir dir;
  auto w = OpenFieldWindow(test::TenByTen(dir));
  TXLSform* preview = w->preview();
  if (slotBefore >= 0) {
    w->SelectSlot(slotBefore);
  } else {
    w->ClearTarget();
  }
  w->btnFirstRow->click();
  // While the first row is the target, no "Column" cell looks selected.
  QVERIFY(w->sgXLSspecs->selectedItems().isEmpty());
  QCOMPARE(w->sgXLSspecs->currentRow(), -1);
  test::DoubleClickCell(*preview, 3, 2);
  QCOMPARE(w->seFirstRow->value(), 3);

  if (slotBefore < 0) {
    QCOMPARE(w->target(), FieldMapTarget{});
    QCOMPARE(preview->prompt(), QString());
    test::DoubleClickCell(*preview, 7, 7);
    QCOMPARE(w->seFirstRow->value(), 3);
    return;
  }
  // The item before is the target again, its cell selected, the prompt naming it.
  QCOMPARE(w->target(), (FieldMapTarget{FieldMapTarget::Slot, slotBefore}));
  QCOMPARE(w->sgXLSspecs->currentRow(), 1);
  QCOMPARE(w->sgXLSspecs->currentColumn(), slotBefore);
  QCOMPARE(preview->prompt(), ColumnPrompt(w->layout()[slotBefore].name));
  // So the next double-click sets that item's column, not the first row.
  test::DoubleClickCell(*preview, 10, 6);
  QCOMPARE(w->seFirstRow->value(), 3);
  QCOMPARE(w->Current().columns[slotBefore], std::string("6"));
}

void FieldWindowTest::returnInThePreviewChoosesTheCell_data() {
  QTest::addColumn<int>("key");
  QTest::newRow("Return") << int(Qt::Key_Return);
  QTest::newRow("Enter (keypad)") << int(Qt::Key_Enter);
}

void FieldWindowTest::returnInThePreviewChoosesTheCell() {
  QFETCH(int, key);
  test::ProgramDir dir;
  auto w = OpenFieldWindow(test::TenByTen(dir));
  TXLSform* preview = w->preview();
  // Return on a "Column" cell of the grid ("DBTemp") goes to the preview, not to "Done".
  w->sgXLSspecs->setCurrentCell(1, 3);
  QTest::keyClick(w->sgXLSspecs, Qt::Key(key));
  QCOMPARE(w->target(), (FieldMapTarget{FieldMapTarget::Slot, 3}));
  QVERIFY(w->isVisible());
  QCOMPARE(preview->focusWidget(), preview->sgXLS);
  // There the key acts as a double-click on the current cell; the next item follows.
  PutCurrent(*preview, 2, 5);
  QTest::keyClick(preview->sgXLS, Qt::Key(key));
  QCOMPARE(w->Current().columns[3], std::string("5"));
  QCOMPARE(w->target(), (FieldMapTarget{FieldMapTarget::Slot, 4}));
  QTest::keyClick(preview->sgXLS, Qt::Key_Right);
  QTest::keyClick(preview->sgXLS, Qt::Key(key));
  QCOMPARE(w->Current().columns[4], std::string("6"));
  w->btnFirstRow->click();
  PutCurrent(*preview, 4, 1);
  QTest::keyClick(preview->sgXLS, Qt::Key(key));
  QCOMPARE(w->seFirstRow->value(), 4);
  // While a cell is typed into, the key ends the typing and chooses nothing.
  QTest::keyClicks(preview->sgXLS, QStringLiteral("x"));
  auto* editor = preview->sgXLS->viewport()->findChild<QLineEdit*>();
  QVERIFY(editor != nullptr && editor->isVisible());
  QTest::keyClick(editor, Qt::Key(key));
  QTRY_COMPARE(preview->sgXLS->item(3, 0)->text(), QStringLiteral("x"));
  QCOMPARE(w->Current().columns[5], std::string());
  QCOMPARE(w->target(), (FieldMapTarget{FieldMapTarget::Slot, 5}));
}

void FieldWindowTest::doneIsTheDefaultAndEscapeCancels_data() {
  QTest::addColumn<QString>("focus");
  QTest::addColumn<int>("key");
  QTest::addColumn<bool>("committed");
  QTest::newRow("Return on a choice") << "choice" << int(Qt::Key_Return) << true;
  QTest::newRow("Enter in the first-row box") << "firstRow" << int(Qt::Key_Enter) << true;
  QTest::newRow("Return on Cancel presses Cancel") << "cancel" << int(Qt::Key_Return) << false;
  QTest::newRow("Escape on a choice") << "choice" << int(Qt::Key_Escape) << false;
  QTest::newRow("Escape in the first-row box") << "firstRow" << int(Qt::Key_Escape) << false;
}

void FieldWindowTest::doneIsTheDefaultAndEscapeCancels() {
  QFETCH(QString, focus);
  QFETCH(int, key);
  QFETCH(bool, committed);
  test::ProgramDir dir;
  std::optional<CsvFieldMap> stored;
  TfrmFieldSpecs::Hooks hooks;
  hooks.commit = [&stored](const CsvFieldMap& m) { stored = m; };
  auto w = OpenFieldWindow(test::TenByTen(dir), std::move(hooks));
  QVERIFY(w->btnDone->isDefault());
  w->seFirstRow->setValue(5);
  QWidget* target = focus == QStringLiteral("choice")     ? w->dateChoice->button(kDateNone)
                    : focus == QStringLiteral("firstRow") ? static_cast<QWidget*>(w->seFirstRow)
                                                          : w->btnCancel;
  target->setFocus();
  QTest::keyClick(target, Qt::Key(key));
  QVERIFY(!w->isVisible());
  QCOMPARE(w->outcome(), committed ? TfrmFieldSpecs::Outcome::Done : TfrmFieldSpecs::Outcome::Cancel);
  QCOMPARE(stored.has_value(), committed);
  if (committed) QCOMPARE(stored->firstRow, 5);
}

void FieldWindowTest::convertSaysWhenItDropsTheWindowsChanges_data() {
  QTest::addColumn<QString>("change");
  QTest::addColumn<bool>("noted");
  QTest::newRow("nothing changed") << "" << false;
  QTest::newRow("a column assigned") << "column" << true;
  QTest::newRow("a unit") << "unit" << true;
  QTest::newRow("changed and changed back") << "back" << false;
}

void FieldWindowTest::convertSaysWhenItDropsTheWindowsChanges() {
  QFETCH(QString, change);
  QFETCH(bool, noted);
  test::ProgramDir dir;
  const QString out = dir.makeDir(QStringLiteral("out"));
  dir.writeSettings(test::Tmy3Settings(out));
  test::DialogRecorder rec;
  auto w = test::MakeWindow(dir, rec);
  w->setup.edInterimPath->setText(dir.makeDir(QStringLiteral("interim")));
  w->show();
  w->csv.btnFieldSpecs->click();
  TfrmFieldSpecs* fields = w->csvActions().fieldSpecs();
  if (change == QStringLiteral("column")) test::DoubleClickCell(*fields->preview(), 3, 9);
  if (change == QStringLiteral("unit")) fields->cbVelUnits2->setCurrentIndex(0);
  if (change == QStringLiteral("back")) {
    fields->seFirstRow->setValue(4);
    fields->seFirstRow->setValue(3);
  }
  w->activateWindow();
  QTRY_VERIFY(w->csv.btnProcCSV->isEnabled());
  w->csv.btnProcCSV->click();
  QVERIFY2(rec.errors.isEmpty(), qPrintable(rec.errors.join(QLatin1Char('\n'))));
  const QString progress = w->csv.memCSV->toPlainText();
  QCOMPARE(progress.startsWith(QStringLiteral(
               "The field specification window was closed without Done: its changes were not used.\n")),
           noted);
  QCOMPARE(progress.count(QStringLiteral("closed without Done")), noted ? 1 : 0);
  // The run used the committed map either way.
  QVERIFY(QFile::exists(out + QStringLiteral("/723170TYA.bin")));
  QCOMPARE(w->settings().csvFieldMap.firstRow, 3);
  QCOMPARE(w->settings().csvFieldMap.columns[0], std::string("32"));
  w->hide();
}

KESTRUM_GUI_TEST(FieldWindowTest);
#include "field_window_test.moc"
