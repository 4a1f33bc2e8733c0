// Speed of finding a weather file's layout: `inspect` of a year's file (goal: under 15 ms),
// and a whole conversion by --layout auto (the layout found from the file, then the run)
// against the same conversion with its field map given (goal: within 1.2x).
// Run: build/bin/bench_layouts
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>

#include "bench_support.h"
#include "csv/file_survey.h"
#include "csv/layout_match.h"

namespace fs = std::filesystem;
using namespace kestrum;

namespace {

const std::string kPsm = std::string(KESTRUM_TEST_DATA) + "/csv/NSRDB_PSM3_401182_2017_30min.csv";
const std::string kPvgis = std::string(KESTRUM_TEST_DATA) + "/pvgis/PVGIS_TMY_45.000_8.000_2005_2023.csv";
const std::string kTmy3 = std::string(KESTRUM_SAMPLE_DATA) + "/723170TYA.CSV";
const std::string kEpw = std::string(KESTRUM_SAMPLE_DATA) + "/USA_CO_Golden-NREL.724666_TMY3.epw";
const std::string* const kFiles[] = {&kPsm, &kPvgis, &kTmy3, &kEpw};

std::string WorkDir() {
  static const std::string dir = [] {
    const fs::path d = fs::temp_directory_path() / "kestrum-bench-layouts";
    fs::create_directories(d);
    return d.string();
  }();
  return dir;
}

// Arg: 0 PSM half-hourly, 1 PVGIS, 2 TMY3, 3 EPW.
void BM_Inspect(benchmark::State& st) {
  const std::string& path = *kFiles[st.range(0)];
  for (auto _ : st) benchmark::DoNotOptimize(InspectFile(path));
  st.SetLabel(fs::path(path).filename().string());
}
BENCHMARK(BM_Inspect)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);

void BM_DetectLayout(benchmark::State& st) {
  const std::string& path = *kFiles[st.range(0)];
  for (auto _ : st) benchmark::DoNotOptimize(DetectLayout(path));
  st.SetLabel(fs::path(path).filename().string());
}
BENCHMARK(BM_DetectLayout)->DenseRange(0, 2)->Unit(benchmark::kMicrosecond);

RunRequest Request(const std::string& path, const LayoutMatch& match) {
  RunRequest request;
  request.branch = RunBranch::Csv;
  request.sourceFile = path;
  request.outputFileName = "layout.BIN";
  request.outputDir = request.interimDir = request.programDir = WorkDir();
  request.csv = match.fieldMap;
  request.site = match.site;
  request.timeShiftHours = match.timeShiftHours;
  return request;
}

// The field map given, as the flags of `inspect`'s command give it.
void BM_ConvertGivenFieldMap(benchmark::State& st) {
  const std::string& path = *kFiles[st.range(0)];
  const RunRequest request = Request(path, *DetectLayout(path));
  for (auto _ : st) bench::ConvertSilently(request);
  st.SetLabel(fs::path(path).filename().string());
}
BENCHMARK(BM_ConvertGivenFieldMap)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);

// --layout auto: the layout found from the file for every conversion.
void BM_ConvertLayoutAuto(benchmark::State& st) {
  const std::string& path = *kFiles[st.range(0)];
  for (auto _ : st) bench::ConvertSilently(Request(path, *DetectLayout(path)));
  st.SetLabel(fs::path(path).filename().string());
}
BENCHMARK(BM_ConvertLayoutAuto)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
