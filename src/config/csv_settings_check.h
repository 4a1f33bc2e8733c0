// The values of a settings file's section "CSV Specs" checked before a CSV conversion takes
// them: the desktop program reads a value that does not parse as its default, silently; a
// command line that names the settings file refuses it instead.
#pragma once

#include <string>
#include <vector>

namespace kestrum {

struct SettingsValueProblem {
  std::string key;   // as the settings file spells it: "DateInd", "CSVgridCol3", "CSVlat"
  std::string text;  // the value as the file holds it (empty when the key is missing)
  // What is wrong, to follow "KEY=TEXT ": "does not convert: 0 (dew point), 1 (wet bulb) or
  // 2 (relative humidity) is needed", or
  // "gives no column to \"WindDir\", which is required".
  std::string what;
};

// Every value of section "CSV Specs" of the settings file at path that a CSV conversion
// would take and cannot use, in the order of the file's keys: FirstRow (a line number of 1
// or more), DateInd (0..2), MoistInd (0..2), SolarInd (0..1), the four unit codes (whole
// numbers), the column of each slot of the layout those choices give (a column number
// 1..255; a required item must have one) and the site CSVlat, CSVlong, CSVtz, CSVelev (as
// the formatter converts them). A key that is missing counts as its default, except the
// site's, which have none. Throws RunError when the file cannot be read.
std::vector<SettingsValueProblem> CsvSpecsProblems(const std::string& path);

}  // namespace kestrum
