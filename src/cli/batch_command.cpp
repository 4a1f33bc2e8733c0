// kestrum-cli batch: many conversions in worker processes, each exactly as `convert` would
// run it, with progress, a summary table and a CSV summary.
#include <sched.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <system_error>

#include "cli/batch_inputs.h"
#include "cli/batch_summary.h"
#include "cli/commands.h"
#include "cli/worker_pool.h"
#include "config/atomic_file.h"
#include "config/settings.h"
#include "csv/csv_field_map.h"
#include "format/fixed_text.h"
#include "run/run_error.h"
#include "run/side_task.h"
#include "run/text_fields.h"

namespace kestrum::cli {

namespace fs = std::filesystem;

namespace {

using Clock = std::chrono::steady_clock;

void Error(const std::string& message) {
  std::fprintf(stderr, "kestrum-cli: %s\n", message.c_str());
}

int CoreCount() {
  cpu_set_t set;
  if (sched_getaffinity(0, sizeof set, &set) == 0) return std::max(1, CPU_COUNT(&set));
  const long online = sysconf(_SC_NPROCESSORS_ONLN);
  return online > 0 ? static_cast<int>(online) : 1;
}

std::string SelfProgram() {
  std::error_code ec;
  const fs::path self = fs::read_symlink("/proc/self/exe", ec);
  if (ec) throw RunError("The batch cannot find its own program: " + ec.message());
  return self.string();
}

// Where one input's files go: its run directory below DIR/runs/.
struct InputFiles {
  fs::path runDir;
  fs::path report;
  fs::path log;
};

InputFiles FilesOf(const fs::path& outDir, const std::string& name) {
  const fs::path runDir = outDir / "runs" / name;
  return {runDir, runDir / (name + ".json"), runDir / (name + ".log")};
}

// The value of an option handed on ("--settings X" or "--settings=X"); empty when absent.
std::string ValueOf(const std::vector<std::string>& args, const std::string& option) {
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == option && i + 1 < args.size()) return args[i + 1];
    if (args[i].rfind(option + "=", 0) == 0) return args[i].substr(option.size() + 1);
  }
  return "";
}

// Whether the options handed on give a CSV input its field map: --layout, --columns, or a
// settings file whose CSV field map is complete (one that cannot be read is left to the
// conversion to refuse).
bool GivesFieldMap(const std::vector<std::string>& args) {
  if (!ValueOf(args, "--layout").empty() || !ValueOf(args, "--columns").empty()) return true;
  const std::string settings = ValueOf(args, "--settings");
  if (settings.empty()) return false;
  try {
    return CsvFieldMapComplete(ReadSettingsFile(settings, ProgramPaths{}).csvFieldMap);
  } catch (const std::exception&) {
    return true;
  }
}

// Whether the input converts as CSV: --format, else its extension.
bool IsCsvInput(const BatchInput& input, const std::vector<std::string>& args) {
  const std::string format = ToUpperAscii(ValueOf(args, "--format"));
  if (!format.empty()) return format == "CSV";
  return ToUpperAscii(fs::path(input.path).extension().string()) == ".CSV";
}

std::vector<std::string> ConvertCommand(const std::string& program, const BatchInput& input,
                                        const fs::path& outDir, const BatchOptions& options) {
  const InputFiles files = FilesOf(outDir, input.name);
  std::vector<std::string> argv = {program,      "convert",       input.path,
                                   "--out",      outDir.string(), "--interim",
                                   files.runDir.string(), "--name", input.name,
                                   "--report",   files.report.string(), "--log",
                                   files.log.string(),    "--quiet"};
  if (options.epwOut) {
    argv.push_back("--epw-out");
    argv.push_back((outDir / (input.name + ".epw")).string());
  }
  argv.insert(argv.end(), options.conversionArgs.begin(), options.conversionArgs.end());
  // A CSV input without a field map is read by the layout its content shows.
  if (IsCsvInput(input, options.conversionArgs) && !GivesFieldMap(options.conversionArgs)) {
    argv.insert(argv.end(), {"--layout", "auto"});
  }
  return argv;
}

// The last line the worker wrote to stderr, without the program's prefix: its error.
std::string LastLine(const std::string& text) {
  size_t end = text.find_last_not_of("\r\n");
  if (end == std::string::npos) return "";
  const size_t start = text.rfind('\n', end);
  std::string line = text.substr(start == std::string::npos ? 0 : start + 1,
                                 end - (start == std::string::npos ? 0 : start + 1) + 1);
  const std::string prefix = "kestrum-cli: ";
  if (line.rfind(prefix, 0) == 0) line.erase(0, prefix.size());
  return line;
}

