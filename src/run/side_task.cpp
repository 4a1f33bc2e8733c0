#include "run/side_task.h"

#include <cstdlib>
#include <cstring>
#include <system_error>

namespace kestrum {

namespace {

bool OneThread() {
  const char* value = std::getenv(kOneThreadVariable);
  return value != nullptr && std::strcmp(value, "1") == 0;
}

}  // namespace

SideTask::SideTask(std::function<void()> work) : work_(std::move(work)) {
  auto run = [this] {
    try {
      work_();
    } catch (...) {
      error_ = std::current_exception();
    }
  };
  if (OneThread()) {
    run();
    return;
  }
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
