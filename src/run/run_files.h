// The files a run writes under its base name, and what the driver does with the ones an
// earlier run of that name left behind.
#pragma once

#include <string>
#include <vector>

namespace kestrum {

// The run files in the interim directory: NAME-orig.csv, NAME-final.csv, NAME.ft,
// postclean-b.csv, postclean-c.csv and NAME.bin.
std::vector<std::string> InterimRunFiles(const std::string& interimDir, const std::string& base);

// Removes the run files of base from interimDir (NAME.bin whatever the letter case of its
// extension), so that no file of an earlier run is taken for one of this run. Directories
// of those names are left alone. Throws RunError naming a file that cannot be removed.
void RemoveEarlierRunFiles(const std::string& interimDir, const std::string& base);

// "NAME.bin in DIR is from an earlier run (date time)." when outputDir holds NAME.bin;
// empty otherwise. The date and time are the file's last change.
std::string EarlierBinNote(const std::string& outputDir, const std::string& base);

}  // namespace kestrum
