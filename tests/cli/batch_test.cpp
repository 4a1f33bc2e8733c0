// kestrum-cli batch: the same .bin files as single conversions, failures that stay alone,
// refused batches, time limits and interrupts.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <nlohmann/json.hpp>

#include "cli/cli_fixture.h"

namespace kestrum::testing {
namespace {

namespace fs = std::filesystem;

class BatchTest : public CliFixture {
 protected:
  // Files in dir_/in: full years of the sample, a part year, a file with a bad row.
  void WriteInputs() {
    Write("in/alpha.epw", Sample());
    Write("in/Beta.EPW", Sample(3000));
    Write("in/notes.txt", "not a weather file");
  }
  std::vector<fs::path> Leftovers(const fs::path& dir) const {
    std::vector<fs::path> found;
    for (const auto& entry : fs::recursive_directory_iterator(dir)) {
      const std::string name = entry.path().filename().string();
      if (name.find(".part") != std::string::npos || name.find(".tmp") != std::string::npos) {
        found.push_back(entry.path());
      }
    }
    return found;
  }
};

TEST_F(BatchTest, EveryBinIsTheOneASingleConvertMakes) {
  WriteInputs();
  const CliResult r = Run("batch in --out out --jobs 2 --use-rh --summary out/summary.csv");
  ASSERT_EQ(r.status, 0) << r.err << r.out;
  for (const std::string name : {"alpha", "Beta"}) {
    SCOPED_TRACE(name);
    const std::string input = name == "alpha" ? "in/alpha.epw" : "in/Beta.EPW";
    ASSERT_EQ(Run("convert " + input + " --out single --use-rh -q").status, 0);
    EXPECT_EQ(Read("out/" + name + ".bin"), Read("single/" + name + ".bin"));
    EXPECT_EQ(Read("out/runs/" + name + "/" + name + "-final.csv"),
              Read("single/" + name + "-final.csv"));
    const auto report = nlohmann::json::parse(Read("out/runs/" + name + "/" + name + ".json"));
    EXPECT_TRUE(report["options"]["use_rh"].get<bool>());
    EXPECT_NE(Read("out/runs/" + name + "/" + name + ".log").find("Processing finished at"),
              std::string::npos);
  }
  EXPECT_FALSE(fs::exists(dir_ / "out" / "notes.bin"));
  // The table on stdout, one line per finished file on stderr (not a terminal here).
  EXPECT_NE(r.out.find("in/Beta.EPW   converted            5760          5760         5"),
            std::string::npos)
      << r.out;
  EXPECT_NE(r.out.find("2 of 2 inputs converted, 0 not, in "), std::string::npos);
  EXPECT_NE(r.err.find("] in/alpha.epw: converted in "), std::string::npos) << r.err;
  const std::vector<std::string> csv = ReadCrLfLines((dir_ / "out" / "summary.csv").string());
  ASSERT_EQ(csv.size(), 3u);
  EXPECT_EQ(csv[0], "input,status,hours_repaired,direct_normal_estimated,warnings,seconds,message");
  EXPECT_EQ(csv[1].rfind("in/Beta.EPW,converted,5760,5760,5,", 0), 0u) << csv[1];
  EXPECT_NE(csv[1].find(",\"Warning: dry bulb has a streak of 5760"), std::string::npos);
  EXPECT_EQ(csv[2].rfind("in/alpha.epw,converted,0,0,0,", 0), 0u) << csv[2];
}

TEST_F(BatchTest, ABrokenInputFailsAloneWithItsMessage) {
  Write("in/good.epw", Sample());
  const std::string row = "1999,1,1,1,0,x,-3.0,-4.0,92,80600,0,0,257,0,0,0,0,0,0,0,0,0.0\r\n";
  Write("in/bad.epw", "LOCATION,Bad,CO,USA,x,1,39.7,-105.2,-7.0,1829\r\nDATA PERIODS,1\r\n" + row +
                          "1999,1,1,2,0,x,abc,3\r\n");
  const CliResult r = Run("batch in/good.epw in/bad.epw --out out -q --summary s.csv");
  EXPECT_EQ(r.status, 1);
  EXPECT_TRUE(r.err.empty()) << r.err;  // --quiet: only the summary
  EXPECT_TRUE(fs::exists(dir_ / "out" / "good.bin"));
  EXPECT_FALSE(fs::exists(dir_ / "out" / "bad.bin"));
  const std::string message = "line 4: \"abc\" is not a number";
  EXPECT_NE(r.out.find("in/bad.epw   failed"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find(message), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("1 of 2 inputs converted, 1 not"), std::string::npos);
  const std::string csv = Read("s.csv");
  EXPECT_NE(csv.find("\r\nin/good.epw,converted,0,0,0,"), std::string::npos) << csv;
  EXPECT_NE(csv.find("\r\nin/bad.epw,failed,,,,"), std::string::npos) << csv;
  EXPECT_NE(csv.find("\"\"abc\"\" is not a number"), std::string::npos) << csv;
}

TEST_F(BatchTest, InputsRefusedBeforeTheirConversionGiveTheirCause) {
  Write("in/good.epw", Sample());
  ASSERT_EQ(mkfifo((dir_ / "in" / "pipe.epw").c_str(), 0600), 0);
  const CliResult r = Run("batch in/good.epw in/missing.epw in/pipe.epw --out out -q --summary s.csv");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.out.find("The input file in/missing.epw does not exist."), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("The input in/pipe.epw is a named pipe, not a weather file."),
            std::string::npos)
      << r.out;
  EXPECT_EQ(r.out.find("Cannot write the report"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("1 of 3 inputs converted, 2 not"), std::string::npos) << r.out;
  // Each refused input's report says why as well.
  const nlohmann::json report =
      nlohmann::json::parse(Read("out/runs/missing/missing.json"));
  EXPECT_EQ(report["status"], "failed");
  EXPECT_EQ(report["error"], "The input file in/missing.epw does not exist.");
}

TEST_F(BatchTest, WorkerCountAndTimeLimitOutOfRangeAreSaidPlainly) {
  Write("one/same.epw", Sample(10));
  const struct {
    const char* args;
    const char* message;
  } cases[] = {
      {"--jobs 0", "--jobs: \"0\" is no number of worker processes: give 1 or more\n"},
      {"--jobs -3", "--jobs: \"-3\" is no number of worker processes: give 1 or more\n"},
      {"--timeout 0", "--timeout: \"0\" is no time limit: give a number of seconds above 0\n"},
      {"--timeout -1", "--timeout: \"-1\" is no time limit: give a number of seconds above 0\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.args);
    const CliResult r = Run(std::string("batch one --out out ") + c.args);
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err.rfind(c.message, 0), 0u) << r.err;
  }
  EXPECT_FALSE(fs::exists(dir_ / "out"));
}

TEST_F(BatchTest, BatchesThatCannotRunAreRefusedBeforeAnythingStarts) {
  Write("one/same.epw", Sample(10));
  Write("two/same.csv", "x");
  CliResult r = Run("batch one two --out out");
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.err.find("one/same.epw and two/same.csv would both make same.bin"),
            std::string::npos)
      << r.err;
  EXPECT_FALSE(fs::exists(dir_ / "out"));

  Write("empty/readme.txt", "");
  EXPECT_EQ(Run("batch empty --out out").status, 2);
  EXPECT_EQ(Run("batch one --out out --jobs 0").status, 2);
  EXPECT_EQ(Run("batch one").status, 2);                          // --out is required
  EXPECT_EQ(Run("batch one --out out --no-such-option").status, 2);
  r = Run("batch one --out out --name x");
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.err.find("--name"), std::string::npos);
  EXPECT_EQ(Run("batch one --out out --report=r.json").status, 2);
  r = Run("batch one --out out --settings");  // convert's own check: a value is missing
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.err.find("--settings"), std::string::npos) << r.err;
  EXPECT_FALSE(fs::exists(dir_ / "out"));
}

