#include "review_test_support.h"

#include <QDir>
#include <QFile>
#include <QGraphicsTextItem>
#include <QLegend>
#include <algorithm>
#include <functional>
#include <QTemporaryDir>
#include <stdexcept>

#include "chart/chart_view.h"
#include "epw/epw_header.h"
#include "gui_test_support.h"
#include "run/process.h"
#include "ui/qt_text.h"

namespace kestrum::test {

namespace {

// Converts an EPW file into dir through the driver, as the window does.
void ConvertEpw(const QString& epw, const QString& dir, const std::string& base) {
  const std::string path = ui::ToStd(dir);
  RunRequest request;
  request.branch = RunBranch::Epw;
  request.sourceFile = ui::ToStd(epw);
  request.outputFileName = base + ".BIN";
  request.outputDir = path;
  request.interimDir = path;
  request.programDir = path;
  EpwHeader header;
  ReadEPWHeader(request.sourceFile, header);
  request.site = header.site;
  HourlyTable table;
  RunState state;
  state.automaticMode = true;
  SilentUi ui;
  RunLog log(path + "/run.log");
  RunServices services{table, state, ui, log, *Libraries()};
  if (!Process(request, services).converted) throw std::runtime_error(base + " run failed");
}

}  // namespace

const SampleRun& SampleReviewRun() {
  static QTemporaryDir dir;
  static const SampleRun run = [] {
    ConvertEpw(SampleEpw(), dir.path(), "Golden");
    return SampleRun{dir.path(), QStringLiteral("Golden")};
  }();
  return run;
}

const ColdRun& ColdReviewRun() {
  static QTemporaryDir dir;
  static const ColdRun run = [] {
    ConvertEpw(QStringLiteral(KESTRUM_TEST_DATA "/USA_IL_Chicago-OHare.Intl.AP.725300_TMY3.epw"),
               dir.path(), "Chicago");
    return ColdRun{dir.path(), QStringLiteral("Chicago")};
  }();
  return run;
}

std::vector<double> ColumnOf(const QString& path, int column) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  const QList<QByteArray> lines = file.readAll().split('\n');
  std::vector<double> values;
  for (qsizetype i = 2; i < lines.size(); ++i) {
    const QByteArray line = lines[i].trimmed();
    if (line.isEmpty()) continue;
    values.push_back(line.split(',').value(column - 1).trimmed().toDouble());
  }
  return values;
}

QList<LegendLabel> LegendLabels(const chart::ChartView& chart) {
  QList<LegendLabel> labels;
  const QLegend* legend = chart.chart()->legend();
  if (!legend->isVisible()) return labels;
  std::function<void(const QGraphicsItem*)> walk = [&](const QGraphicsItem* item) {
    for (const QGraphicsItem* child : item->childItems()) {
      if (!child->isVisible()) continue;
      if (const auto* text = dynamic_cast<const QGraphicsTextItem*>(child)) {
        labels.append({text->toPlainText(),
                       chart.mapFromScene(text->sceneBoundingRect()).boundingRect()});
      }
      walk(child);
    }
  };
  walk(legend);
  std::sort(labels.begin(), labels.end(), [](const LegendLabel& a, const LegendLabel& b) {
    return a.area.left() < b.area.left();
  });
  return labels;
}

void CopySampleRun(const QString& dir, const QString& base) {
  const SampleRun& run = SampleReviewRun();
  QDir().mkpath(dir);
  QFile::copy(run.originalFile(), dir + QLatin1Char('/') + base + QStringLiteral("-orig.csv"));
  QFile::copy(run.finalFile(), dir + QLatin1Char('/') + base + QStringLiteral("-final.csv"));
}

}  // namespace kestrum::test
