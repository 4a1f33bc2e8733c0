// Running kestrum-cli from a test: its exit status, stdout and stderr.
#pragma once

#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "support/test_support.h"

namespace kestrum::testing {

struct CliResult {
  int status = -1;
  std::string out;  // stdout
  std::string err;  // stderr
};

// Runs `kestrum-cli args` (args as a shell would split them) in dir.
inline CliResult RunCli(const std::filesystem::path& dir, const std::string& args,
                        const std::string& program = std::string(KESTRUM_BIN_DIR) + "/kestrum-cli") {
  const std::filesystem::path err = dir / "stderr.txt";
  const std::string command = "cd '" + dir.string() + "' && '" + program + "' " + args + " 2> '" +
                              err.string() + "'";
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

}  // namespace kestrum::testing
