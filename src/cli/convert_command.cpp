#include <cstdio>
#include <exception>
#include <filesystem>
#include <stdexcept>
#include <system_error>

#include "cli/cli_ui.h"
#include "cli/commands.h"
#include "config/settings.h"
#include "epw/epw_header.h"
#include "format/outside_libraries.h"
#include "run/process.h"
#include "run/regular_file.h"
#include "run/run_checks.h"
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
  if (const std::string kind = NonRegularKind(input); !kind.empty()) {
    throw InputError("The input " + input + " is " + kind + ", not a weather file.");
  }
}

// A usage error found after the command line was parsed: stderr and exit status 2.
class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

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
  request.outputFileName = base + ".BIN";

  RunLog log;
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

  EpwHeader header;
  ReadEPWHeader(request.sourceFile, header);
  request.site = header.site;
  if (header.locationLine > 0) {
    request.siteSource = request.sourceFile + ", LOCATION line " + std::to_string(header.locationLine);
  }

  HourlyTable table;
  RunState state;
  state.automaticMode = true;  // no pauses between progress lines
  CliUi ui(options.quiet);
  RunServices services{table, state, ui, log, *libraries};
  const RunOutcome outcome = Process(request, services);
  if (!options.quiet) PrintOutputs(request, outcome, base);
  if (outcome.converted) return kExitOk;
  const std::string earlier = outcome.earlierBinNote.empty() ? "" : " " + outcome.earlierBinNote;
  if (outcome.failedStage == "cleaning") {
    Error("The cleaning pass could not repair " + request.sourceFile +
          ": bad hours remain (see postclean-c.csv in " + outcome.interimDir + ")." + earlier);
    return kExitCleaningFailed;
  }
  const std::string reason =
      outcome.failureReason.empty() ? "." : ": " + outcome.failureReason;
  Error("The conversion of " + request.sourceFile + " stopped in its " + outcome.failedStage +
        " stage" + reason + earlier);
  return kExitError;
}

}  // namespace

int RunConvert(const ConvertOptions& options) {
  try {
    return Convert(options);
  } catch (const UsageError& e) {
    Error(e.what());
    return kExitUsage;
  } catch (const std::exception& e) {
    Error(e.what());
    return kExitError;
  }
}

}  // namespace kestrum::cli
