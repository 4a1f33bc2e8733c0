#include "cli/worker_pool.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/signalfd.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>

#include "run/run_error.h"

namespace kestrum::cli {

namespace {

using Clock = std::chrono::steady_clock;

constexpr size_t kStderrKept = 64 * 1024;
constexpr double kGraceSeconds = 3.0;  // after an interrupt, before SIGKILL

double SecondsBetween(Clock::time_point a, Clock::time_point b) {
  return std::chrono::duration<double>(b - a).count();
}

// While it lives, SIGCHLD, SIGINT and SIGTERM are blocked and arrive through a signal
// descriptor instead, so that the loop below sees them between two polls.
class SignalChannel {
 public:
  SignalChannel() {
    sigemptyset(&set_);
    sigaddset(&set_, SIGCHLD);
    sigaddset(&set_, SIGINT);
    sigaddset(&set_, SIGTERM);
    if (sigprocmask(SIG_BLOCK, &set_, &old_) != 0) Fail("block signals");
    fd_ = signalfd(-1, &set_, SFD_CLOEXEC | SFD_NONBLOCK);
    if (fd_ < 0) {
      sigprocmask(SIG_SETMASK, &old_, nullptr);
      Fail("open a signal descriptor");
    }
  }
  ~SignalChannel() {
    // Signals that arrived are taken here, so that unblocking does not deliver them.
    signalfd_siginfo info;
    while (read(fd_, &info, sizeof info) == static_cast<ssize_t>(sizeof info)) {
    }
    close(fd_);
    sigprocmask(SIG_SETMASK, &old_, nullptr);
  }
  SignalChannel(const SignalChannel&) = delete;
  SignalChannel& operator=(const SignalChannel&) = delete;

  int fd() const { return fd_; }
  const sigset_t& oldMask() const { return old_; }

  // True when an interrupt (SIGINT, SIGTERM) was among the signals that arrived.
  bool TakeInterrupts() {
    bool interrupt = false;
    signalfd_siginfo info;
    while (read(fd_, &info, sizeof info) == static_cast<ssize_t>(sizeof info)) {
      if (info.ssi_signo == SIGINT || info.ssi_signo == SIGTERM) interrupt = true;
    }
    return interrupt;
  }

 private:
  [[noreturn]] static void Fail(const char* what) {
    throw RunError(std::string("The batch cannot ") + what + ": " + std::strerror(errno));
  }
  sigset_t set_;
  sigset_t old_;
  int fd_ = -1;
};

struct Worker {
  size_t index = 0;
  pid_t pid = -1;
  int errFd = -1;
  Clock::time_point start;
  bool reaped = false;
  int status = 0;
  bool timedOut = false;
  bool interrupted = false;
  std::string err;

