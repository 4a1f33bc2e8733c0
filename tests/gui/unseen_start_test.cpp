// Starts that nobody watches or that cannot read their settings: a settings file that is
// there but cannot be read is said (a box when interactive, the log in automatic mode) and
// the defaults are used; an automatic run where no window can be seen logs its "exiting"
// instead of waiting for a box nobody can dismiss, and the program ends by itself.
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QtTest>

#include "gui_test_support.h"
#include "ui/automatic_run.h"
#include "ui/qt_text.h"

using namespace kestrum;

class UnseenStartTest : public QObject {
  Q_OBJECT

 private slots:
  void anUnreadableSettingsFileIsSaidAndTheDefaultsUsed_data();
  void anUnreadableSettingsFileIsSaidAndTheDefaultsUsed();
  void anAutomaticRunLogsWhatItCannotShow();
  void theProgramEndsByItselfUnderTheOffscreenPlatform();
};

namespace {

// Makes the settings file of dir something that cannot be read.
void SpoilSettingsFile(const test::ProgramDir& dir, const QString& kind) {
  const QString path = ui::ToQ(dir.paths().settingsFile);
  if (kind == QLatin1String("directory")) {
    QDir().mkpath(path);
  } else if (kind == QLatin1String("pipe")) {
    QVERIFY(mkfifo(dir.paths().settingsFile.c_str(), 0600) == 0);
  } else {
    // One byte over the size cap of 16 MB.
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QVERIFY(file.resize((qint64{16} << 20) + 1));
  }
}

QString LogText(const test::ProgramDir& dir) {
  return QString::fromUtf8(test::ReadFileBytes(ui::ToQ(dir.paths().defaultLogFile)));
}

}  // namespace

void UnseenStartTest::anUnreadableSettingsFileIsSaidAndTheDefaultsUsed_data() {
  QTest::addColumn<QString>("kind");
  QTest::addColumn<QString>("why");
  QTest::newRow("directory") << "directory" << "it is a directory, not a regular file";
  QTest::newRow("pipe") << "pipe" << "it is a named pipe, not a regular file";
  QTest::newRow("too large") << "large" << "it is larger than 16 MB";
}

void UnseenStartTest::anUnreadableSettingsFileIsSaidAndTheDefaultsUsed() {
  QFETCH(QString, kind);
  QFETCH(QString, why);
  test::ProgramDir dir;
  SpoilSettingsFile(dir, kind);
  test::DialogRecorder rec;
  auto w = test::MakeWindow(dir, rec);
  w->Start();
  QCOMPARE(rec.notices.size(), 1);
  const QString& notice = rec.notices.front();
  QVERIFY2(notice.contains(ui::ToQ(dir.paths().settingsFile)), qPrintable(notice));
  QVERIFY2(notice.contains(why), qPrintable(notice));
  QVERIFY2(notice.contains(QStringLiteral("default settings")), qPrintable(notice));
  // The defaults: the interim directory is the program's.
  QCOMPARE(w->setup.edInterimPath->text(), ui::ToQ(dir.paths().defaultInterimDir));
  QVERIFY(rec.errors.isEmpty());
  w->hide();
}

void UnseenStartTest::anAutomaticRunLogsWhatItCannotShow() {
  test::ProgramDir dir;
  SpoilSettingsFile(dir, QStringLiteral("pipe"));
  test::DialogRecorder rec;
  rec.windowsSeen = false;
  auto w = test::MakeWindow(dir, rec, {QStringLiteral("/A")});
  w->Start();
  QTRY_VERIFY_WITH_TIMEOUT(rec.quitStatus.has_value(), 60000);
  QCOMPARE(*rec.quitStatus, ui::kAutoExitError);  // the defaults hold no file to convert
  QVERIFY2(rec.notices.isEmpty(), qPrintable(rec.notices.join(QLatin1Char('\n'))));
  const QString log = LogText(dir);
  const QString settingsLine = QStringLiteral("     The settings file cannot be read, so the program "
                                              "goes on with the default settings. Cannot read ") +
                               ui::ToQ(dir.paths().settingsFile) +
                               QStringLiteral(": it is a named pipe, not a regular file.\r\n");
  QVERIFY2(log.startsWith(settingsLine + QStringLiteral("Processing started at ")), qPrintable(log));
  QVERIFY2(log.endsWith(QStringLiteral("\r\nexiting\r\n")), qPrintable(log));
}

void UnseenStartTest::theProgramEndsByItselfUnderTheOffscreenPlatform() {
  // The program itself, beside its two libraries in a directory of its own, whose settings
  // file is a directory.
  QTemporaryDir home;
  QVERIFY(home.isValid());
  for (const char* name : {"kestrum", "libsolvane.so", "libftpack.so"}) {
    QVERIFY(QFile::copy(QStringLiteral(KESTRUM_BIN_DIR "/") + QLatin1String(name),
                        home.filePath(QLatin1String(name))));
  }
  QFile::setPermissions(home.filePath(QStringLiteral("kestrum")),
                        QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  QVERIFY(QDir(home.path()).mkdir(QStringLiteral("kestrum.INI")));

  QProcess program;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
  env.insert(QStringLiteral("HOME"), home.path());
  program.setProcessEnvironment(env);
  program.start(home.filePath(QStringLiteral("kestrum")), {QStringLiteral("/A")});
  QVERIFY(program.waitForStarted());
  const bool ended = program.waitForFinished(60000);
  if (!ended) program.kill();
  QVERIFY2(ended, "kestrum /A did not end by itself");
  QCOMPARE(program.exitStatus(), QProcess::NormalExit);
  QCOMPARE(program.exitCode(), ui::kAutoExitError);
  const QString log =
      QString::fromUtf8(test::ReadFileBytes(home.filePath(QStringLiteral("kestrum.log"))));
  QVERIFY2(log.contains(QStringLiteral("kestrum.INI: it is a directory, not a regular file.")),
           qPrintable(log));
  QVERIFY2(log.contains(QStringLiteral("Automatic run: nothing was converted.")), qPrintable(log));
  QVERIFY2(log.endsWith(QStringLiteral("\r\nexiting\r\n")), qPrintable(log));
  const QString err = QString::fromUtf8(program.readAllStandardError());
  QVERIFY2(err.contains(QStringLiteral("kestrum: exiting")), qPrintable(err));
}

KESTRUM_GUI_TEST(UnseenStartTest);
#include "unseen_start_test.moc"
