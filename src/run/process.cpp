#include "run/process.h"

#include <filesystem>
#include <system_error>

#include "cleaning/cleaning_pass.h"
#include "csv/csv_reader.h"
#include "format/bin_packer.h"
#include "format/formatter.h"
#include "run/run_error.h"
#include "run/stage_context.h"

namespace kestrum {

namespace fs = std::filesystem;

namespace {

bool IsDirectory(const std::string& path) {
  std::error_code ec;
  return !path.empty() && fs::is_directory(path, ec);
}

}  // namespace

RunOutcome Process(const RunRequest& request, RunServices& services) {
  RunOutcome outcome;
  services.log.WriteLogLine("Processing started at " + LocalDateTimeText());
  services.ui.ResetReviewList();

  outcome.interimDir = request.interimDir;
  if (!IsDirectory(outcome.interimDir)) {
    outcome.interimDir = request.programDir;
    outcome.interimReplaced = true;
  }
  std::error_code ec;
  fs::current_path(outcome.interimDir, ec);
  if (ec) {
    throw RunError("Cannot make the interim directory " + outcome.interimDir +
                   " the current directory: " + ec.message());
  }

  RunState& state = services.state;
  StageContext ctx{services.table, state, services.ui, services.log, outcome.interimDir};
  state.outputBaseName = RemoveExtension(request.outputFileName);

  RepairRecord repairs;
  HourlyTable asRead;
  std::vector<double> directNormal;
  bool ok = false;
  if (request.branch == RunBranch::Epw) {
    state.runMode = RunModeEpw;
    services.table.ResetOptionalSeries();
    ok = ReadEPWData(request.sourceFile, request.epw, ctx);
  } else {
    state.runMode = RunModeCsv;
    services.table.ResetOptionalSeries();
    ok = ReadCSVData(request.sourceFile, request.csv, ctx);
  }

  const bool read = ok;
  if (ok) {
    asRead = services.table;
    ok = CleanWeatherData(true, request.limits, request.detailedLog, ctx, &repairs);
    if (!ok) outcome.failedStage = "cleaning";
  }
  if (ok) {
    ok = FormatWeatherData(request.site, request.epw.useRelHum, ctx,
                           services.libraries.solvane(), &directNormal);
    if (!ok) outcome.failedStage = "formatting";
  }
  if (ok) {
    const PackResult pack =
        MakeBinFile(state.outputBaseName, request.outputDir, ctx, services.libraries.ftpack());
    outcome.binPath = pack.binPath;
    if (!pack.ok) outcome.failedStage = "packing";
    ok = pack.ok;
  }
  outcome.converted = ok;
  if (read) {
    outcome.quality = SummariseQuality({asRead, services.table, repairs, request.limits,
                                        state.moistureIndicator, directNormal});
    if (ok) ReportQuality(*outcome.quality, outcome.binPath, ctx);
  }

  services.ui.SetCaption(kProgramCaption, kProgramCaption);
  services.log.WriteLogLine("Processing finished at " + LocalDateTimeText());
  return outcome;
}

}  // namespace kestrum
