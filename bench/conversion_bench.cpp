// Speed of each conversion stage and of a whole headless conversion, on the bundled sample.
// Run: build/bin/bench_conversion
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <memory>

#include "bench_support.h"
#include "cleaning/cleaning_pass.h"
#include "csv/csv_reader.h"
#include "csv/layout_match.h"
#include "epw/epw_header.h"
#include "epw/epw_reader.h"
#include "epw/epw_writer.h"
#include "format/bin_packer.h"
#include "format/formatter.h"
#include "format/moist_air_state.h"
#include "format/site_parameters.h"
#include "format/wet_bulb_memo.h"
#include "format/outside_libraries.h"
#include "config/settings.h"
#include "run/process.h"
#include "run/renamed_file.h"
#include "run/run_report.h"
#include "run/time_base_check.h"

namespace fs = std::filesystem;
using namespace kestrum;

namespace {

const std::string kSample = std::string(KESTRUM_SAMPLE_DATA) + "/USA_CO_Golden-NREL.724666_TMY3.epw";
const std::string kTmy3Csv = std::string(KESTRUM_SAMPLE_DATA) + "/723170TYA.CSV";

using bench::Libraries;

std::string WorkDir() {
  static const std::string dir = [] {
    const fs::path d = fs::temp_directory_path() / "kestrum-bench";
    fs::create_directories(d);
    fs::current_path(d);
    return d.string();
  }();
  return dir;
}

struct Fixture {
  HourlyTable table;
  RunState state;
  SilentUi ui;
  RunLog log;
  StageContext ctx{table, state, ui, log, WorkDir()};
  EpwHeader header;
  Fixture() {
    state.outputBaseName = "bench";
    state.runMode = RunModeEpw;
    state.automaticMode = true;
    ReadEPWHeader(kSample, header);
  }
  void Read(bool calcDN) {
    table.ResetOptionalSeries();
    EpwOptions options;
    options.calcDirectNormal = calcDN;
    ReadEPWData(kSample, options, ctx);
  }
  void Clean() { CleanWeatherData(true, CleaningLimits::Defaults(), false, ctx); }
  void Format() { FormatWeatherData(header.site, false, ctx, Libraries().solvane()); }
};

// Start-up of a conversion: binding both libraries (each time afresh: this runs before any
// other benchmark keeps them loaded) and reading a settings file.
void BM_BindLibrariesAndReadSettings(benchmark::State& st) {
  const std::string ini = (fs::temp_directory_path() / "kestrum-bench.INI").string();
  WriteSettingsFile(ini, Settings{});
  ProgramPaths paths;
  paths.programDir = ProgramDirectory();
  paths.defaultInterimDir = paths.programDir;
  for (auto _ : st) {
    auto libs = OutsideLibraries::Load(paths.programDir);
    benchmark::DoNotOptimize(ReadSettingsFile(ini, paths));
  }
}
BENCHMARK(BM_BindLibrariesAndReadSettings)->Unit(benchmark::kMicrosecond);

void BM_ReadEpw(benchmark::State& st) {
  Fixture f;
  for (auto _ : st) f.Read(false);
}
BENCHMARK(BM_ReadEpw)->Unit(benchmark::kMillisecond);

void BM_Clean(benchmark::State& st) {
  Fixture f;
  f.Read(false);
  HourlyTable read = f.table;
  for (auto _ : st) {
    st.PauseTiming();
    f.table = read;
    st.ResumeTiming();
    f.Clean();
  }
}
BENCHMARK(BM_Clean)->Unit(benchmark::kMillisecond);

// The time-base check of a run: the tz/longitude test and the sun alignment of the cleaned
// global horizontal radiation (warnings, if any, go to the silent UI).
void BM_SunCheck(benchmark::State& st) {
  Fixture f;
  f.Read(false);
  RepairRecord repairs;
  CleanWeatherData(true, CleaningLimits::Defaults(), false, f.ctx, &repairs);
  for (auto _ : st) {
    benchmark::DoNotOptimize(CheckTimeBase(kSample, f.header.site, f.ctx, &repairs));
  }
}
BENCHMARK(BM_SunCheck)->Unit(benchmark::kMicrosecond);

void BM_FormatWithFileDirectNormal(benchmark::State& st) {
  Fixture f;
  f.Read(false);
  f.Clean();
  for (auto _ : st) f.Format();
}
BENCHMARK(BM_FormatWithFileDirectNormal)->Unit(benchmark::kMillisecond);

void BM_FormatEstimatingDirectNormal(benchmark::State& st) {
  Fixture f;
  f.Read(true);
  f.Clean();
  for (auto _ : st) f.Format();
}
BENCHMARK(BM_FormatEstimatingDirectNormal)->Unit(benchmark::kMillisecond);

// The psychrometrics alone: the moist-air state of every cleaned hour (dew point given),
// wet-bulb searches included, with the run's memo of wet bulbs as the formatter keeps it.
void BM_MoistAirYear(benchmark::State& st) {
  Fixture f;
  f.Read(false);
  f.Clean();
  const double elevationFt = ReadSiteParameters(f.header.site).elevationFt;
  const float* dryBulb = f.table.series(DryBulb);
  const float* moisture = f.table.series(Moisture);
  for (auto _ : st) {
    WetBulbMemo memo;
    double sum = 0;
    for (int i = 0; i < kHoursPerYear; ++i) {
      sum += MoistAirFromHour(i + 1, dryBulb[i], moisture[i], kMoistureKindDewPoint, elevationFt,
                              f.ui, &memo)
                 .wetBulbF;
    }
    benchmark::DoNotOptimize(sum);
  }
}
BENCHMARK(BM_MoistAirYear)->Unit(benchmark::kMillisecond);

// The estimate alone: 8760 SOLVANE calls over a realistic day/night pattern.
void BM_SolvaneEstimate8760(benchmark::State& st) {
  SolvaneLibrary& solvane = Libraries().solvane();
  SolarRecord* rec = solvane.init();
  for (auto _ : st) {
    double sum = 0;
    for (int h = 1; h <= 8760; ++h) {
      const int hourOfDay = (h - 1) % 24 + 1;
      const float cz = (hourOfDay > 6 && hourOfDay < 19) ? 0.1f + 0.05f * (12 - std::abs(12 - hourOfDay)) : 0.0f;
      rec->GlobalPrev = 400.0f; rec->Global = 1000.0f * cz; rec->GlobalNext = 450.0f;
      rec->CosZenithPrev = cz; rec->CosZenith = cz; rec->CosZenithNext = cz;
      rec->DewPointC = 5.0f; rec->DayOfYear = (h - 1) / 24 + 1; rec->ElevationM = 1829.0f;
      sum += solvane.estimate();
    }
    benchmark::DoNotOptimize(sum);
  }
}
BENCHMARK(BM_SolvaneEstimate8760)->Unit(benchmark::kMicrosecond);

void BM_Pack(benchmark::State& st) {
  Fixture f;
  f.Read(false);
  f.Clean();
  f.Format();
  for (auto _ : st) MakeBinFile("bench", WorkDir(), f.ctx, Libraries().ftpack());
}
BENCHMARK(BM_Pack)->Unit(benchmark::kMillisecond);

// A damaged year for the summary: a month of gaps in every series.
struct SummaryFixture : Fixture {
  HourlyTable asRead;
  RepairRecord repairs;
  std::vector<double> directNormal = std::vector<double>(kHoursPerYear, 100.0);
  SummaryFixture() {
    Read(false);
    for (int h = 3001; h <= 3744; ++h) {
      for (Series s : {DryBulb, Moisture, SolarHorizontal, WindSpeed, WindDirection}) table.at(s, h) = -999.0f;
    }
    asRead = table;
    CleanWeatherData(true, CleaningLimits::Defaults(), false, ctx, &repairs);
  }
  QualitySummary Summarise() const {
    return SummariseQuality({asRead, table, repairs, CleaningLimits::Defaults(),
                             state.moistureIndicator, directNormal});
  }
};

void BM_QualitySummary(benchmark::State& st) {
  SummaryFixture f;
  for (auto _ : st) benchmark::DoNotOptimize(f.Summarise());
}
BENCHMARK(BM_QualitySummary)->Unit(benchmark::kMicrosecond);

void BM_ReportJson(benchmark::State& st) {
  SummaryFixture f;
  RunReport report;
  report.quality = f.Summarise();
  for (auto _ : st) benchmark::DoNotOptimize(RunReportJson(report));
}
BENCHMARK(BM_ReportJson)->Unit(benchmark::kMicrosecond);

void BM_ReportHtml(benchmark::State& st) {
  SummaryFixture f;
  RunReport report;
  report.quality = f.Summarise();
  for (auto _ : st) benchmark::DoNotOptimize(RunReportHtml(report));
  st.counters["bytes"] = static_cast<double>(RunReportHtml(report).size());
}
BENCHMARK(BM_ReportHtml)->Unit(benchmark::kMillisecond);

// The repaired year as EPW, as the driver makes it after packing: the source read again,
// the text, the file written and renamed. Undamaged (every row kept) and with a month of
// gaps (a month of rows rewritten).
void RepairedEpw(benchmark::State& st, bool damaged) {
  SummaryFixture f;
  if (!damaged) {
    f.Read(false);
    f.asRead = f.table;
    f.repairs = RepairRecord{};
    CleanWeatherData(true, CleaningLimits::Defaults(), false, f.ctx, &f.repairs);
  }
  FormattedYear formatted;
  FormatWeatherData(f.header.site, false, f.ctx, Libraries().solvane(), &formatted);
  const EpwYearInputs in{f.asRead, f.table, formatted, f.repairs, f.state.moistureIndicator,
                         f.header.site};
  const std::string path = WorkDir() + "/bench-repaired.epw";
  if (st.range(0) == 0) {
    size_t bytes = 0;
    for (auto _ : st) {
      RepairedEpwFromEpwFile(kSample, in, EpwOptions{}, 0,
                             [&bytes](std::string_view piece) { bytes += piece.size(); });
    }
    benchmark::DoNotOptimize(bytes);
  } else {
    for (auto _ : st) {
      RenamedFile file(path, "the EPW file");
      RepairedEpwFromEpwFile(kSample, in, EpwOptions{}, 0,
                             [&file](std::string_view piece) { file.Write(piece); });
      file.Commit();
    }
  }
}
void BM_RepairedEpwUndamaged(benchmark::State& st) { RepairedEpw(st, false); }
void BM_RepairedEpwDamaged(benchmark::State& st) { RepairedEpw(st, true); }
// Argument 0: the text alone; 1: the text and the file.
BENCHMARK(BM_RepairedEpwUndamaged)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RepairedEpwDamaged)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The repaired year of a CSV source: a whole file made from the table.
void BM_RepairedEpwFromCsvTable(benchmark::State& st) {
  Fixture f;
  f.Read(false);
  RepairRecord repairs;
  CleanWeatherData(true, CleaningLimits::Defaults(), false, f.ctx, &repairs);
  FormattedYear formatted;
  FormatWeatherData(f.header.site, false, f.ctx, Libraries().solvane(), &formatted);
  const EpwYearInputs in{f.table, f.table, formatted, repairs, 0, f.header.site};
  const std::string path = WorkDir() + "/bench-made.epw";
  CsvEpwSource csv;
  csv.fileName = "bench.csv";
  for (auto _ : st) {
    RenamedFile file(path, "the EPW file");
    RepairedEpwFromCsv(in, csv, [&file](std::string_view piece) { file.Write(piece); });
    file.Commit();
  }
}
BENCHMARK(BM_RepairedEpwFromCsvTable)->Unit(benchmark::kMillisecond);

