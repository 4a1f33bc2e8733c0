#include "run/side_task.h"

#include <system_error>

namespace kestrum {

SideTask::SideTask(std::function<void()> work) : work_(std::move(work)) {
  auto run = [this] {
    try {
      work_();
    } catch (...) {
      error_ = std::current_exception();
    }
  };
  try {
    thread_ = std::thread(run);
  } catch (const std::system_error&) {
    run();
  }
}

SideTask::~SideTask() {
  if (thread_.joinable()) thread_.join();
}

void SideTask::Wait() {
  if (thread_.joinable()) thread_.join();
  if (error_ != nullptr) {
    const std::exception_ptr error = error_;
    error_ = nullptr;
    std::rethrow_exception(error);
  }
}

}  // namespace kestrum
