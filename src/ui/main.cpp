// kestrum: the desktop program. Binds the two libraries, finds the settings file and
// opens the main window.
#include <QApplication>
#include <QMessageBox>
#include <QStandardPaths>
#include <cstdio>
#include <memory>

#include "config/settings.h"
#include "format/outside_libraries.h"
#include "review/chart_export_window.h"
#include "ui/main_window.h"
#include "ui/qt_text.h"

int main(int argc, char** argv) {
  // "--export-charts" renders the review charts of a run and ends; it never shows a window.
  if (kestrum::IsChartExport(argc, argv)) return kestrum::RunChartExportCommand(argc, argv);

  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("kestrum"));
  QApplication::setApplicationVersion(QStringLiteral(KESTRUM_VERSION));
  QGuiApplication::setDesktopFileName(QStringLiteral("kestrum"));

  using namespace kestrum;
  std::unique_ptr<OutsideLibraries> libraries;
  try {
    libraries = OutsideLibraries::Load(ProgramDirectory());
  } catch (const LibraryError& e) {
    std::fprintf(stderr, "kestrum: %s\n", e.what());
    QMessageBox::critical(nullptr, QStringLiteral("Kestrum"), ui::ToQ(e.what()));
    return 1;
  }

  ui::WindowStart start;
  start.paths = ResolveProgramPaths(
      ui::ToStd(QCoreApplication::applicationFilePath()),
      ui::ToStd(QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation)),
      ui::ToStd(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)));
  start.arguments = QCoreApplication::arguments().mid(1);
  start.libraries = libraries.get();

  ui::TForm1 window(std::move(start));
  window.Start();
  return app.exec();
}
