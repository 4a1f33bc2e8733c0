// The outcome of each input of a batch, as a table for the terminal and as CSV.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace kestrum::cli {

struct BatchRow {
  std::string input;
  std::string status;  // "converted", "cleaning failed", "failed", "crashed", "timed out",
                       // "interrupted", "not started"
  std::optional<int> hoursRepaired;          // from the run's report
  std::optional<int> directNormalEstimated;  // from the run's report
  std::vector<std::string> warnings;
  std::optional<double> seconds;  // empty: not started
  std::string message;            // why it failed
  bool converted() const { return status == "converted"; }
};

// Columns: input, status, hours repaired, direct normal estimated, warnings, seconds,
// message (why a run failed); then the warnings of each input and one line of totals.
std::string BatchTable(const std::vector<BatchRow>& rows, double seconds);

// The same columns as CSV with a header line, the message column holding the warnings of
// a converted run; CR LF line ends, fields quoted where needed.
std::string BatchCsv(const std::vector<BatchRow>& rows);

}  // namespace kestrum::cli
