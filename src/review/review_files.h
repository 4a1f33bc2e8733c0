// Reading the two review files of a run (<base>-orig.csv and <base>-final.csv): their
// names, the moisture quantity named in the original file's header, one column of values,
// and the runs whose review files are in a directory.
#pragma once

#include <string>
#include <vector>

namespace kestrum {

inline constexpr const char* kOriginalSuffix = "-orig.csv";
inline constexpr const char* kFinalSuffix = "-final.csv";

// dir + "/" + base + "-orig.csv" and "-final.csv".
std::string OriginalDataPath(const std::string& dir, const std::string& base);
std::string FinalDataPath(const std::string& dir, const std::string& base);

// The moisture offset m of a run: 0 wet bulb, 1 dew point, 2 relative humidity. In the
// final-data file the run's moisture column is 5 + m.
struct MoistureOffset {
  int offset = 0;
  bool recognised = true;  // false: the header named no known quantity, offset is 0
};

// Reads the fifth field of the first line of the original-data file: "WETBULBT"/"WBT",
// "DEWPTT"/"DPT", "RELHUM"/"RH" in any case. Throws InputError when the file cannot be read.
MoistureOffset ReadMoistureOffset(const std::string& originalPath);

// The message for an unrecognised moisture field.
std::string MoistureIndicatorMessage(const std::string& originalPath);

// Appends to values the number in field `column` (1-based) of every non-empty line after
// the two header lines. Throws InputError when the file cannot be read, and RunError naming
// the file and line at the first row without that column or whose field is not a number;
// values then keeps what was read before it.
void ReadReviewColumn(const std::string& path, int column, std::vector<double>& values);

// The runs whose original-data file is in dir: for every ordinary, non-hidden "*.csv" file
// whose name contains "-orig.csv", the part of the name before its first occurrence. In
// the order of the names. A directory that cannot be listed gives none.
std::vector<std::string> ListReviewRuns(const std::string& dir);

}  // namespace kestrum
