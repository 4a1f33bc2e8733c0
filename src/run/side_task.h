// Work done beside the calling thread: the two halves of a file's rows, or two files
// written from the same hours, at once on a machine with two cores.
#pragma once

#include <exception>
#include <functional>
#include <thread>

namespace kestrum {

// When this environment variable is "1", a conversion keeps to its calling thread (a
// batch's workers: the batch itself spreads its files over the cores).
inline constexpr const char* kOneThreadVariable = "KESTRUM_ONE_THREAD";

class SideTask {
 public:
  // Starts work on a thread of its own, or does it at once on the calling thread when
  // no thread can be had or kOneThreadVariable says so.
  explicit SideTask(std::function<void()> work);
  SideTask(const SideTask&) = delete;
  SideTask& operator=(const SideTask&) = delete;
  // Waits for the work; what it threw is then dropped.
  ~SideTask();

  // Waits for the work to finish and rethrows what it threw.
  void Wait();

 private:
  std::function<void()> work_;
  std::thread thread_;
  std::exception_ptr error_;
};

}  // namespace kestrum
