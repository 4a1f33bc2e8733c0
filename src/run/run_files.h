// The files a run writes under its base name, and what the driver does with the ones an
// earlier run of that name left behind.
#pragma once

#include <string>
#include <vector>

namespace kestrum {

// The run files in the interim directory: NAME-orig.csv, NAME-final.csv, NAME.ft,
// postclean-b.csv, postclean-c.csv and NAME.bin.
std::vector<std::string> InterimRunFiles(const std::string& interimDir, const std::string& base);

// True when the ".bin" of a run stays in interimDir instead of being copied to outputDir:
// no output directory is given or it does not exist, or it is the interim directory itself
// (the same text without regard to letter case, or the same directory under another name).
// Then NAME.bin in the interim directory is the user's output, which only a new pack may
// replace.
bool BinStaysInInterim(const std::string& outputDir, const std::string& interimDir);

// Removes the run files of base from interimDir, so that no file of an earlier run is taken
// for one of this run: NAME.bin too (whatever the letter case of its extension) unless it
// is the output of an earlier run (BinStaysInInterim of outputDir), which a failed run
// must leave whole. Directories of those names are left alone. Throws RunError naming a
// file that cannot be removed.
void RemoveEarlierRunFiles(const std::string& interimDir, const std::string& base,
                           const std::string& outputDir);

// "NAME.bin in DIR is from an earlier run (date time)." when outputDir holds NAME.bin;
// empty otherwise. The date and time are the file's last change.
std::string EarlierBinNote(const std::string& outputDir, const std::string& base);

}  // namespace kestrum
