#include <cstdio>
#include <exception>
#include <filesystem>
#include <optional>
#include <system_error>

#include "cli/cli_ui.h"
#include "cli/commands.h"
#include "config/settings.h"
#include "epw/epw_header.h"
#include "format/outside_libraries.h"
#include "run/process.h"
#include "run/run_error.h"
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
  if (fs::is_directory(status)) {
    throw InputError("The input " + input + " is a directory, not a weather file.");
  }
}

void PrintOutputs(const RunRequest& request, const RunOutcome& outcome, const std::string& base) {
  const std::string dir = outcome.interimDir;
  std::printf("Outputs:\n");
  for (const std::string& name : {base + "-orig.csv", std::string("postclean-b.csv"),
                                 std::string("postclean-c.csv"), base + "-final.csv",
                                 base + ".ft"}) {
    const fs::path path = fs::path(dir) / name;
    if (fs::exists(path)) std::printf("  %s\n", path.string().c_str());
  }
  if (!outcome.binPath.empty()) std::printf("  %s\n", outcome.binPath.c_str());
  (void)request;
}

int Convert(const ConvertOptions& options) {
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
  if (base.empty()) throw RunError("The output name is empty.");
  request.outputFileName = base + ".BIN";

  RunLog log;
  std::optional<Settings> stored;
  if (!options.settingsFile.empty()) {
    if (!fs::is_regular_file(options.settingsFile)) {
      throw InputError("The settings file " + options.settingsFile + " does not exist.");
    }
    ProgramPaths paths;
    paths.programDir = programDir;
    paths.defaultInterimDir = programDir;
    const Settings& settings = stored.emplace(ReadSettingsFile(options.settingsFile, paths));
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

  if (csv) {
    const CsvRun run = ResolveCsvRun(request.sourceFile, options.csv, stored ? &*stored : nullptr);
    request.branch = RunBranch::Csv;
    request.csv = run.spec;
    request.site = run.site;
  } else {
    EpwHeader header;
    ReadEPWHeader(request.sourceFile, header);
    request.site = header.site;
  }

  HourlyTable table;
  RunState state;
  state.automaticMode = true;  // no pauses between progress lines
  CliUi ui(options.quiet);
  RunServices services{table, state, ui, log, *libraries};
  const RunOutcome outcome = Process(request, services);
  if (!options.quiet) PrintOutputs(request, outcome, base);
  if (outcome.converted) return kExitOk;
  if (outcome.failedStage == "cleaning") {
    Error("The cleaning pass could not repair " + request.sourceFile +
          ": bad hours remain (see postclean-c.csv in " + outcome.interimDir + ").");
    return kExitCleaningFailed;
  }
  Error("The conversion of " + request.sourceFile + " stopped in its " + outcome.failedStage +
        " stage.");
  return kExitError;
}

}  // namespace

int RunConvert(const ConvertOptions& options) {
  try {
    return Convert(options);
  } catch (const CsvUsageError& e) {
    Error(e.what());
    return kExitUsage;
  } catch (const std::exception& e) {
    Error(e.what());
    return kExitError;
  }
}

}  // namespace kestrum::cli
