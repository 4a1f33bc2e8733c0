#include "review/chart_export_window.h"

#include <CLI/CLI.hpp>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QRadioButton>
#include <QStandardPaths>
#include <QVBoxLayout>
#include <cstdio>
#include <cstdlib>
#include <exception>

#include "chart/chart_picture.h"
#include "chart/chart_view.h"
#include "config/settings.h"
#include "review/big_chart_window.h"
#include "review/review_files.h"
#include "review/review_page_window.h"
#include "review/wind_rose_window.h"
#include "run/run_error.h"
#include "ui/main_window.h"
#include "ui/qt_text.h"
#include "ui/review_tab.h"

namespace kestrum {

using ui::ToQ;
using ui::ToStd;

namespace {

// The review tab's page inside the main window.
constexpr int kPageWidth = ui::kClientWidth - 10;
constexpr int kPageHeight = ui::kClientHeight - 34;

// Lets pending layouts settle before a picture is taken.
void Settle() {
  QCoreApplication::sendPostedEvents();
  QCoreApplication::processEvents();
}

class Pictures {
 public:
  Pictures(std::string base, const std::string& toDir) : base_(std::move(base)), dir_(ToQ(toDir)) {}

  std::string path(const std::string& suffix) const {
    return ToStd(QDir(dir_).filePath(ToQ(base_ + suffix)));
  }
  // Saves the picture that make draws once pending layouts have settled.
  template <class Make>
  void save(Make make, const std::string& suffix) {
    Settle();
    const std::string p = path(suffix);
    if (!chart::SavePicture(make(), ToQ(p))) throw RunError("Cannot write " + p);
    written.push_back(p);
  }
  std::vector<std::string> written;

 private:
  std::string base_;
  QString dir_;
};

// Errors of a load end the export; notices (an unknown moisture field) are warnings.
ReviewHooks ExportHooks(const std::string& interimDir, std::string& error) {
  ReviewHooks hooks;
  hooks.interimDir = [dir = ToQ(interimDir)] { return dir; };
  hooks.notice = [](const QString& m) {
    std::fprintf(stderr, "kestrum: warning: %s\n", ToStd(m).c_str());
  };
  hooks.error = [&error](const QString& m) {
    if (error.empty()) error = ToStd(m);
  };
  return hooks;
}

void ThrowIf(const std::string& error) {
  if (!error.empty()) throw RunError(error);
}

}  // namespace

bool IsChartExport(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--export-charts" || a.rfind("--export-charts=", 0) == 0) return true;
  }
  return false;
}

