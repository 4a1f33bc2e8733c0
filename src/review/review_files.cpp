#include "review/review_files.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "epw/text_lines.h"
#include "run/run_error.h"
#include "run/text_fields.h"

namespace kestrum {

namespace fs = std::filesystem;

std::string OriginalDataPath(const std::string& dir, const std::string& base) {
  return dir + "/" + base + kOriginalSuffix;
}

std::string FinalDataPath(const std::string& dir, const std::string& base) {
  return dir + "/" + base + kFinalSuffix;
}

MoistureOffset ReadMoistureOffset(const std::string& originalPath) {
  TextLineReader lines(originalPath);
  std::string line;
  lines.Next(line);
  size_t pos = 1;
  std::string field;
  for (int i = 0; i < 5; ++i) NextField(line, pos, field);
  const std::string name = ToUpperAscii(field);
  if (name == "WETBULBT" || name == "WBT") return {0, true};
  if (name == "DEWPTT" || name == "DPT") return {1, true};
  if (name == "RELHUM" || name == "RH") return {2, true};
  return {0, false};
}

std::string MoistureIndicatorMessage(const std::string& originalPath) {
  return "Error finding moisture indicator for CSV results file: " + originalPath;
}

void ReadReviewColumn(const std::string& path, int column, std::vector<double>& values) {
  TextLineReader lines(path);
  std::string line;
  std::string quoted;
  for (int i = 0; i < 2 && lines.Next(line); ++i) {
  }
  while (lines.Next(line)) {
    if (line.empty()) continue;
    size_t pos = 1;
    std::string_view field;
    for (int i = 0; i < column; ++i) {
      if (pos > line.size() + 1) {
        throw RunError(path + " line " + std::to_string(lines.lineNumber()) + " has no column " +
                       std::to_string(column));
      }
      field = NextFieldView(line, pos, quoted);
    }
    double value = 0.0;
    if (!ParseReal(field, value)) {
      throw RunError(path + " line " + std::to_string(lines.lineNumber()) + ", column " +
                     std::to_string(column) + ": " + QuoteForMessage(field) +
                     " is not a valid floating point value");
    }
    values.push_back(value);
  }
}

std::vector<std::string> ListReviewRuns(const std::string& dir) {
  std::vector<std::string> names;
  std::error_code ec;
  for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
    std::error_code typeError;
    if (!it->is_regular_file(typeError)) continue;
    const std::string name = it->path().filename().string();
    if (name.empty() || name.front() == '.') continue;
    if (name.size() < 4 || ToUpperAscii(name.substr(name.size() - 4)) != ".CSV") continue;
    names.push_back(name);
  }
  std::sort(names.begin(), names.end());
  std::vector<std::string> runs;
  for (const std::string& name : names) {
    const size_t at = name.find(kOriginalSuffix);
    if (at != std::string::npos) runs.push_back(name.substr(0, at));
  }
  return runs;
}

}  // namespace kestrum
