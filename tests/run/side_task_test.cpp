// Work beside the calling thread: where it runs, and what it throws.
#include "run/side_task.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <stdexcept>
#include <thread>

namespace kestrum {
namespace {

TEST(SideTask, RunsOnASecondThreadUnlessTheProcessKeepsToOne) {
  for (const bool oneThread : {false, true}) {
    if (oneThread) {
      setenv(kOneThreadVariable, "1", 1);
    } else {
      unsetenv(kOneThreadVariable);
    }
    std::thread::id ranOn;
    SideTask task([&] { ranOn = std::this_thread::get_id(); });
    task.Wait();
    EXPECT_EQ(ranOn == std::this_thread::get_id(), oneThread);
  }
  unsetenv(kOneThreadVariable);
}

TEST(SideTask, WaitRethrowsWhatTheWorkThrewOnce) {
  SideTask task([] { throw std::runtime_error("disk full"); });
  EXPECT_THROW(task.Wait(), std::runtime_error);
  EXPECT_NO_THROW(task.Wait());
}

}  // namespace
}  // namespace kestrum
