// The last stage: hands the FT file to the packer and copies the ".bin" file to the
// output directory.
#pragma once

#include <string>

#include "format/outside_libraries.h"
#include "run/stage_context.h"

namespace kestrum {

struct PackResult {
  bool ok = false;
  std::string binPath;  // where the ".bin" file is now (output directory or interim)
};

// Packs <base>.ft in the current directory (the interim directory) into <base>.bin and
// copies it to outputDir. When the output directory is missing or the copy fails the
// ".bin" stays in the interim directory and the log and progress box say so.
PackResult MakeBinFile(const std::string& baseName, const std::string& outputDir,
                       StageContext& ctx, FtpackLibrary& ftpack);

}  // namespace kestrum
