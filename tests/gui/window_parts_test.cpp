// The window's run interface (progress box, captions, review list), the help and web-page
// buttons, and the directory and log pickers once a choice is made.
#include <QComboBox>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextBlock>
#include <QToolButton>
#include <QUrl>
#include <QtTest>

#include "gui_test_support.h"
#include "ui/picker_rules.h"
#include "ui/qt_text.h"
#include "ui/window_run_ui.h"

using namespace kestrum;

// Receives the URLs the desktop would open.
class UrlCatcher : public QObject {
  Q_OBJECT
 public:
  QList<QUrl> urls;
 public slots:
  void open(const QUrl& url) { urls.append(url); }
};

class WindowPartsTest : public QObject {
  Q_OBJECT

 private slots:
  void progressLinesScrollToTheEnd();
  void runInterfaceReachesTheWindow();
  void textConversionKeepsEveryByte();
  void helpPageUrlCarriesTheAnchor();
  void helpAndWebButtonsOpenTheirPages();
  void pickersFillTheirFields();
};

void WindowPartsTest::progressLinesScrollToTheEnd() {
  QPlainTextEdit memo;
  ui::AppendProgressLine(memo, QStringLiteral("  first"));
  QCOMPARE(memo.toPlainText(), QStringLiteral("  first"));
  ui::AppendProgressLine(memo, QStringLiteral("  second"));
  ui::AppendProgressLine(memo, QStringLiteral("  third"));
  QCOMPARE(memo.toPlainText(), QStringLiteral("  first\n  second\n  third"));
  // The caret sits, with an empty selection, at the start of the line before the last.
  QCOMPARE(memo.textCursor().block().blockNumber(), 1);
  QCOMPARE(memo.textCursor().positionInBlock(), 0);
  QVERIFY(!memo.textCursor().hasSelection());
}

void WindowPartsTest::runInterfaceReachesTheWindow() {
  QWidget window;
  QPlainTextEdit memo;
  QComboBox list;
  QLabel label(QStringLiteral("All Results:"));
  QStringList notices;
  ui::WindowRunUi runUi(window);
  runUi.setNoticeHook([&notices](const QString& m) { notices.append(m); });
  runUi.setActiveMemo(&memo);
  runUi.setAutomaticMode(true);
  runUi.setReviewList(&list, &label);

  runUi.EchoLine("  Weather data cleaned successfully.");
  QCOMPARE(memo.toPlainText(), QStringLiteral("  Weather data cleaned successfully."));
  runUi.Notice("Conversion to Int failed (x)");
  QCOMPARE(notices, QStringList({QStringLiteral("Conversion to Int failed (x)")}));
  runUi.SetCaption("Varnell-Kestrum (convert EPW)", "Kestrum: convert EPW");
  QCOMPARE(window.windowTitle(), QStringLiteral("Varnell-Kestrum (convert EPW)"));
  QCOMPARE(QGuiApplication::applicationDisplayName(), QStringLiteral("Kestrum: convert EPW"));

  list.addItem(QStringLiteral("older"));
  runUi.ResetReviewList();
  QCOMPARE(list.count(), 0);
  QCOMPARE(label.text(), QStringLiteral("Latest Results:"));
  runUi.OfferForReview("Golden");
  QCOMPARE(list.count(), 1);
  QCOMPARE(list.itemText(0), QStringLiteral("Golden"));
  QCOMPARE(list.currentIndex(), -1);

  // Without a progress box the line goes nowhere, and nothing breaks.
  runUi.setActiveMemo(nullptr);
  runUi.EchoLine("dropped");
}

void WindowPartsTest::textConversionKeepsEveryByte() {
  QCOMPARE(ui::ToQ("Z\xc3\xbcrich"), QString::fromUtf8("Z\xc3\xbcrich"));
  QCOMPARE(ui::ToQ("Z\xfcrich"), QString::fromLatin1("Z\xfcrich"));  // 8-bit text
  QVERIFY(!ui::IsValidUtf8("\xc3"));                 // cut short
  QVERIFY(!ui::IsValidUtf8("\xc0\xaf"));             // overlong
  QVERIFY(!ui::IsValidUtf8("\xed\xa0\x80"));         // surrogate
  QVERIFY(ui::IsValidUtf8("\xf0\x9f\x8c\xa4 sun"));  // four bytes
  QCOMPARE(ui::ToStd(QString::fromLatin1("\xb0" "F")), std::string("\xc2\xb0" "F"));
}

