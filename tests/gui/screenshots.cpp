// Pictures of the four tabs (and the log viewer) after a conversion of the sample EPW file
// and of the sample TMY3 CSV file, of the field window docked beside its
// preview, and of the review charts of the EPW run.
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QScrollBar>
#include <QTableWidget>
#include <algorithm>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTimer>
#include <QtTest>
#include <cstdio>

#include "config/edit_ini_window.h"
#include "gui_test_support.h"
#include "review/review_page_window.h"
#include "ui/qt_text.h"

bool TakeReviewScreenshots(kestrum::ui::TForm1& window, const QString& directory);

namespace {

bool Save(const QPixmap& picture, const QString& directory, const char* name) {
  const QString path = QDir(directory).filePath(QString::fromLatin1(name));
  if (picture.save(path)) return true;
  std::fprintf(stderr, "cannot save %s\n", qPrintable(path));
  return false;
}

// The two windows side by side, as the docked preview stands on the screen.
QPixmap SideBySide(QWidget& left, QWidget& right) {
  const QPixmap a = left.grab();
  const QPixmap b = right.grab();
  QPixmap both(a.width() + b.width(), std::max(a.height(), b.height()));
  both.fill(Qt::white);
  QPainter painter(&both);
  painter.drawPixmap(0, 0, a);
  painter.drawPixmap(a.width(), 0, b);
  return both;
}

}  // namespace

int TakeScreenshots(const QString& directory) {
  using namespace kestrum;
  // The windows are drawn into pictures, not onto the test's small screen: they are placed
  // as on a roomy desktop, each at its own size.
  const test::WorkAreaScope roomy(QRect(0, 0, 1600, 1000));
  test::ProgramDir dir;
  test::DialogRecorder recorder;
  const QString out = dir.makeDir(QStringLiteral("out"));
  dir.writeSettings({kestrum::test::ProgramDir::section(kEpwSection),
                     QStringLiteral("EWPFileName=") + test::SampleEpw(),
                     QStringLiteral("EPWBinDir=") + out,
                     kestrum::test::ProgramDir::section(kCsvSection),
                     QStringLiteral("CSVBinDir=") + out});
  auto window = test::MakeWindow(dir, recorder);
  window->Start();
  QTest::qWait(200);
  window->epw.cbEPWWriteEpw->setChecked(true);  // the repaired year as EPW too
  window->epw.btnProcEPW->click();
  QDir().mkpath(directory);

  // The CSV tab: the TMY3 file chosen, its site typed from its first line, specified, converted.
  window->tabs->setCurrentIndex(1);
  const QString csvFile = dir.file(QStringLiteral("723170TYA.CSV"));
  QFile::copy(test::SampleCsv(), csvFile);
  window->csvActions().UseCSVFile(csvFile);
  window->csv.ledCSVdesc->setText(QStringLiteral("GREENSBORO PIEDMONT TRIAD INT, NC"));
  window->csv.ledCSVlat->setText(QStringLiteral("36.100"));
  window->csv.ledCSVlon->setText(QStringLiteral("-79.950"));
  window->csv.ledCSVtz->setText(QStringLiteral("-5.0"));
  window->csv.ledCSVelev->setText(QStringLiteral("273"));
  window->csv.btnFieldSpecs->click();
  TfrmFieldSpecs* fieldMaps = window->csvActions().fieldSpecs();
  test::SpecifyTmy3(*fieldMaps);
  fieldMaps->SelectSlot(4);  // the prompt of a slot still to check
  fieldMaps->preview()->resize(640, fieldMaps->height());
  fieldMaps->preview()->sgXLS->scrollToTop();
  fieldMaps->preview()->sgXLS->horizontalScrollBar()->setValue(0);
  QTest::qWait(100);
  bool saved = Save(SideBySide(*fieldMaps, *fieldMaps->preview()), directory, "csv-field-specs.png");
  fieldMaps->btnDone->click();
  window->activateWindow();
  QTest::qWait(100);
  window->csv.btnProcCSV->click();

  const char* names[] = {"epw-tab.png", "csv-tab.png", nullptr, "setup-tab.png"};
  for (int i = 0; i < 4; ++i) {
    if (names[i] == nullptr) continue;  // the review tab: below, on the EPW run
    window->tabs->setCurrentIndex(i);
    QTest::qWait(100);
    saved = Save(window->grab(), directory, names[i]) && saved;
  }
  TfrmEditINI viewer(ui::ToQ(window->settings().logFilePath), window.get());
  viewer.show();
  QTest::qWait(100);
  saved = Save(viewer.grab(), directory, "log-viewer.png") && saved;
  viewer.close();

  // The review pictures chart the sample EPW run, listed again beside the CSV run.
  window->tabs->setCurrentWidget(window->review.page);
  window->review.btnMoreResults->click();
  window->review.cbResultsList->setCurrentIndex(
      window->review.cbResultsList->findText(QStringLiteral("USA_CO_Golden-NREL.724666_TMY3")));
  window->reviewPage().cbResultsListChange();
  window->review.rbTemp->click();
  QTest::qWait(100);
  saved = Save(window->grab(), directory, "review-tab.png") && saved;
  saved = TakeReviewScreenshots(*window, directory) && saved;
  for (const QString& e : recorder.errors) std::fprintf(stderr, "error: %s\n", qPrintable(e));
  for (const QString& n : recorder.notices) std::fprintf(stderr, "notice: %s\n", qPrintable(n));
  return recorder.errors.isEmpty() && saved ? 0 : 1;
}
