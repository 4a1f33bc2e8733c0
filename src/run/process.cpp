#include "run/process.h"

#include <filesystem>
#include <system_error>
#include <tuple>

#include "cleaning/cleaning_pass.h"
#include "csv/csv_reader.h"
#include "epw/epw_writer.h"
#include "format/bin_packer.h"
#include "format/formatter.h"
#include "format/site_parameters.h"
#include "run/run_checks.h"
#include "run/renamed_file.h"
#include "run/run_error.h"
#include "run/run_files.h"
#include "run/text_fields.h"
#include "run/side_task.h"
#include "run/stage_context.h"
#include "run/time_base_check.h"

namespace kestrum {

namespace fs = std::filesystem;

namespace {

// The columns a CSV field map gives a snow and a rain flag.
std::pair<bool, bool> CsvFlagsGiven(const CsvFieldMap& fieldMap) {
  const std::vector<CsvSlot> layout = CsvLayout(fieldMap.dateInd, fieldMap.moistInd, fieldMap.solarInd);
  const std::vector<int> columns = CsvColumnNumbers(fieldMap);
  const auto given = [&](CsvItem item) {
    const int slot = CsvSlotOf(layout, item);
    return slot >= 0 && static_cast<size_t>(slot) < columns.size() && columns[static_cast<size_t>(slot)] > 0;
  };
  return {given(CsvItem::SnowFlag), given(CsvItem::RainFlag)};
}

// Where the repaired EPW file goes: the request's path, or its name beside the ".bin",
// which the packer copies into the output directory when that is a directory and leaves
// in the interim directory otherwise.
std::string EpwTarget(const RunRequest& request, const std::string& interimDir) {
  const fs::path target(request.epwOutFile);
  if (target.has_parent_path()) return target.string();
  std::error_code ec;
  const bool output = !request.outputDir.empty() && fs::is_directory(request.outputDir, ec);
  return (fs::path(output ? request.outputDir : interimDir) / target).string();
}

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
  FormattedYear formatted;
  std::vector<int16_t> csvYears;
  bool ok = false;
  if (request.branch == RunBranch::Epw) {
    state.runMode = RunModeEpw;
    services.table.ResetOptionalSeries();
    ok = ReadEPWData(request.sourceFile, request.epw, ctx, request.timeShiftHours);
  } else {
    state.runMode = RunModeCsv;
    services.table.ResetOptionalSeries();
    // What the layout took upon itself (a time zone from the longitude, UTC rows moved to
    // the site's time): the user asked for the layout, not for these, so each is a warning.
    for (const std::string& note : request.notes) ctx.Warn(note);
    ok = ReadCSVData(request.sourceFile, request.csv, ctx, request.timeShiftHours,
                     request.epwOutFile.empty() ? nullptr : &csvYears);
  }

  const bool read = ok;
  if (ok) {
    asRead = services.table;
    ok = CleanWeatherData(true, request.limits, request.detailedLog, ctx, &repairs);
    if (!ok) outcome.failedStage = "cleaning";
  }
  if (ok) outcome.sunOffsetHours = CheckTimeBase(request.sourceFile, request.site, ctx, &repairs);
  if (ok) {
    try {
      ok = FormatWeatherData(request.site, request.epw.useRelHum, ctx,
                             services.libraries.solvane(), &formatted);
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
    const bool csv = request.branch == RunBranch::Csv;
    const uint8_t moistureKind = state.moistureIndicator == kMoistureRelHum ? 3
                                 : csv && state.moistureIndicator == kMoistureWetBulb ? 2 : 1;
    return SummariseQuality({asRead, services.table, repairs, request.limits,
                             state.moistureIndicator, formatted.directNormalWm2, moistureKind});
  };
  // The repaired year as EPW, from the finished tables and (EPW) the source again: written
  // under a temporary name while the packer works, renamed once the ".bin" is in place.
  std::optional<RenamedFile> epwFile;
  const auto writeEpw = [&] {
    epwFile.emplace(EpwTarget(request, outcome.interimDir), "the EPW file");
    const EpwPieces emit = [&](std::string_view piece) { epwFile->Write(piece); };
    const EpwYearInputs year{asRead, services.table, formatted, repairs,
                             state.moistureIndicator, request.site};
    if (request.branch == RunBranch::Epw) {
      // The rows land on the hours the reader put them on (its time shift).
      RepairedEpwFromEpwFile(request.sourceFile, year, request.epw, request.timeShiftHours, emit);
      return;
    }
    CsvEpwSource csv;
    csv.fileName = fs::path(request.sourceFile).filename().string();
    csv.years = csvYears;
    std::tie(csv.snowGiven, csv.rainGiven) = CsvFlagsGiven(request.csv);
    RepairedEpwFromCsv(year, csv, emit);
  };
  std::optional<QualitySummary> summary;
  if (ok) {
    // The summary and the EPW file read only finished tables: made while the packer works.
    SideTask sideTask([&] {
      summary = summarise();
      if (!request.epwOutFile.empty()) writeEpw();
    });
    const PackResult pack =
        MakeBinFile(state.outputBaseName, request.outputDir, ctx, services.libraries.ftpack());
    sideTask.Wait();
    outcome.binPath = pack.binPath;
    if (!pack.ok) {
      outcome.failedStage = "packing";
      outcome.failureReason = pack.reason;
    }
    ok = pack.ok;
  }
  if (ok && epwFile) {
    epwFile->Commit();
    outcome.epwPath = epwFile->path();
  }
  outcome.converted = ok;
  if (read) {
    outcome.quality = summary ? std::move(summary) : summarise();
    if (ok) ReportQuality(*outcome.quality, outcome.binPath, outcome.epwPath, ctx);
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
