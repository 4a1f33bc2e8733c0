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
  std::string reason;   // why no ".bin" reached its place, as the log says it (unless ok)
};

// Packs <base>.ft in the current directory (the interim directory) into <base>.bin and
// copies it to outputDir. When the output directory is missing the ".bin" stays in the
// interim directory and the log and progress box say so; when the copy fails (a full disk)
// it stays there too and the stage fails, with the path and the reason.
PackResult MakeBinFile(const std::string& baseName, const std::string& outputDir,
                       StageContext& ctx, FtpackLibrary& ftpack);

}  // namespace kestrum
