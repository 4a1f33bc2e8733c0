#include "cli/batch_summary.h"

#include <algorithm>
#include <array>

#include "format/fixed_text.h"

namespace kestrum::cli {

namespace {

constexpr size_t kColumns = 7;
using Cells = std::array<std::string, kColumns>;

std::string Count(const std::optional<int>& n) { return n ? std::to_string(*n) : ""; }

// Why the run failed; in the CSV also the warnings of a converted run (the table lists
// them below itself).
std::string Message(const BatchRow& row, bool withWarnings) {
  if (!row.message.empty() || !withWarnings) return row.message;
  std::string text;
  for (const std::string& w : row.warnings) {
    if (!text.empty()) text += ' ';
    text += w;
  }
  return text;
}

Cells CellsOf(const BatchRow& row, bool withWarnings) {
  return {row.input,
          row.status,
          Count(row.hoursRepaired),
          Count(row.directNormalEstimated),
          row.converted() ? std::to_string(row.warnings.size()) : "",
          row.seconds ? FormatFixed(*row.seconds, 0, 2) : "",
          Message(row, withWarnings)};
}

std::string CsvField(const std::string& text) {
  if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
  std::string quoted = "\"";
  for (char c : text) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
  return quoted + "\"";
}

}  // namespace

std::string BatchTable(const std::vector<BatchRow>& rows, double seconds) {
  const Cells header = {"Input", "Status", "Hours repaired", "DN estimated", "Warnings",
                        "Seconds", "Message"};
  std::vector<Cells> table = {header};
  for (const BatchRow& row : rows) table.push_back(CellsOf(row, false));
  std::array<size_t, kColumns> width{};
  for (const Cells& cells : table) {
    for (size_t c = 0; c < kColumns; ++c) width[c] = std::max(width[c], cells[c].size());
  }
  std::string out;
  for (const Cells& cells : table) {
    std::string line;
    for (size_t c = 0; c < kColumns; ++c) {
      const std::string& text = cells[c];
      const std::string pad(width[c] - text.size(), ' ');
      // Text columns left-aligned, numbers right-aligned; nothing after the last column.
      const bool left = c < 2 || c + 1 == kColumns;
      if (c > 0) line += "  ";
      line += left ? text + (c + 1 == kColumns ? "" : pad) : pad + text;
    }
    line.erase(line.find_last_not_of(' ') + 1);
    out += line + "\n";
  }
  bool heading = false;
  for (const BatchRow& row : rows) {
    for (const std::string& w : row.warnings) {
      if (!heading) out += "Warnings:\n";
      heading = true;
      out += "  " + row.input + ": " + w + "\n";
    }
  }
  const auto converted = std::count_if(rows.begin(), rows.end(),
                                       [](const BatchRow& r) { return r.converted(); });
  out += std::to_string(converted) + " of " + std::to_string(rows.size()) + " inputs converted, " +
         std::to_string(rows.size() - static_cast<size_t>(converted)) + " not, in " +
         FormatFixed(seconds, 0, 1) + " s.\n";
  return out;
}

std::string BatchCsv(const std::vector<BatchRow>& rows) {
  std::string out =
      "input,status,hours_repaired,direct_normal_estimated,warnings,seconds,message\r\n";
  for (const BatchRow& row : rows) {
    const Cells cells = CellsOf(row, true);
    for (size_t c = 0; c < kColumns; ++c) {
      if (c > 0) out += ',';
      out += CsvField(cells[c]);
    }
    out += "\r\n";
  }
  return out;
}

}  // namespace kestrum::cli
