// TfrmEditINI, the log viewer: loading, saving with CR LF, its frame and the button that
// keeps its distance from the right edge.
#include <QFont>
#include <QFontInfo>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QtTest>

#include "config/edit_ini_window.h"
#include "gui_test_support.h"

using namespace kestrum;

class EditIniTest : public QObject {
  Q_OBJECT

 private slots:
  void splitsLinesOfEveryEnding();
  void frameAndControls();
  void missingFileShowsMemo1AndSaveCreatesIt();
  void savingRewritesTheLinesWithCrLf();
  void eightBitTextKeepsItsBytes();
  void failedSaveKeepsTheWindowOpen();
  void wideningMovesOnlyTheCloseButton();
};

void EditIniTest::splitsLinesOfEveryEnding() {
  QCOMPARE(SplitTextLines("a\r\nb\r\n"), QStringList({"a", "b"}));
  QCOMPARE(SplitTextLines("a\nb"), QStringList({"a", "b"}));
  QCOMPARE(SplitTextLines("a\r\r\nb"), QStringList({"a", "", "b"}));
  QCOMPARE(SplitTextLines(""), QStringList());
  QCOMPARE(SplitTextLines("\r\n"), QStringList({""}));
  QCOMPARE(JoinTextLines({"a", "", "b"}), QByteArray("a\r\n\r\nb\r\n"));
  QCOMPARE(JoinTextLines({}), QByteArray());
}

void EditIniTest::frameAndControls() {
  TfrmEditINI w{QString()};
  QCOMPARE(w.windowTitle(), QStringLiteral("Varnell-Kestrum Edit/View Configuration File"));
  QCOMPARE(w.size(), QSize(552, 375));
  QVERIFY(w.maximumSize().width() > 552);  // resizable
  QCOMPARE(w.Memo1->objectName(), QStringLiteral("Memo1"));
  QCOMPARE(w.Memo1->font().pixelSize(), 15);
  QVERIFY(QFontInfo(w.Memo1->font()).fixedPitch());
  QCOMPARE(w.Memo1->lineWrapMode(), QPlainTextEdit::NoWrap);
  QCOMPARE(w.Memo1->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
  QCOMPARE(w.Memo1->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
  QVERIFY(!w.Memo1->isReadOnly());
  QCOMPARE(w.Button1->text(), QStringLiteral("Save && Exit"));  // shows one ampersand
  QCOMPARE(w.Button3->text(), QStringLiteral("Close Edit Window"));
  QCOMPARE(w.Button3->x(), 552 - 167);
  QVERIFY(w.Button1->x() < w.Button3->x());
  QCOMPARE(w.Memo1->height(), 375 - 41);
}

void EditIniTest::missingFileShowsMemo1AndSaveCreatesIt() {
  test::ProgramDir dir;
  const QString path = dir.file(QStringLiteral("kestrum.log"));
  TfrmEditINI w(path);
  QCOMPARE(w.Memo1->toPlainText(), QStringLiteral("Memo1"));
  w.show();
  w.Button1->click();
  QCOMPARE(test::ReadFileBytes(path), QByteArray("Memo1\r\n"));
  QCOMPARE(w.result(), int(QDialog::Accepted));
  QVERIFY(!w.isVisible());
}

void EditIniTest::savingRewritesTheLinesWithCrLf() {
  test::ProgramDir dir;
  const QString path = dir.file(QStringLiteral("kestrum.log"));
  test::WriteFileBytes(path, "Processing started at x\r\n  a line\nlast");
  TfrmEditINI w(path);
  QCOMPARE(w.Memo1->toPlainText(), QStringLiteral("Processing started at x\n  a line\nlast"));
  w.Memo1->appendPlainText(QStringLiteral("typed"));
  QString error;
  QVERIFY(w.SaveLines(&error));
  QCOMPARE(test::ReadFileBytes(path), QByteArray("Processing started at x\r\n  a line\r\nlast\r\ntyped\r\n"));

  // "Close Edit Window" saves nothing.
  TfrmEditINI again(path);
  again.Memo1->setPlainText(QStringLiteral("changed"));
  again.show();
  again.Button3->click();
  QCOMPARE(again.result(), int(QDialog::Rejected));
  QCOMPARE(test::ReadFileBytes(path), QByteArray("Processing started at x\r\n  a line\r\nlast\r\ntyped\r\n"));
}

void EditIniTest::eightBitTextKeepsItsBytes() {
  test::ProgramDir dir;
  const QString path = dir.file(QStringLiteral("site.log"));
  test::WriteFileBytes(path, "Z\xfcrich 8\xb0\x43\r\n");
  TfrmEditINI w(path);
  QCOMPARE(w.Memo1->toPlainText(), QString::fromLatin1("Z\xfcrich 8\xb0\x43"));
  QVERIFY(w.SaveLines(nullptr));
  QCOMPARE(test::ReadFileBytes(path), QByteArray("Z\xfcrich 8\xb0\x43\r\n"));
}

void EditIniTest::failedSaveKeepsTheWindowOpen() {
  test::ProgramDir dir;
  TfrmEditINI w(dir.file(QStringLiteral("no-such-dir/kestrum.log")));
  QString error;
  QVERIFY(!w.SaveLines(&error));
  QVERIFY(error.contains(QStringLiteral("no-such-dir/kestrum.log")));
}

void EditIniTest::wideningMovesOnlyTheCloseButton() {
  TfrmEditINI w{QString()};
  w.show();
  QVERIFY(QTest::qWaitForWindowExposed(&w));
  const int closeLeft = w.Button3->x();
  const int saveLeft = w.Button1->x();
  w.resize(w.width() + 100, w.height());
  QTRY_COMPARE(w.Button3->x(), closeLeft + 100);
  QCOMPARE(w.Button1->x(), saveLeft);
  QCOMPARE(w.Button3->x(), w.width() - 167);
  w.hide();
}

KESTRUM_GUI_TEST(EditIniTest);
#include "edit_ini_test.moc"
