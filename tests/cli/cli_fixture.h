// Running kestrum-cli as a user does, in a fresh directory per test.
#pragma once

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "support/test_support.h"

namespace kestrum::testing {

inline const std::string kCli = std::string(KESTRUM_BIN_DIR) + "/kestrum-cli";
inline const std::string kGoldenEpw =
    std::string(KESTRUM_SAMPLE_DATA) + "/USA_CO_Golden-NREL.724666_TMY3.epw";

struct CliResult {
  int status = -1;
  std::string out;  // stdout
  std::string err;  // stderr
};

class CliFixture : public ::testing::Test {
 protected:
  void SetUp() override { dir_ = std::filesystem::path(temp_.str()); }

  // Runs kestrum-cli with args (a shell command line) in the test's directory.
  CliResult Run(const std::string& args) {
    const std::filesystem::path err = dir_ / "stderr.txt";
    const std::string command =
        "cd '" + dir_.string() + "' && '" + kCli + "' " + args + " 2> '" + err.string() + "'";
    CliResult r;
    FILE* pipe = popen(command.c_str(), "r");
    char buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, pipe)) > 0) r.out.append(buf, n);
    const int raw = pclose(pipe);
    r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    r.err = ReadBytes(err.string());
    return r;
  }

  std::filesystem::path Write(const std::string& name, const std::string& text) {
    std::filesystem::create_directories((dir_ / name).parent_path());
    std::ofstream(dir_ / name, std::ios::binary) << text;
    return dir_ / name;
  }
  std::string Read(const std::string& name) const { return ReadBytes((dir_ / name).string()); }

  // The sample EPW file with only its first `rows` hourly rows (all of them when rows < 0)
  // and, when given, another site description.
  std::string Sample(int rows = -1, const std::string& description = "") const {
    std::string text = ReadBytes(kGoldenEpw);
    if (!description.empty()) {
      const size_t start = text.find(',') + 1;
      text.replace(start, text.find(',', start) - start, description);
    }
    if (rows >= 0) {
      size_t pos = text.find("DATA PERIODS");
      pos = text.find('\n', pos) + 1;
      for (int i = 0; i < rows; ++i) pos = text.find('\n', pos) + 1;
      text.resize(pos);
    }
    return text;
  }

  TempDir temp_;
  std::filesystem::path dir_;
};

}  // namespace kestrum::testing
