#include <cstdio>
#include <exception>
#include <filesystem>

#include "cli/commands.h"
#include "config/atomic_file.h"
#include "ftpack/unpack.h"
#include "run/run_checks.h"

namespace kestrum::cli {

namespace fs = std::filesystem;

int RunUnpack(const UnpackOptions& options) {
  const fs::path out = options.ftFile.empty() ? fs::path(options.binFile).replace_extension(".ft")
                                              : fs::path(options.ftFile);
  // The FT text replaces the file it is written to: never the file being unpacked.
  if (SameFile(out.string(), options.binFile)) {
    std::fprintf(stderr,
                 "kestrum-cli: the FT file %s would replace the file %s being unpacked; name "
                 "another with -o.\n",
                 out.c_str(), options.binFile.c_str());
    return kExitUsage;
  }
  try {
    const std::string text = ftpack::UnpackBin(options.binFile);
    // Through a temporary file: a full disk never leaves half an FT file under its name.
    ReplaceFileContent(out.string(), text);
    std::printf("%s checked; FT text written to %s\n", options.binFile.c_str(), out.c_str());
    return kExitOk;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "kestrum-cli: %s\n", e.what());
    return kExitError;
  }
}

}  // namespace kestrum::cli
