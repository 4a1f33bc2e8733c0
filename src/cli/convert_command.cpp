#include <chrono>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <system_error>

#include "cli/cli_ui.h"
#include "cli/commands.h"
#include "cli/option_checks.h"
#include "config/settings.h"
#include "csv/layout_match.h"
#include "csv/layout_offer.h"
#include "epw/epw_header.h"
#include "format/outside_libraries.h"
#include "run/process.h"
#include "run/hour_placement.h"
#include "run/regular_file.h"
#include "run/run_checks.h"
#include "run/run_error.h"
#include "run/run_report.h"
#include "run/text_fields.h"

namespace kestrum::cli {

namespace fs = std::filesystem;

namespace {

void Error(const std::string& message) {
  std::fprintf(stderr, "kestrum-cli: %s\n", message.c_str());
}

// The directory as an absolute path, created when missing. The run changes the current
// directory, so every path is made absolute first.
std::string PrepareDirectory(const std::string& dir, const char* what) {
  const fs::path path = fs::absolute(dir.empty() ? fs::path(".") : fs::path(dir));
  std::error_code ec;
  if (!fs::exists(path, ec)) fs::create_directories(path, ec);
  if (ec || !fs::is_directory(path)) {
    throw RunError("The " + std::string(what) + " directory " + path.string() +
                   " cannot be created or is not a directory.");
  }
  return path.lexically_normal().string();
}

std::string StripTrailingSeparator(std::string dir) {
  while (dir.size() > 1 && dir.back() == '/') dir.pop_back();
  return dir;
}

// The base name: the given name with a trailing ".bin" (any case) dropped, or the input's
// file name without its extension.
std::string BaseName(const ConvertOptions& options) {
  if (options.name.empty()) return fs::path(options.input).stem().string();
  std::string name = options.name;
  if (name.size() > 4 && ToUpperAscii(name.substr(name.size() - 4)) == ".BIN") {
    name.resize(name.size() - 4);
  }
  return name;
}

void CheckInput(const std::string& input) {
  std::error_code ec;
  const fs::file_status status = fs::status(input, ec);
  if (ec || !fs::exists(status)) throw InputError("The input file " + input + " does not exist.");
  if (const std::string kind = NonRegularKind(input); !kind.empty()) {
    throw InputError("The input " + input + " is " + kind + ", not a weather file.");
  }
}

// A usage error found after the command line was parsed: stderr and exit status 2.
class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The run files in the interim directory, as they stand after the run.
std::vector<std::string> RunFiles(const RunOutcome& outcome, const std::string& base) {
  std::vector<std::string> files;
  for (const std::string& name : {base + "-orig.csv", std::string("postclean-b.csv"),
                                 std::string("postclean-c.csv"), base + "-final.csv",
                                 base + ".ft"}) {
    const fs::path path = fs::path(outcome.interimDir) / name;
    if (fs::exists(path)) files.push_back(path.string());
  }
  return files;
}

void PrintOutputs(const RunOutcome& outcome, const std::vector<std::string>& files) {
  std::printf("Outputs:\n");
  for (const std::string& path : files) std::printf("  %s\n", path.c_str());
  if (!outcome.binPath.empty()) std::printf("  %s\n", outcome.binPath.c_str());
  if (!outcome.epwPath.empty()) std::printf("  %s\n", outcome.epwPath.c_str());
}

// The file as an absolute path, its directory created when missing (as --out's is).
std::string PrepareFile(const std::string& file, const char* what) {
  const fs::path path = fs::absolute(file).lexically_normal();
  if (path.has_parent_path()) PrepareDirectory(path.parent_path().string(), what);
  return path.string();
}

int Convert(const ConvertOptions& options, RunReport& report) {
  report.input = fs::absolute(options.input).lexically_normal().string();
  CheckInput(options.input);
  const bool csv = IsCsvConversion(options.input, options.csv,
                                   options.useRelHum ? "--use-rh"
                                   : options.calcDirectNormal ? "--calc-dn" : "");
  const std::string programDir = ProgramDirectory();
  auto libraries = OutsideLibraries::Load(programDir);

  RunRequest request;
  request.branch = RunBranch::Epw;
  request.sourceFile = fs::absolute(options.input).lexically_normal().string();
  request.outputDir = StripTrailingSeparator(PrepareDirectory(options.outDir, "output"));
  request.interimDir = options.interimDir.empty()
                           ? request.outputDir
                           : StripTrailingSeparator(PrepareDirectory(options.interimDir, "interim"));
  request.programDir = programDir;
  const std::string base = BaseName(options);
  if (base.empty()) throw UsageError("The output name is empty.");
  if (const std::string problem = PackedNameProblem(base); !problem.empty()) {
    throw UsageError(problem);
  }
  request.outputFileName = base + ".BIN";
  report.name = base;
  if (!options.epwOutFile.empty()) request.epwOutFile = PrepareFile(options.epwOutFile, "EPW file's");

  RunLog log;
  std::optional<Settings> stored;
  if (!options.settingsFile.empty()) {
    ProgramPaths paths;
    paths.programDir = programDir;
    paths.defaultInterimDir = programDir;
    Settings settings;
    try {
      settings = ReadSettingsFileStrictly(options.settingsFile, paths);
    } catch (const SettingsFileError& e) {
      throw UsageError(e.what());
    }
    stored = settings;
    request.settingsFile = fs::absolute(options.settingsFile).lexically_normal().string();
    request.limits = settings.limits;
    request.detailedLog = settings.logReplacements;
    request.epw.useRelHum = settings.epwUseRH;
    request.epw.calcDirectNormal = settings.epwCalcDN;
    request.epw.useObservations = settings.epwUseObs;
  }
  request.epw.useRelHum = request.epw.useRelHum || options.useRelHum;
  request.epw.calcDirectNormal = request.epw.calcDirectNormal || options.calcDirectNormal;
  request.detailedLog = request.detailedLog || options.detailedLog;
  if (!options.logFile.empty()) log.set_path(fs::absolute(options.logFile).string());
  // Writing the log into the file being read, or into the settings file, is a usage error.
  for (const std::string& input : {request.sourceFile, request.settingsFile}) {
    if (SameFile(log.path(), input)) {
      throw UsageError("The log file " + options.logFile + " is the file " + input +
                       " that the run reads: choose another log file.");
    }
  }
  report.useRelHum = request.epw.useRelHum;
  report.calcDirectNormal = request.epw.calcDirectNormal;
  report.detailedLog = request.detailedLog;
  if (!options.settingsFile.empty()) report.settingsFile = fs::absolute(options.settingsFile);
  report.limits = request.limits;

  bool utcStamps = false;  // a layout's rows in UTC
  std::optional<LayoutMatch> layout;  // the layout the file is read by
  if (csv) {
    CheckCsvSettings(request.settingsFile, options.csv);
    const CsvRun run = ResolveCsvRun(request.sourceFile, options.csv, stored ? &*stored : nullptr);
    request.branch = RunBranch::Csv;
    request.csv = run.fieldMap;
    request.site = run.site;
    layout = run.layout;
    utcStamps = run.utcStamps;
  } else {
    EpwHeader header;
    ReadEPWHeader(request.sourceFile, header);
    request.site = header.site;
    if (header.locationLine > 0) {
      request.siteSource =
          request.sourceFile + ", LOCATION line " + std::to_string(header.locationLine);
    }
  }
  // Which hour each row fills: the settings file's shift of the branch, over it the flags.
  const int storedShift = !stored ? 0 : csv ? stored->csvTimeShift : stored->epwTimeShift;
  request.timeShiftHours = ResolveTimeShift(options.time, request.site, storedShift, utcStamps);
  if (layout) {
    const GivenTimeOptions given{options.csv.tz.has_value(), options.time.timeShift.has_value()};
    request.notes = LayoutRunNotes(*layout, request.site, request.timeShiftHours, given);
  }
  int32_t& subhourly = csv ? request.csv.subhourly : request.epw.subhourly;
  subhourly = ResolveSubhourly(options.time, subhourly);
  report.site = request.site;
  report.timeShiftHours = request.timeShiftHours;
  report.subhourlyMean = subhourly == kSubhourlyMean;

  HourlyTable table;
  RunState state;
  state.automaticMode = true;  // no pauses between progress lines
  CliUi ui(options.quiet);
  RunServices services{table, state, ui, log, *libraries};
  const RunOutcome outcome = Process(request, services);
  report.quality = outcome.quality;
  report.warnings = outcome.warnings;
  report.sunOffsetHours = outcome.sunOffsetHours;
  report.binPath = outcome.binPath;
  report.epwPath = outcome.epwPath;
  report.interimDir = outcome.interimDir;
  report.files = RunFiles(outcome, base);
  if (!options.quiet) PrintOutputs(outcome, report.files);
  if (outcome.converted) {
    report.status = "converted";
    return kExitOk;
  }
  const std::string earlier = outcome.earlierBinNote.empty() ? "" : " " + outcome.earlierBinNote;
  if (outcome.failedStage == "cleaning") {
    report.status = "cleaning failed";
    report.error = "The cleaning pass could not repair " + request.sourceFile +
                   ": bad hours remain (see postclean-c.csv in " + outcome.interimDir + ")." +
                   earlier;
    Error(report.error);
    return kExitCleaningFailed;
  }
  const std::string reason =
      outcome.failureReason.empty() ? "." : ": " + outcome.failureReason;
  report.status = "failed";
  report.error = "The conversion of " + request.sourceFile + " stopped in its " +
                 outcome.failedStage + " stage" + reason + earlier;
  Error(report.error);
  return kExitError;
}

}  // namespace

int RunConvert(const ConvertOptions& options) {
  const auto start = std::chrono::steady_clock::now();
  // Made absolute now: the run changes the current directory.
  const std::string reportFile =
      options.reportFile.empty() ? std::string() : fs::absolute(options.reportFile).string();
  RunReport report;
  report.status = "failed";
  report.units = options.reportUnits == "ip" ? ReportUnits::Ip : ReportUnits::Si;
  int status = kExitError;
  try {
    status = Convert(options, report);
  } catch (const CsvUsageError& e) {
    report.error = e.what();
    Error(e.what());
    status = kExitUsage;
  } catch (const UsageError& e) {
    report.error = e.what();
    Error(e.what());
    status = kExitUsage;
  } catch (const std::exception& e) {
    report.error = e.what();
    Error(e.what());
  }
  if (reportFile.empty()) return status;
  report.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  try {
    PrepareFile(reportFile, "report's");
    WriteRunReport(reportFile, report);
  } catch (const std::exception& e) {
    Error(e.what());
    if (status == kExitOk) status = kExitError;
  }
  return status;
}

}  // namespace kestrum::cli
