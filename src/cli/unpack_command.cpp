#include <cstdio>

#include "cli/commands.h"

namespace kestrum::cli {

int RunUnpack(const UnpackOptions& options) {
  std::fprintf(stderr, "kestrum-cli: unpack is not available yet (%s).\n", options.binFile.c_str());
  return kExitError;
}

}  // namespace kestrum::cli
