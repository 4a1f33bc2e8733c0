#include <cstdio>
#include <exception>
#include <filesystem>

#include "cli/commands.h"
#include "ftpack/unpack.h"

namespace kestrum::cli {

namespace fs = std::filesystem;

int RunUnpack(const UnpackOptions& options) {
  try {
    const std::string text = ftpack::UnpackBin(options.binFile);
    fs::path out = options.ftFile.empty() ? fs::path(options.binFile).replace_extension(".ft")
                                          : fs::path(options.ftFile);
    std::FILE* f = std::fopen(out.c_str(), "wb");
    if (f == nullptr) {
      std::fprintf(stderr, "kestrum-cli: cannot create %s.\n", out.c_str());
      return kExitError;
    }
    const bool ok = std::fwrite(text.data(), 1, text.size(), f) == text.size();
    if (std::fclose(f) != 0 || !ok) {
      std::fprintf(stderr, "kestrum-cli: cannot write %s.\n", out.c_str());
      return kExitError;
    }
    std::printf("%s checked; FT text written to %s\n", options.binFile.c_str(), out.c_str());
    return kExitOk;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "kestrum-cli: %s\n", e.what());
    return kExitError;
  }
}

}  // namespace kestrum::cli