void WholeConversion(benchmark::State& st, bool epw) {
  const std::string dir = WorkDir();
  for (auto _ : st) {
    HourlyTable table;
    RunState state;
    state.automaticMode = true;
    SilentUi ui;
    RunLog log;
    RunRequest request;
    request.sourceFile = kSample;
    request.outputFileName = "whole.BIN";
    request.outputDir = dir;
    request.interimDir = dir;
    request.programDir = dir;
    EpwHeader header;
    ReadEPWHeader(kSample, header);
    request.site = header.site;
    if (epw) request.epwOutFile = dir + "/whole.epw";
    RunServices services{table, state, ui, log, Libraries()};
    benchmark::DoNotOptimize(Process(request, services));
  }
}
void BM_WholeConversion(benchmark::State& st) { WholeConversion(st, false); }
void BM_WholeConversionWritingEpw(benchmark::State& st) { WholeConversion(st, true); }
BENCHMARK(BM_WholeConversion)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WholeConversionWritingEpw)->Unit(benchmark::kMillisecond);

// The NSRDB TMY3 CSV sample (8760 rows of 71 columns) into the table, and its -orig.csv.
void BM_ReadCsvTmy3(benchmark::State& st) {
  Fixture f;
  f.state.runMode = RunModeCsv;
  const CsvFieldMap fieldMap = MatchLayout(kTmy3Csv, "tmy3").fieldMap;
  for (auto _ : st) {
    f.table.ResetOptionalSeries();
    ReadCSVData(kTmy3Csv, fieldMap, f.ctx);
  }
}
BENCHMARK(BM_ReadCsvTmy3)->Unit(benchmark::kMillisecond);

