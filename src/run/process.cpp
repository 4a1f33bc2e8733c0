#include "run/process.h"

#include <filesystem>
#include <system_error>

#include "cleaning/cleaning_pass.h"
#include "csv/csv_reader.h"
#include "format/bin_packer.h"
#include "format/formatter.h"
#include "format/site_parameters.h"
#include "run/run_checks.h"
#include "run/run_error.h"
#include "run/run_files.h"
#include "run/side_task.h"
#include "run/stage_context.h"

namespace kestrum {

namespace fs = std::filesystem;

namespace {

// The stages of a run, from making the interim directory current to packing.
void RunStages(const RunRequest& request, RunServices& services, RunOutcome& outcome) {
  std::error_code ec;
  fs::current_path(outcome.interimDir, ec);
  if (ec) {
    throw RunError("Cannot make the interim directory " + outcome.interimDir +
                   " the current directory: " + ec.message());
  }

  RunState& state = services.state;
  StageContext ctx{services.table, state, services.ui, services.log, outcome.interimDir,
                   &outcome.warnings};
  state.outputBaseName = RemoveExtension(request.outputFileName);
  RemoveEarlierRunFiles(outcome.interimDir, state.outputBaseName, request.outputDir);

  RepairRecord repairs;
  HourlyTable asRead;
  std::vector<double> directNormal;
  bool ok = false;
  if (request.branch == RunBranch::Epw) {
    state.runMode = RunModeEpw;
    services.table.ResetOptionalSeries();
    ok = ReadEPWData(request.sourceFile, request.epw, ctx, request.timeShiftHours);
  } else {
    state.runMode = RunModeCsv;
    services.table.ResetOptionalSeries();
    ok = ReadCSVData(request.sourceFile, request.csv, ctx, request.timeShiftHours);
  }

  const bool read = ok;
  if (ok) {
    asRead = services.table;
    ok = CleanWeatherData(true, request.limits, request.detailedLog, ctx, &repairs);
    if (!ok) outcome.failedStage = "cleaning";
  }
  if (ok) {
    try {
      ok = FormatWeatherData(request.site, request.epw.useRelHum, ctx,
                             services.libraries.solvane(), &directNormal);
    } catch (const SiteValueError& e) {
      if (request.siteSource.empty()) throw;
      throw SiteValueError(request.siteSource + ": " + e.what());
    } catch (const DataError& e) {
      throw DataError("The data of " + request.sourceFile + " cannot be converted: " + e.what());
    }
    if (!ok) outcome.failedStage = "formatting";
  }
  // The summary reads only finished tables: after a formatted run it is made while the
  // packer works.
  const auto summarise = [&] {
    return SummariseQuality({asRead, services.table, repairs, request.limits,
                             state.moistureIndicator, directNormal});
  };
  std::optional<QualitySummary> summary;
  if (ok) {
    SideTask summaryTask([&] { summary = summarise(); });
    const PackResult pack =
        MakeBinFile(state.outputBaseName, request.outputDir, ctx, services.libraries.ftpack());
    summaryTask.Wait();
    outcome.binPath = pack.binPath;
    if (!pack.ok) {
      outcome.failedStage = "packing";
      outcome.failureReason = pack.reason;
    }
    ok = pack.ok;
  }
  outcome.converted = ok;
  if (read) {
    outcome.quality = summary ? std::move(summary) : summarise();
    if (ok) ReportQuality(*outcome.quality, outcome.binPath, ctx);
  }
}

// An error ended the run: the log gets its text and the finish line, the progress box one
// line. Nothing here may hide the error itself, so a log that fails again is let be.
std::string ReportStop(const std::string& error, const RunRequest& request,
                       RunServices& services) {
  const std::string note =
      EarlierBinNote(request.outputDir, RemoveExtension(request.outputFileName));
  services.ui.EchoLine("  Conversion stopped: " + error);
  services.ui.SetCaption(kProgramCaption, kProgramCaption);
  try {
    services.log.WriteLogLine("  Conversion stopped: " + error);
    if (!note.empty()) services.log.WriteLogLine("     " + note);
    services.log.WriteLogLine("Processing finished at " + LocalDateTimeText());
  } catch (const std::exception&) {
  }
  return note.empty() ? error : error + " " + note;
}

}  // namespace

RunOutcome Process(const RunRequest& request, RunServices& services) {
  if (const std::string problem = RunRequestProblem(request, services.log.path());
      !problem.empty()) {
    throw RunError(problem);
  }
  RunOutcome outcome;
  outcome.interimDir = RunInterimDirectory(request);
  outcome.interimReplaced = outcome.interimDir != request.interimDir;

  services.log.WriteLogLine("Processing started at " + LocalDateTimeText());
  services.ui.ResetReviewList();
  try {
    RunStages(request, services, outcome);
  } catch (const std::exception& e) {
    throw RunStopped(ReportStop(e.what(), request, services));
  }

  if (!outcome.converted) {
    outcome.earlierBinNote =
        EarlierBinNote(request.outputDir, services.state.outputBaseName);
    if (!outcome.earlierBinNote.empty()) {
      services.log.WriteLogLine("     " + outcome.earlierBinNote);
      services.ui.EchoLine("     " + outcome.earlierBinNote);
    }
  }
  services.ui.SetCaption(kProgramCaption, kProgramCaption);
  services.log.WriteLogLine("Processing finished at " + LocalDateTimeText());
  return outcome;
}

}  // namespace kestrum