TEST_F(BatchTest, AWorkerPastItsTimeLimitIsStoppedAndTheRestGoesOn) {
  Write("in/fast.epw", Sample());
  Write("in/slow.epw", Sample());
  // The run log of "slow" is a FIFO nobody reads: its worker waits at the first log line.
  fs::create_directories(dir_ / "out" / "runs" / "slow");
  ASSERT_EQ(mkfifo((dir_ / "out" / "runs" / "slow" / "slow.log").c_str(), 0600), 0);
  const CliResult r = Run("batch in --out out --timeout 1 -q");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.out.find("in/slow.epw  timed out"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("no result after 1 s"), std::string::npos);
  EXPECT_TRUE(fs::exists(dir_ / "out" / "fast.bin"));
}

TEST_F(BatchTest, AnInterruptedBatchLeavesOnlyWholeBinFiles) {
  for (int i = 1; i <= 6; ++i) Write("in/g" + std::to_string(i) + ".epw", Sample());
  ASSERT_EQ(Run("convert in/g1.epw --out single -q").status, 0);
  const std::string whole = Read("single/g1.bin");

  int errPipe[2];
  ASSERT_EQ(pipe(errPipe), 0);
  const pid_t pid = fork();
  if (pid == 0) {
    if (chdir(dir_.c_str()) != 0) _exit(120);
    dup2(errPipe[1], STDERR_FILENO);
    close(errPipe[0]);
    const int out = open("stdout.txt", O_WRONLY | O_CREAT | O_TRUNC, 0600);
    dup2(out, STDOUT_FILENO);
    execl(kCli.c_str(), kCli.c_str(), "batch", "in", "--out", "out", "--jobs", "1", nullptr);
    _exit(127);
  }
  close(errPipe[1]);
  // Interrupt once the first file is done: the second is then being converted.
  std::string err;
  char buf[256];
  ssize_t n;
  while (err.find("[1/6]") == std::string::npos && (n = read(errPipe[0], buf, sizeof buf)) > 0) {
    err.append(buf, static_cast<size_t>(n));
  }
  kill(pid, SIGTERM);
  while ((n = read(errPipe[0], buf, sizeof buf)) > 0) err.append(buf, static_cast<size_t>(n));
  close(errPipe[0]);
  int status = 0;
  ASSERT_EQ(waitpid(pid, &status, 0), pid);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 1);
  EXPECT_NE(err.find("interrupted"), std::string::npos) << err;

  const std::string table = Read("stdout.txt");
  EXPECT_NE(table.find("in/g1.epw  converted"), std::string::npos) << table;
  EXPECT_NE(table.find("not started"), std::string::npos) << table;
  int bins = 0;
  for (const auto& entry : fs::directory_iterator(dir_ / "out")) {
    if (entry.path().extension() != ".bin") continue;
    ++bins;
    EXPECT_EQ(ReadBytes(entry.path().string()), whole) << entry.path();
  }
  EXPECT_GE(bins, 1);
  EXPECT_LT(bins, 6);
  EXPECT_TRUE(Leftovers(dir_ / "out").empty());
}