RunRequest CsvRequest(const std::string& path, const CsvFieldMap& fieldMap, const SiteInfo& site) {
  const std::string dir = WorkDir();
  RunRequest request;
  request.branch = RunBranch::Csv;
  request.sourceFile = path;
  request.outputFileName = "wholecsv.BIN";
  request.outputDir = request.interimDir = request.programDir = dir;
  request.csv = fieldMap;
  request.site = site;
  return request;
}

void RunWhole(benchmark::State& st, const RunRequest& request) {
  for (auto _ : st) bench::ConvertSilently(request);
}

// The Golden EPW file converted as a CSV file (its rows read by month, day and hour columns):
// the same station, values and work as BM_WholeConversion, through the CSV reader.
void BM_WholeConversionCsvOfTheEpwSample(benchmark::State& st) {
  CsvFieldMap fieldMap;
  fieldMap.firstRow = 9;
  fieldMap.dateInd = 1;
  fieldMap.moistInd = 0;
  fieldMap.solarInd = 1;
  fieldMap.dbtUnits = 1;
  fieldMap.moistUnits = 1;
  fieldMap.windUnits = 2;
  fieldMap.columns = {"2", "3", "4", "7", "8", "14", "15", "22", "21"};
  EpwHeader header;
  ReadEPWHeader(kSample, header);
  RunWhole(st, CsvRequest(kSample, fieldMap, header.site));
}
BENCHMARK(BM_WholeConversionCsvOfTheEpwSample)->Unit(benchmark::kMillisecond);

// The TMY3 CSV sample by its layout (another station: its psychrometrics cost differs).
void BM_WholeConversionCsvTmy3(benchmark::State& st) {
  const LayoutMatch tmy3 = MatchLayout(kTmy3Csv, "tmy3");
  RunWhole(st, CsvRequest(kTmy3Csv, tmy3.fieldMap, tmy3.site));
}
BENCHMARK(BM_WholeConversionCsvTmy3)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