std::vector<std::string> ExportCharts(const std::string& base, const std::string& interimDir,
                                      const std::string& toDir) {
  for (const std::string& file :
       {OriginalDataPath(interimDir, base), FinalDataPath(interimDir, base)}) {
    if (!QFileInfo(ToQ(file)).isFile()) {
      throw RunError("The review files of run " + base + " are missing: " + file +
                     " does not exist");
    }
  }
  if (!QDir().mkpath(ToQ(toDir)) || !QFileInfo(ToQ(toDir)).isWritable()) {
    throw RunError("Cannot write into the directory " + toDir);
  }
  Pictures pictures(base, toDir);
  std::string error;

  // The overview chart as the review tab shows it.
  QWidget host;
  host.setAttribute(Qt::WA_DontShowOnScreen);
  QFont small = host.font();
  small.setPixelSize(ui::kFontPixels);
  host.setFont(small);
  ui::ReviewTab tab = ui::ReviewTab::Build(&host);
  auto* hostLayout = new QVBoxLayout(&host);
  hostLayout->setContentsMargins(0, 0, 0, 0);
  hostLayout->addWidget(tab.page);
  host.resize(kPageWidth, kPageHeight);
  tab.cbResultsList->addItem(ToQ(base));
  tab.cbResultsList->setCurrentIndex(0);
  ReviewPage page(tab, ExportHooks(interimDir, error), &host);
  host.show();
  struct Overview {
    QRadioButton* type;
    const char* name;
  };
  // The final wind comes last: the wind profile shows what it counted.
  for (bool finalData : {false, true}) {
    (finalData ? tab.rbFinalData : tab.rbOrigData)->setChecked(true);
    for (const Overview& o : {Overview{tab.rbTemp, "temperature"}, Overview{tab.rbSolar, "solar"},
                              Overview{tab.rbWind, "wind"}}) {
      o.type->setChecked(true);
      page.btnLoadGraphClick();
      ThrowIf(error);
      pictures.save([&tab] { return tab.Chart1->picture(); },
                    std::string("-overview-") + o.name +
                        (finalData ? "-final.png" : "-original.png"));
    }
  }
  const WindSectorCounts counts = page.windSectorCounts();

  // The detailed chart comparing original and final data.
  BigChartInputs inputs;
  inputs.interimDir = ToQ(interimDir);
  inputs.baseName = ToQ(base);
  inputs.error = [&error](const QString& m) {
    if (error.empty()) error = ToStd(m);
  };
  TfrmBigChart detail(std::move(inputs));
  detail.setAttribute(Qt::WA_DontShowOnScreen);
  detail.show();
  detail.cbShowOrig->setChecked(true);
  detail.cbShowOrigClick();
  ThrowIf(error);
  pictures.save([&detail] { return detail.BigChart->picture(); },
                "-detail-drybulb-comparison.png");
  detail.rbSolar->setChecked(true);
  detail.panDataTypeClick();
  ThrowIf(error);
  pictures.save([&detail] { return detail.BigChart->picture(); },
                "-detail-solar-comparison.png");

  // The wind profile with its numbers, of the final data.
  TfrmWindRose rose(counts, {ToQ(base), QStringLiteral("final data")});
  rose.setAttribute(Qt::WA_DontShowOnScreen);
  rose.show();
  pictures.save([&rose] { return rose.picture(); }, "-wind-rose.png");

  const std::string table = pictures.path("-wind-sectors.csv");
  WriteWindSectorTable(table, counts);
  pictures.written.push_back(table);
  return pictures.written;
}

int RunChartExportCommand(int argc, char** argv) {
  CLI::App app{"Kestrum: renders the review charts of a converted run into PNG files.", "kestrum"};
  std::string base, interimDir, toDir;
  app.add_option("--export-charts", base, "Base name of the run (its NAME-orig.csv and "
                                          "NAME-final.csv are charted)")
      ->required();
  app.add_option("--interim", interimDir,
                 "Directory of the review files (default: the interim directory of the "
                 "settings file)");
  app.add_option("--to", toDir, "Directory that receives the pictures (default: the current "
                                "directory; created when missing)");
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    return app.exit(e) == 0 ? 0 : 1;
  }

  // Nothing is shown: without a chosen platform, Qt draws offscreen (no display needed).
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  // stderr carries the one message that says why an export failed: Qt's own notes about
  // the platform stay out of it.
  qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtCriticalMsg || type == QtFatalMsg) {
      std::fprintf(stderr, "kestrum: %s\n", qPrintable(message));
    }
  });
  QApplication qt(argc, argv);
  QApplication::setApplicationName(QStringLiteral("kestrum"));
  try {
    if (interimDir.empty()) {
      const ProgramPaths paths = ResolveProgramPaths(
          ToStd(QCoreApplication::applicationFilePath()),
          ToStd(QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation)),
          ToStd(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)));
      interimDir = ReadSettingsFile(paths.settingsFile, paths).interimPath;
      if (interimDir.empty()) interimDir = paths.defaultInterimDir;
    }
    if (toDir.empty()) toDir = ToStd(QDir::currentPath());
    for (const std::string& file : ExportCharts(base, interimDir, toDir)) {
      std::printf("%s\n", file.c_str());
    }
    return 0;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "kestrum: %s\n", e.what());
    return 1;
  }
}

}  // namespace kestrum
