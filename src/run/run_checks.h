// What is checked before a run starts, so that a run never writes where it must not.
#pragma once

#include <string>

namespace kestrum {

struct RunRequest;

// Why name cannot name a run's output files: it is empty, its base name (without the
// extension) is empty or longer than the packer takes (PackedNameProblem), or it holds "/",
// "\" or "..", which would put files outside the interim and output directories. Empty
// when it can.
std::string OutputNameProblem(const std::string& name);

// Why base (an output name without its extension) cannot reach the packer: it holds more
// characters than the packer's name buffer leaves room for. Empty when it can.
std::string PackedNameProblem(const std::string& base);

// True when a and b name the same file (the same file reached by two paths included), or
// the same path when neither exists yet.
bool SameFile(const std::string& a, const std::string& b);

// Why the run of request, writing into interimDir and logging into logPath, would write
// over a file it must keep: a run file, the ".bin" in the output directory or the log is
// the source file or the settings file, or the log is one of the run files. Empty when
// none is.
std::string WriteTargetProblem(const RunRequest& request, const std::string& interimDir,
                               const std::string& logPath);

// The directory a run of request writes into: its interim directory, or programDir when
// that is no directory.
std::string RunInterimDirectory(const RunRequest& request);

// Every check a run makes before it writes anything, the log included: the output name,
// the order of the cleaning limits, the time shift, the write targets. Empty when the run may start.
std::string RunRequestProblem(const RunRequest& request, const std::string& logPath);

}  // namespace kestrum
