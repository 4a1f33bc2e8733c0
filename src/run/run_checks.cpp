#include "run/run_checks.h"

#include <filesystem>
#include <system_error>
#include <vector>

#include "ftpack/ftpack.h"
#include "run/hour_placement.h"
#include "run/process.h"
#include "run/run_files.h"

namespace kestrum {

namespace fs = std::filesystem;

namespace {

fs::path Normal(const std::string& path) {
  std::error_code ec;
  fs::path p = fs::weakly_canonical(fs::absolute(path), ec);
  return ec ? fs::absolute(path).lexically_normal() : p;
}

// What a file a run writes is, for the message.
struct Target {
  std::string path;
  std::string what;
};

}  // namespace

std::string OutputNameProblem(const std::string& name) {
  if (RemoveExtension(name).empty()) {
    return "The output name \"" + name + "\" gives no file name: type a name such as Golden.BIN.";
  }
  if (name.find_first_of("/\\") != std::string::npos || name.find("..") != std::string::npos) {
    return "The output name \"" + name +
           "\" may not hold \"/\", \"\\\" or \"..\": it names the files of the run, which stay in "
           "the interim and output directories.";
  }
  return PackedNameProblem(RemoveExtension(name));
}

std::string PackedNameProblem(const std::string& base) {
  // The packer reads the name from a buffer of FTPACK_NAME_BUFFER_SIZE bytes up to the
  // blanks that pad it: one byte must stay a blank.
  constexpr size_t kLongest = FTPACK_NAME_BUFFER_SIZE - 1;
  if (base.size() <= kLongest) return {};
  return "The output name " + base + " has " + std::to_string(base.size()) +
         " characters; the packer takes at most " + std::to_string(kLongest) +
         ": choose a shorter name.";
}

bool SameFile(const std::string& a, const std::string& b) {
  if (a.empty() || b.empty()) return false;
  std::error_code ec;
  if (fs::exists(a, ec) && fs::exists(b, ec)) {
    const bool same = fs::equivalent(a, b, ec);
    if (!ec) return same;
  }
  return Normal(a) == Normal(b);
}

std::string WriteTargetProblem(const RunRequest& request, const std::string& interimDir,
                               const std::string& logPath) {
  const std::string base = RemoveExtension(request.outputFileName);
  std::vector<Target> targets;
  for (const std::string& file : InterimRunFiles(interimDir, base)) targets.push_back({file, "run file"});
  if (!request.outputDir.empty()) {
    targets.push_back({(fs::path(request.outputDir) / (base + ".bin")).string(), "packed file"});
  }
  if (!request.epwOutFile.empty()) {
    // A bare name lands beside the ".bin": in the output directory, or the interim one.
    std::vector<std::string> epwPaths;
    if (fs::path(request.epwOutFile).has_parent_path()) {
      epwPaths.push_back(request.epwOutFile);
    } else {
      if (!request.outputDir.empty()) epwPaths.push_back((fs::path(request.outputDir) / request.epwOutFile).string());
      epwPaths.push_back((fs::path(interimDir) / request.epwOutFile).string());
    }
    for (const std::string& epw : epwPaths) {
      for (const Target& target : targets) {
        if (SameFile(epw, target.path)) {
          return "The EPW file " + epw + " would be the " + target.what + " " + target.path +
                 " of this run: choose another name for the EPW file.";
        }
      }
    }
    for (const std::string& epw : epwPaths) targets.push_back({epw, "repaired EPW file"});
  }
  const Target inputs[] = {{request.sourceFile, "source file"},
                           {request.settingsFile, "settings file"}};
  for (const Target& input : inputs) {
    if (SameFile(logPath, input.path)) {
      return "The log file " + logPath + " is the " + input.what + ": the run would write into it.";
    }
    for (const Target& target : targets) {
      if (SameFile(target.path, input.path)) {
        return "The " + input.what + " " + input.path + " is also a " + target.what +
               " of this run (" + target.path + "): choose another output name or directory.";
      }
    }
  }
  for (const Target& target : targets) {
    if (SameFile(logPath, target.path)) {
      return "The log file " + logPath + " is a " + target.what +
             " of this run: choose another log file.";
    }
  }
  return {};
}

std::string RunInterimDirectory(const RunRequest& request) {
  std::error_code ec;
  const bool exists = !request.interimDir.empty() && fs::is_directory(request.interimDir, ec);
  return exists ? request.interimDir : request.programDir;
}

std::string RunRequestProblem(const RunRequest& request, const std::string& logPath) {
  if (std::string problem = OutputNameProblem(request.outputFileName); !problem.empty()) {
    return problem;
  }
  if (const int row = FirstRowWithMinAboveMax(request.limits); row != 0) {
    return MinAboveMaxText(request.limits, row) + " No hour of that series could pass.";
  }
  if (std::string problem = TimeShiftProblem(request.timeShiftHours); !problem.empty()) {
    return problem;
  }
  return WriteTargetProblem(request, RunInterimDirectory(request), logPath);
}

}  // namespace kestrum
