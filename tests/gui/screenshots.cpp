// Pictures of the four tabs, the log viewer and the review charts after a conversion of
// the sample file.
#include <QDir>
#include <QPixmap>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <QtTest>
#include <cstdio>

#include "config/edit_ini_window.h"
#include "gui_test_support.h"
#include "ui/qt_text.h"

bool TakeReviewScreenshots(kestrum::ui::TForm1& window, const QString& directory);

int TakeScreenshots(const QString& directory) {
  using namespace kestrum;
  test::ProgramDir dir;
  test::DialogRecorder recorder;
  const QString out = dir.makeDir(QStringLiteral("out"));
  dir.writeSettings({kestrum::test::ProgramDir::section(kEpwSection),
                     QStringLiteral("EWPFileName=") + test::SampleEpw(),
                     QStringLiteral("EPWBinDir=") + out});
  auto window = test::MakeWindow(dir, recorder);
  window->Start();
  QTest::qWait(200);
  window->epw.btnProcEPW->click();
  QDir().mkpath(directory);
  const char* names[] = {"epw-tab.png", "csv-tab.png", "review-tab.png", "setup-tab.png"};
  for (int i = 0; i < 4; ++i) {
    window->tabs->setCurrentIndex(i);
    QTest::qWait(100);
    const QString path = QDir(directory).filePath(QString::fromLatin1(names[i]));
    if (!window->grab().save(path)) {
      std::fprintf(stderr, "cannot save %s\n", qPrintable(path));
      return 1;
    }
  }
  TfrmEditINI viewer(ui::ToQ(window->settings().logFilePath), window.get());
  viewer.show();
  QTest::qWait(100);
  viewer.grab().save(QDir(directory).filePath(QStringLiteral("log-viewer.png")));
  viewer.close();
  if (!TakeReviewScreenshots(*window, directory)) return 1;
  for (const QString& e : recorder.errors) std::fprintf(stderr, "error: %s\n", qPrintable(e));
  return recorder.errors.isEmpty() ? 0 : 1;
}
