// Speed of the review charts on the review files of a conversion of the bundled sample:
// loading the overview chart and the detailed chart, redrawing after a zoom or a wheel
// notch, the hover read-out, and the nine pictures of "kestrum --export-charts". Qt draws
// offscreen.
// Run: build/bin/bench_review
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QPixmap>
#include <QVBoxLayout>
#include <filesystem>
#include <memory>

#include "chart/chart_view.h"
#include "epw/epw_header.h"
#include "format/outside_libraries.h"
#include "review/big_chart_window.h"
#include "review/chart_export_window.h"
#include "review/review_page_window.h"
#include "run/process.h"
#include "ui/review_tab.h"

namespace fs = std::filesystem;
using namespace kestrum;

namespace {

const std::string kSample = std::string(KESTRUM_SAMPLE_DATA) + "/USA_CO_Golden-NREL.724666_TMY3.epw";

// The review files of one conversion, made at the first call.
const std::string& ReviewDir() {
  static const std::string dir = [] {
    const fs::path d = fs::temp_directory_path() / "kestrum-review-bench";
    fs::create_directories(d);
    static std::unique_ptr<OutsideLibraries> libs = OutsideLibraries::Load(ProgramDirectory());
    RunRequest request;
    request.sourceFile = kSample;
    request.outputFileName = "Golden.BIN";
    request.outputDir = request.interimDir = request.programDir = d.string();
    EpwHeader header;
    ReadEPWHeader(kSample, header);
    request.site = header.site;
    HourlyTable table;
    RunState state;
    state.automaticMode = true;
    SilentUi ui;
    RunLog log((d / "bench.log").string());
    RunServices services{table, state, ui, log, *libs};
    Process(request, services);
    return d.string();
  }();
  return dir;
}

ReviewHooks Hooks() {
  ReviewHooks hooks;
  hooks.interimDir = [] { return QString::fromStdString(ReviewDir()); };
  hooks.notice = [](const QString&) {};
  hooks.error = [](const QString& m) { qFatal("%s", qPrintable(m)); };
  return hooks;
}

// The review tab's page at its size in the main window.
struct OverviewPage {
  QWidget host;
  ui::ReviewTab tab = ui::ReviewTab::Build(&host);
  ReviewPage page{tab, Hooks(), &host};
  OverviewPage() {
    host.setAttribute(Qt::WA_DontShowOnScreen);
    (new QVBoxLayout(&host))->addWidget(tab.page);
    host.resize(541, 500);
    tab.cbResultsList->addItem(QStringLiteral("Golden"));
    tab.cbResultsList->setCurrentIndex(0);
    host.show();
    QApplication::processEvents();
  }
};

// Both series of the final temperatures and the sector count.
void BM_OverviewLoad(benchmark::State& state) {
  OverviewPage p;
  for (auto _ : state) p.page.btnLoadGraphClick();
}
BENCHMARK(BM_OverviewLoad)->Unit(benchmark::kMillisecond);

void BM_OverviewLoadAndPaint(benchmark::State& state) {
  OverviewPage p;
  for (auto _ : state) {
    p.page.btnLoadGraphClick();
    benchmark::DoNotOptimize(p.tab.Chart1->grab());
  }
}
BENCHMARK(BM_OverviewLoadAndPaint)->Unit(benchmark::kMillisecond);

std::unique_ptr<TfrmBigChart> ComparisonChart() {
  BigChartInputs in;
  in.interimDir = QString::fromStdString(ReviewDir());
  in.baseName = QStringLiteral("Golden");
  auto w = std::make_unique<TfrmBigChart>(std::move(in));
  w->setAttribute(Qt::WA_DontShowOnScreen);
  w->BigChart->setZoomAnimated(false);
  w->show();
  w->cbShowOrig->setChecked(true);
  w->cbShowOrigClick();
  QApplication::processEvents();
  return w;
}

// The detailed chart comparing original and final dry bulb: both files read.
void BM_DetailLoad(benchmark::State& state) {
  auto w = ComparisonChart();
  for (auto _ : state) w->panDataTypeClick();
}
BENCHMARK(BM_DetailLoad)->Unit(benchmark::kMillisecond);

// A zoom into three weeks and the chart drawn again (the zoom's effects included).
void BM_RedrawAfterZoom(benchmark::State& state) {
  auto w = ComparisonChart();
  chart::ChartView& c = *w->BigChart;
  const QRectF plot = c.plotArea();
  const QRectF weeks(plot.left() + plot.width() * 0.5, plot.top(), plot.width() * 0.06, 10);
  for (auto _ : state) {
    state.PauseTiming();
    c.unZoom();
    state.ResumeTiming();
    c.zoomToPixels(weeks);
    benchmark::DoNotOptimize(c.grab());
  }
}
BENCHMARK(BM_RedrawAfterZoom)->Unit(benchmark::kMillisecond);

// One notch of the wheel into two months (the original drawn dotted, 4 pixels wide) and
// the chart drawn again: as a zoom, within 16 ms. Argument 1: from the whole year, the
// widest dotted line there is.
void BM_WheelZoomAndRedraw(benchmark::State& state) {
  auto w = ComparisonChart();
  chart::ChartView& c = *w->BigChart;
  const QRectF plot = c.plotArea();
  const double x = plot.center().x();
  for (auto _ : state) {
    state.PauseTiming();
    c.unZoom();
    if (state.range(0) == 0) c.zoomToPixels(QRectF(x, plot.top(), plot.width() / 6, 10));
    state.ResumeTiming();
    c.wheelZoom(x + 10, 1);
    benchmark::DoNotOptimize(c.grab());
  }
}
BENCHMARK(BM_WheelZoomAndRedraw)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The read-out under the pointer, asked at every mouse move.
void BM_HoverReadOut(benchmark::State& state) {
  auto w = ComparisonChart();
  const QPointF at = w->BigChart->plotArea().center();
  for (auto _ : state) benchmark::DoNotOptimize(w->BigChart->hoverText(at));
}
BENCHMARK(BM_HoverReadOut)->Unit(benchmark::kMicrosecond);

void BM_ExportCharts(benchmark::State& state) {
  const std::string to = (fs::temp_directory_path() / "kestrum-review-bench-charts").string();
  for (auto _ : state) ExportCharts("Golden", ReviewDir(), to);
}
BENCHMARK(BM_ExportCharts)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