void WindowPartsTest::helpPageUrlCarriesTheAnchor() {
  const QUrl url = ui::HelpPageUrl(QStringLiteral("/opt/k/Tavorin-Zenfold.html#CSVtop"));
  QVERIFY(url.isLocalFile());
  QCOMPARE(url.toLocalFile(), QStringLiteral("/opt/k/Tavorin-Zenfold.html"));
  QCOMPARE(url.fragment(), QStringLiteral("CSVtop"));
  QVERIFY(!ui::HelpPageUrl(QStringLiteral("/opt/k/Tavorin-Zenfold.html")).hasFragment());
  QCOMPARE(ui::HelpPagePath(QStringLiteral("/opt/k")), QStringLiteral("/opt/k/Tavorin-Zenfold.html"));
}

void WindowPartsTest::helpAndWebButtonsOpenTheirPages() {
  UrlCatcher catcher;
  for (const char* scheme : {"file", "http", "https"}) {
    QDesktopServices::setUrlHandler(QString::fromLatin1(scheme), &catcher, "open");
  }
  test::ProgramDir dir;
  dir.addHelpPage();
  test::DialogRecorder rec;
  auto w = test::MakeWindow(dir, rec);
  w->csv.bbCSVtop->click();
  w->epw.btnDOEwebsite->click();
  w->csvActions().UseCSVFile(test::SampleCsv());
  w->csv.btnFieldSpecs->click();
  w->csvActions().fieldSpecs()->bbCSVfld->click();
  for (const char* scheme : {"file", "http", "https"}) {
    QDesktopServices::unsetUrlHandler(QString::fromLatin1(scheme));
  }
  QCOMPARE(catcher.urls.size(), 3);
  QCOMPARE(catcher.urls[2].toLocalFile(), catcher.urls[0].toLocalFile());
  QCOMPARE(catcher.urls[2].fragment(), QStringLiteral("CSVfld"));
  QCOMPARE(catcher.urls[0].toLocalFile(), dir.file(QStringLiteral("Tavorin-Zenfold.html")));
  QCOMPARE(catcher.urls[0].fragment(), QStringLiteral("CSVtop"));
  QCOMPARE(catcher.urls[1], QUrl(ui::ToQ(w->settings().doeUrl)));
  QVERIFY(catcher.urls[1].scheme().startsWith(QStringLiteral("http")));
}

void WindowPartsTest::pickersFillTheirFields() {
  test::ProgramDir dir;
  test::DialogRecorder rec;
  auto w = test::MakeWindow(dir, rec);
  const QString out = dir.makeDir(QStringLiteral("out"));
  w->UseDirectory(w->epw.edEPWdir, out + QStringLiteral("/"));
  QCOMPARE(w->epw.edEPWdir->text(), out);
  w->UseDirectory(w->setup.edInterimPath, out);
  QCOMPARE(w->setup.edInterimPath->text(), out);
  // Only the field changes; the setting follows at the next capture.
  QCOMPARE(w->settings().interimPath, dir.paths().defaultInterimDir);
  w->CaptureWindowSettings();
  QCOMPARE(w->settings().interimPath, ui::ToStd(out));

  const QString log = dir.file(QStringLiteral("runs.txt"));
  w->UseLogFile(log);
  QCOMPARE(w->setup.edLOG->text(), log);
  QCOMPARE(w->setup.edLOG->toolTip(), log);
  QCOMPARE(w->runLog().path(), dir.paths().defaultLogFile);
  w->edLOGChange();
  QCOMPARE(w->runLog().path(), ui::ToStd(log));

  QCOMPARE(ui::InitialFolderFor(QString(), QStringLiteral("/cwd")), QStringLiteral("/cwd"));
  QCOMPARE(ui::InitialFolderFor(test::SampleEpw(), QStringLiteral("/cwd")),
           QStringLiteral(KESTRUM_SAMPLE_DATA));
  QCOMPARE(ui::InitialFolderFor(QStringLiteral("<previous file no longer exists>"), QStringLiteral("/cwd")),
           QStringLiteral("/cwd"));
}

KESTRUM_GUI_TEST(WindowPartsTest);
#include "window_parts_test.moc"