std::string FirstLine(const std::string& text) {
  const size_t start = text.find_first_not_of("\r\n");
  if (start == std::string::npos) return "";
  return text.substr(start, text.find_first_of("\r\n", start) - start);
}

// The counts a finished run's report gives.
void TakeReport(const fs::path& path, BatchRow& row) {
  try {
    const nlohmann::json report = nlohmann::json::parse(ReadWholeFile(path.string()));
    row.hoursRepaired = report.value("hours_repaired", 0);
    row.directNormalEstimated = report.value("direct_normal_estimated", 0);
    row.warnings = report.value("warnings", std::vector<std::string>{});
  } catch (const std::exception& e) {
    row.message = "its report " + path.string() + " cannot be read: " + e.what();
  }
}

// A worker that did not end by itself may have left a temporary file of the packer, of the
// copy into DIR or of its report: none of them is a finished file.
void RemovePartialFiles(const fs::path& outDir, const std::string& name) {
  std::error_code ec;
  fs::remove(outDir / (name + ".bin.part"), ec);
  std::error_code listError;
  for (fs::directory_iterator it(outDir, listError), end; !listError && it != end;
       it.increment(listError)) {
    if (it->path().filename().string().rfind(name + ".epw.tmp", 0) == 0) {
      std::error_code removeError;
      fs::remove(it->path(), removeError);
    }
  }
  const InputFiles files = FilesOf(outDir, name);
  for (fs::directory_iterator it(files.runDir, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string file = it->path().filename().string();
    if (file.rfind(name + ".bin.tmp", 0) == 0 || file.rfind(name + ".json.tmp", 0) == 0) {
      std::error_code removeError;
      fs::remove(it->path(), removeError);
    }
  }
}

BatchRow RowOf(const BatchInput& input, const WorkerEnd& end, const fs::path& outDir,
               double timeout) {
  BatchRow row;
  row.input = input.path;
  if (end.how != WorkerEnd::How::NotStarted) row.seconds = end.seconds;
  switch (end.how) {
    case WorkerEnd::How::Exited:
      if (end.exitCode == kExitOk) {
        row.status = "converted";
        TakeReport(FilesOf(outDir, input.name).report, row);
        if (!row.message.empty()) row.status = "failed";
      } else {
        row.status = end.exitCode == kExitCleaningFailed ? "cleaning failed" : "failed";
        // A usage error says what is wrong first, then where to find help.
        row.message = end.exitCode == kExitUsage ? FirstLine(end.stderrText) : LastLine(end.stderrText);
        if (row.message.empty()) row.message = "exit status " + std::to_string(end.exitCode);
      }
      break;
    case WorkerEnd::How::Signalled:
      row.status = "crashed";
      row.message = "ended by signal " + std::to_string(end.signal) + " (" +
                    strsignal(end.signal) + ")";
      break;
    case WorkerEnd::How::TimedOut:
      row.status = "timed out";
      row.message = "no result after " + FormatFixed(timeout, 0, 0) + " s; stopped";
      break;
    case WorkerEnd::How::Interrupted: row.status = "interrupted"; break;
    case WorkerEnd::How::NotStarted: row.status = "not started"; break;
  }
  return row;
}

// Progress on stderr: one line that keeps being rewritten on a terminal, else one line per
// finished input.
class Progress {
 public:
  Progress(size_t total, bool quiet)
      : total_(total), quiet_(quiet), terminal_(isatty(STDERR_FILENO) == 1) {
    Redraw();
  }
  bool terminal() const { return terminal_ && !quiet_; }

  void Finished(const BatchRow& row) {
    if (row.status == "not started") return;
    ++done_;
    if (!row.converted()) ++failed_;
    if (quiet_) return;
    if (terminal_) return Redraw();
    std::string line = "[" + std::to_string(done_) + "/" + std::to_string(total_) + "] " +
                       row.input + ": " + row.status;
    if (row.seconds) line += " in " + FormatFixed(*row.seconds, 0, 2) + " s";
    if (!row.message.empty() && !row.converted()) line += ": " + row.message;
    std::fprintf(stderr, "%s\n", line.c_str());
  }
  void Redraw() {
    if (!terminal()) return;
    const double elapsed = Seconds();
    std::string line = std::to_string(done_) + "/" + std::to_string(total_) + " done, " +
                       std::to_string(failed_) + " failed, " + FormatFixed(elapsed, 0, 1) +
                       " s elapsed";
    if (done_ > 0 && done_ < total_) {
      line += ", about " + FormatFixed(elapsed / done_ * (total_ - done_), 0, 0) + " s left";
    }
    std::fprintf(stderr, "\r\033[K%s", line.c_str());
    std::fflush(stderr);
  }
  void Close() {
    if (terminal()) std::fprintf(stderr, "\n");
  }
  double Seconds() const { return std::chrono::duration<double>(Clock::now() - start_).count(); }

 private:
  size_t total_;
  bool quiet_;
  bool terminal_;
  size_t done_ = 0;
  size_t failed_ = 0;
  Clock::time_point start_ = Clock::now();
};

// Written whole or not at all, like every file a script may pick up.
void WriteSummary(const std::string& path, const std::string& text) {
  const std::string temp = path + ".tmp" + std::to_string(getpid());
  std::FILE* f = std::fopen(temp.c_str(), "wb");
  bool ok = f != nullptr && std::fwrite(text.data(), 1, text.size(), f) == text.size();
  if (f != nullptr) ok = std::fclose(f) == 0 && ok;
  ok = ok && std::rename(temp.c_str(), path.c_str()) == 0;
  if (!ok) {
    std::remove(temp.c_str());
    throw RunError("Cannot write the summary " + path);
  }
}

int Batch(const BatchOptions& options) {
  const std::vector<BatchInput> inputs = ExpandBatchInputs(options.inputs);
  if (inputs.empty()) {
    Error("batch: no weather files among the inputs (a directory gives its *.epw and *.csv files).");
    return kExitUsage;
  }
  const std::vector<std::string> clashes = DuplicateNames(inputs);
  if (!clashes.empty()) {
    for (const std::string& clash : clashes) Error("batch: " + clash + ".");
    Error("batch: nothing was converted; give every input a file name of its own.");
    return kExitUsage;
  }
  std::error_code ec;
  const fs::path outDir = fs::absolute(options.outDir).lexically_normal();
  fs::create_directories(outDir, ec);
  if (!fs::is_directory(outDir, ec)) {
    throw RunError("The output directory " + outDir.string() + " cannot be created.");
  }

  const std::string program = SelfProgram();
  std::vector<std::vector<std::string>> commands;
  for (const BatchInput& input : inputs) {
    const InputFiles files = FilesOf(outDir, input.name);
    fs::remove(files.report, ec);  // never read an earlier run's report
    // Made here, so that a conversion refused before it makes its directories (an input
    // that does not exist, a named pipe) can still write the report that says why.
    fs::create_directories(files.runDir, ec);
    commands.push_back(ConvertCommand(program, input, outDir, options));
  }

  std::vector<BatchRow> rows(inputs.size());
  Progress progress(inputs.size(), options.quiet);
  WorkerPoolOptions pool;
  pool.jobs = options.jobs > 0 ? options.jobs : CoreCount();
  // The batch keeps the cores busy with files: each worker converts on one thread.
  setenv(kOneThreadVariable, "1", 1);
  pool.timeoutSeconds = options.timeoutSeconds;
  pool.tickSeconds = progress.terminal() ? 0.5 : 0;
  const bool finished = RunWorkers(
      commands, pool,
      [&](size_t i, const WorkerEnd& end) {
        if (end.how != WorkerEnd::How::Exited && end.how != WorkerEnd::How::NotStarted) {
          RemovePartialFiles(outDir, inputs[i].name);
        }
        rows[i] = RowOf(inputs[i], end, outDir, options.timeoutSeconds);
        progress.Finished(rows[i]);
      },
      [&] { progress.Redraw(); });
  progress.Close();
  if (!finished) Error("batch: interrupted; inputs not converted are marked in the summary.");

  std::fputs(BatchTable(rows, progress.Seconds()).c_str(), stdout);
  std::fflush(stdout);
  if (!options.summaryFile.empty()) WriteSummary(options.summaryFile, BatchCsv(rows));
  const bool all = std::all_of(rows.begin(), rows.end(), [](const BatchRow& r) { return r.converted(); });
  return finished && all ? kExitOk : kExitError;
}

}  // namespace

int RunBatch(const BatchOptions& options) {
  try {
    return Batch(options);
  } catch (const std::exception& e) {
    Error(e.what());
    return kExitError;
  }
}

}  // namespace kestrum::cli