TEST_F(BatchTest, EpwOutWritesEachInputsRepairedYearBesideItsBin) {
  Write("in/alpha.epw", Sample());
  Write("in/Beta.EPW", Sample(3000));
  const CliResult r = Run("batch in --out out --epw-out --units ip -q");
  ASSERT_EQ(r.status, 0) << r.err << r.out;
  for (const std::string name : {"alpha", "Beta"}) {
    SCOPED_TRACE(name);
    const auto report = nlohmann::json::parse(Read("out/runs/" + name + "/" + name + ".json"));
    EXPECT_EQ(report["outputs"]["epw"], (dir_ / "out" / (name + ".epw")).string());
    EXPECT_EQ(report["units"]["system"], "ip");
    // The same file a single conversion writes.
    ASSERT_EQ(Run("convert in/" + name + (name == "alpha" ? ".epw" : ".EPW") +
                  " --out single -q --epw-out single/" + name + ".epw")
                  .status,
              0);
    EXPECT_EQ(Read("out/" + name + ".epw"), Read("single/" + name + ".epw"));
  }
  // The part year's file is whole: 8 header lines and 8760 rows.
  const std::string beta = Read("out/Beta.epw");
  EXPECT_EQ(std::count(beta.begin(), beta.end(), '\n'), 8 + 8760);
  EXPECT_TRUE(Leftovers(dir_ / "out").empty());
  // Convert names the file among its outputs.
  const CliResult single = Run("convert in/alpha.epw --out one --epw-out one/deep/a.epw");
  ASSERT_EQ(single.status, 0) << single.err;
  EXPECT_NE(single.out.find("  EPW file written to " + (dir_ / "one/deep/a.epw").string() + "\n"),
            std::string::npos);
  EXPECT_NE(single.out.find("Outputs:\n"), std::string::npos);
  EXPECT_NE(single.out.find("  " + (dir_ / "one/deep/a.epw").string() + "\n"), std::string::npos);
  // Never over its own input.
  const CliResult own = Run("convert in/alpha.epw --out one -q --epw-out in/alpha.epw");
  EXPECT_NE(own.status, 0);
  EXPECT_EQ(Read("in/alpha.epw"), Sample());
}

}  // namespace
}  // namespace kestrum::testing
