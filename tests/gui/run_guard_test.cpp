// What the window does with input that must not start a run, with pages that cannot be
// opened, and with its title bar after a run.
#include <QDesktopServices>
#include <QFile>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QToolButton>
#include <QUrl>
#include <QWindow>
#include <QtTest>

#include "gui_test_support.h"
#include "ui/picker_rules.h"
#include "ui/qt_text.h"

using namespace kestrum;

class RunGuardTest : public QObject {
  Q_OBJECT

 private slots:
  void titleBarShowsTheRestoredCaptionAfterARun();
  void badOutputNameOrLimitsStartNoRun();
  void pageThatCannotBeOpenedIsNamedInAMessage();
};

namespace {

// The title bar text the window system is handed each time the window's title changes:
// the caption followed by " — " and the application display name of that moment, unless
// the caption already ends with it (the rule Qt applies on X11 and Wayland).
class TitleBarWatcher : public QObject {
 public:
  explicit TitleBarWatcher(QWindow* window) {
    connect(window, &QWindow::windowTitleChanged, this, [this](const QString& caption) {
      const QString name = QGuiApplication::applicationDisplayName();
      shown.append(caption.endsWith(name) ? caption : caption + QStringLiteral(" \u2014 ") + name);
    });
  }
  QStringList shown;
};

// Opens nothing: a handler whose method does not exist makes openUrl return false.
class DeadHandler : public QObject {};

void PrepareRun(ui::TForm1& w, const test::ProgramDir& dir) {
  w.UseEPWFile(test::SampleEpw());
  w.epw.edEPWdir->setText(dir.makeDir(QStringLiteral("out")));
  w.setup.edInterimPath->setText(dir.makeDir(QStringLiteral("interim")));
}

}  // namespace

void RunGuardTest::titleBarShowsTheRestoredCaptionAfterARun() {
  test::ProgramDir dir;
  test::DialogRecorder rec;
  auto w = test::MakeWindow(dir, rec);
  PrepareRun(*w, dir);
  w->setup.sgWthData->item(0, 1)->setText(QStringLiteral("-45"));  // the cleaning fails
  w->show();
  TitleBarWatcher bar(w->windowHandle());
  w->epw.btnProcEPW->click();
  QVERIFY2(rec.errors.isEmpty(), qPrintable(rec.errors.join(QLatin1Char('\n'))));
  QCOMPARE(bar.shown, QStringList({QStringLiteral("Varnell-Kestrum (convert EPW) \u2014 Kestrum: convert EPW"),
                                   QStringLiteral("Brollic (clean EWP file) \u2014 Brollic: clean EWP file)"),
                                   QStringLiteral("Tavorin-Zenfold")}));
  QCOMPARE(w->windowTitle(), QStringLiteral("Tavorin-Zenfold"));
  QCOMPARE(w->windowHandle()->title(), QStringLiteral("Tavorin-Zenfold"));
  w->hide();
}

void RunGuardTest::badOutputNameOrLimitsStartNoRun() {
  test::ProgramDir dir;
  test::DialogRecorder rec;
  auto w = test::MakeWindow(dir, rec);
  PrepareRun(*w, dir);
  const QString logFile = ui::ToQ(dir.paths().defaultLogFile);
  for (const char* name : {"../escape.BIN", "sub/dir.BIN", "back\\slash.BIN", "", ".BIN"}) {
    w->epw.edEPWBinName->setText(QString::fromLatin1(name));
    w->epw.btnProcEPW->click();
  }
  QCOMPARE(rec.errors.size(), 5);
  QVERIFY2(rec.errors[0].contains(QStringLiteral("\"../escape.BIN\" may not hold")),
           qPrintable(rec.errors[0]));
  QVERIFY(rec.errors[3].contains(QStringLiteral("gives no file name")));

  w->epw.edEPWBinName->setText(QStringLiteral("Golden.BIN"));
  w->setup.sgWthData->item(2, 0)->setText(QStringLiteral("1300"));  // solar Min above its Max
  w->epw.btnProcEPW->click();
  QCOMPARE(rec.errors.size(), 6);
  QCOMPARE(rec.errors[5], QStringLiteral("The cleaning limits row \"Solar Horiz.\" has its Min (1300) "
                                         "above its Max (1200). No hour of that series could pass."));
  // No run started: no log line, no file, nothing in the progress box.
  QVERIFY(!QFile::exists(logFile));
  QVERIFY(QDir(dir.file(QStringLiteral("interim"))).isEmpty());
  QVERIFY(QDir(dir.file(QStringLiteral("out"))).isEmpty());
  QVERIFY(w->epw.memEPW->toPlainText().isEmpty());
}

void RunGuardTest::pageThatCannotBeOpenedIsNamedInAMessage() {
  DeadHandler dead;
  for (const char* scheme : {"file", "https"}) {
    QDesktopServices::setUrlHandler(QString::fromLatin1(scheme), &dead, "noSuchMethod");
  }
  test::ProgramDir dir;
  dir.addHelpPage();
  test::DialogRecorder rec;
  auto w = test::MakeWindow(dir, rec);
  w->csv.bbCSVtop->click();
  w->epw.btnDOEwebsite->click();
  for (const char* scheme : {"file", "https"}) {
    QDesktopServices::unsetUrlHandler(QString::fromLatin1(scheme));
  }
  const QString prefix = QStringLiteral("No web browser or other program could be started to show the page ");
  QCOMPARE(rec.errors, QStringList({prefix + dir.file(QStringLiteral("Tavorin-Zenfold.html#CSVtop.")),
                                    prefix + ui::ToQ(w->settings().doeUrl) + QLatin1Char('.')}));
}

KESTRUM_GUI_TEST(RunGuardTest);
#include "run_guard_test.moc"