  void Signal(int sig) const {
    if (kill(-pid, sig) != 0) kill(pid, sig);  // the whole group, or the worker alone
  }
  // Reads what is waiting on its stderr; closes it at the end of the stream.
  void ReadErr() {
    char buf[4096];
    while (errFd >= 0) {
      const ssize_t n = read(errFd, buf, sizeof buf);
      if (n > 0) {
        err.append(buf, static_cast<size_t>(n));
        if (err.size() > 2 * kStderrKept) err.erase(0, err.size() - kStderrKept);
        continue;
      }
      if (n < 0 && errno == EINTR) continue;
      if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return;
      close(errFd);
      errFd = -1;
    }
  }
};

// Starts argv in a new process group: stdin and stdout on /dev/null, stderr into a pipe.
Worker Launch(size_t index, const std::vector<std::string>& argv, const sigset_t& mask) {
  std::vector<char*> args;
  for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  int pipeFds[2];
  if (pipe2(pipeFds, O_CLOEXEC) != 0) throw RunError("The batch cannot make a pipe: " + std::string(std::strerror(errno)));
  const int devNull = open("/dev/null", O_RDWR | O_CLOEXEC);
  const pid_t parent = getpid();
  const pid_t pid = fork();
  if (pid == 0) {
    // Only async-signal-safe calls from here to exec.
    setpgid(0, 0);
    prctl(PR_SET_PDEATHSIG, SIGTERM);  // a worker does not outlive the batch
    if (getppid() != parent) _exit(127);
    if (devNull >= 0) {
      dup2(devNull, STDIN_FILENO);
      dup2(devNull, STDOUT_FILENO);
    }
    dup2(pipeFds[1], STDERR_FILENO);
    sigprocmask(SIG_SETMASK, &mask, nullptr);
    execv(args[0], args.data());
    static const char kMessage[] = "kestrum-cli: the worker program cannot be started\n";
    [[maybe_unused]] const ssize_t ignored = write(STDERR_FILENO, kMessage, sizeof kMessage - 1);
    _exit(127);
  }
  const int forkError = errno;
  close(pipeFds[1]);
  if (devNull >= 0) close(devNull);
  if (pid < 0) {
    close(pipeFds[0]);
    throw RunError("The batch cannot start a worker: " + std::string(std::strerror(forkError)));
  }
  setpgid(pid, pid);  // also here, so that the group exists before any signal is sent
  fcntl(pipeFds[0], F_SETFL, fcntl(pipeFds[0], F_GETFL) | O_NONBLOCK);
  Worker w;
  w.index = index;
  w.pid = pid;
  w.errFd = pipeFds[0];
  w.start = Clock::now();
  return w;
}

WorkerEnd EndOf(const Worker& w, Clock::time_point now) {
  WorkerEnd end;
  end.seconds = SecondsBetween(w.start, now);
  end.stderrText = w.err.size() > kStderrKept ? w.err.substr(w.err.size() - kStderrKept) : w.err;
  const bool exited = WIFEXITED(w.status);
  end.exitCode = exited ? WEXITSTATUS(w.status) : -1;
  end.signal = WIFSIGNALED(w.status) ? WTERMSIG(w.status) : 0;
  if (w.timedOut) {
    end.how = WorkerEnd::How::TimedOut;
  } else if (w.interrupted && !(exited && end.exitCode == 0)) {
    end.how = WorkerEnd::How::Interrupted;
  } else {
    end.how = exited ? WorkerEnd::How::Exited : WorkerEnd::How::Signalled;
  }
  return end;
}

// Milliseconds until the next thing the loop must do without being woken: a time limit,
// the end of the grace period, a tick. -1: nothing.
int PollTimeout(const std::vector<Worker>& workers, const WorkerPoolOptions& options,
                bool interrupted, Clock::time_point killAt, Clock::time_point lastTick) {
  const Clock::time_point now = Clock::now();
  double wait = -1;
  const auto consider = [&](Clock::time_point at) {
    const double s = std::max(0.0, SecondsBetween(now, at));
    if (wait < 0 || s < wait) wait = s;
  };
  for (const Worker& w : workers) {
    if (options.timeoutSeconds > 0 && !w.timedOut) {
      consider(w.start + std::chrono::duration_cast<Clock::duration>(
                             std::chrono::duration<double>(options.timeoutSeconds)));
    }
  }
  if (interrupted) consider(killAt);
  if (options.tickSeconds > 0) {
    consider(lastTick + std::chrono::duration_cast<Clock::duration>(
                            std::chrono::duration<double>(options.tickSeconds)));
  }
  return wait < 0 ? -1 : static_cast<int>(wait * 1000.0) + 1;
}

}  // namespace

bool RunWorkers(const std::vector<std::vector<std::string>>& commands,
                const WorkerPoolOptions& options,
                const std::function<void(size_t, const WorkerEnd&)>& onEnd,
                const std::function<void()>& onTick) {
  SignalChannel signals;
  const size_t jobs = static_cast<size_t>(std::max(1, options.jobs));
  std::vector<Worker> workers;
  size_t next = 0;
  bool interrupted = false;
  Clock::time_point killAt;
  Clock::time_point lastTick = Clock::now();

  for (;;) {
    while (!interrupted && next < commands.size() && workers.size() < jobs) {
      workers.push_back(Launch(next, commands[next], signals.oldMask()));
      ++next;
    }
    if (workers.empty()) break;

    std::vector<pollfd> fds{{signals.fd(), POLLIN, 0}};
    for (const Worker& w : workers) {
      if (w.errFd >= 0) fds.push_back({w.errFd, POLLIN, 0});
    }
    const int timeout = PollTimeout(workers, options, interrupted, killAt, lastTick);
    if (poll(fds.data(), fds.size(), timeout) < 0 && errno != EINTR) {
      throw RunError("The batch cannot wait for its workers: " + std::string(std::strerror(errno)));
    }
    for (Worker& w : workers) w.ReadErr();

    if (signals.TakeInterrupts()) {
      if (!interrupted) {
        interrupted = true;
        killAt = Clock::now() + std::chrono::seconds(static_cast<int>(kGraceSeconds));
        for (Worker& w : workers) {
          w.interrupted = true;
          w.Signal(SIGTERM);
        }
      } else {
        for (const Worker& w : workers) w.Signal(SIGKILL);  // a second interrupt: at once
      }
    }
    for (Worker& w : workers) {
      if (!w.reaped && waitpid(w.pid, &w.status, WNOHANG) == w.pid) w.reaped = true;
    }

    const Clock::time_point now = Clock::now();
    for (Worker& w : workers) {
      if (w.reaped) continue;
      if (options.timeoutSeconds > 0 && !w.timedOut &&
          SecondsBetween(w.start, now) >= options.timeoutSeconds) {
        w.timedOut = true;
        w.Signal(SIGKILL);
      }
      if (interrupted && now >= killAt) w.Signal(SIGKILL);
    }

    for (auto it = workers.begin(); it != workers.end();) {
      if (!it->reaped) {
        ++it;
        continue;
      }
      it->ReadErr();  // what the worker wrote before it ended
      if (it->errFd >= 0) close(it->errFd);
      const WorkerEnd end = EndOf(*it, now);
      const size_t index = it->index;
      it = workers.erase(it);
      onEnd(index, end);
    }
    if (onTick && options.tickSeconds > 0 &&
        SecondsBetween(lastTick, Clock::now()) >= options.tickSeconds) {
      lastTick = Clock::now();
      onTick();
    }
  }
  for (size_t i = next; i < commands.size(); ++i) onEnd(i, WorkerEnd{});
  return !interrupted;
}

}  // namespace kestrum::cli
