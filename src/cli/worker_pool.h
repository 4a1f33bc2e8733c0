// Running commands in separate worker processes, a few at a time, each with a time limit;
// an interrupt (SIGINT, SIGTERM) stops them all.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace kestrum::cli {

struct WorkerEnd {
  enum class How {
    Exited,       // exitCode holds the status
    Signalled,    // ended by signal `signal` (a crash, or killed from outside)
    TimedOut,     // killed after the time limit
    Interrupted,  // stopped because the batch was interrupted
    NotStarted,   // the batch was interrupted before its turn
  };
  How how = How::NotStarted;
  int exitCode = -1;
  int signal = 0;
  double seconds = 0;
  std::string stderrText;  // what the worker wrote to stderr (its last 64 KiB)
};

struct WorkerPoolOptions {
  int jobs = 1;                 // at most this many workers at once
  double timeoutSeconds = 120;  // 0: no limit
  double tickSeconds = 0;       // > 0: onTick is called at least this often
};

// Runs every command (argv[0] is the program to execute) in its own process and process
// group, with stdin and stdout on /dev/null and stderr captured. onEnd is called once per
// command as soon as it has ended (in the order they end); onTick between ends. A worker
// past the time limit is killed. SIGINT or SIGTERM to this process stops the rest: running
// workers get SIGTERM (SIGKILL after a grace period or a second interrupt), commands not
// started end as NotStarted. Returns false when the run was interrupted.
// The signal mask is restored afterwards; signals that arrived are not re-raised.
bool RunWorkers(const std::vector<std::vector<std::string>>& commands,
                const WorkerPoolOptions& options,
                const std::function<void(size_t, const WorkerEnd&)>& onEnd,
                const std::function<void()>& onTick = {});

}  // namespace kestrum::cli
