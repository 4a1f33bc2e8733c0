#include "run/run_log.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "run/run_error.h"
#include "support/test_support.h"

namespace kestrum {
namespace {

TEST(RunLog, AppendsEachMessageAsItIsWithCrLf) {
  testing::TempDir dir;
  const std::string path = dir.File("run.log");
  const RunLog log(path);
  log.WriteLogLine("first");
  log.WriteLogLine("       there's a streak");
  EXPECT_EQ(testing::ReadBytes(path), "first\r\n       there's a streak\r\n");
  RunLog(path).WriteLogLine("again");  // a later run appends
  EXPECT_EQ(testing::ReadBytes(path), "first\r\n       there's a streak\r\nagain\r\n");
}

TEST(RunLog, EmptyPathWritesNothing) {
  testing::TempDir dir;
  const RunLog log;
  log.WriteLogLine("nowhere");
  EXPECT_TRUE(std::filesystem::is_empty(dir.str()));
}

TEST(RunLog, UnwritablePathIsAnError) {
  testing::TempDir dir;
  EXPECT_THROW(RunLog(dir.File("no/such/dir/run.log")).WriteLogLine("x"), RunError);
  EXPECT_THROW(RunLog(dir.str()).WriteLogLine("x"), RunError);  // a directory
}

}  // namespace
}  // namespace kestrum
