// The downloaded weather files of tests/data and variants made from them, as their sources
// would write them: the NSRDB PSM3 half-hourly year made hourly, a typical year, stamped in
// UTC, a leap year, with headers respelled or a column taken out.
#pragma once

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "support/test_support.h"

namespace kestrum::testing {

inline const std::string kPsmFile =
    std::string(KESTRUM_TEST_DATA) + "/csv/NSRDB_PSM3_401182_2017_30min.csv";
inline const std::string kPvgisFile =
    std::string(KESTRUM_TEST_DATA) + "/pvgis/PVGIS_TMY_45.000_8.000_2005_2023.csv";
inline const std::string kTmy3File = std::string(KESTRUM_SAMPLE_DATA) + "/723170TYA.CSV";

using Fields = std::vector<std::string>;

inline std::vector<std::string> TextLines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

inline Fields SplitCommas(const std::string& line) {
  Fields fields;
  size_t start = 0;
  for (;;) {
    const size_t comma = line.find(',', start);
    fields.push_back(line.substr(start, comma - start));
    if (comma == std::string::npos) return fields;
    start = comma + 1;
  }
}

inline std::string JoinCommas(const Fields& fields) {
  std::string line;
  for (size_t i = 0; i < fields.size(); ++i) line += (i == 0 ? "" : ",") + fields[i];
  return line;
}

// An NSRDB PSM file: two metadata lines, the header line and the rows (fields as written;
// the empty fields at their ends kept).
struct PsmFile {
  Fields names, values, headers;
  std::vector<Fields> rows;

  static PsmFile Read(const std::string& path = kPsmFile) {
    const std::vector<std::string> lines = TextLines(ReadBytes(path));
    PsmFile f;
    f.names = SplitCommas(lines[0]);
    f.values = SplitCommas(lines[1]);
    f.headers = SplitCommas(lines[2]);
    for (size_t i = 3; i < lines.size(); ++i) f.rows.push_back(SplitCommas(lines[i]));
    return f;
  }

  // The column (from 0) of a header or a metadata name.
  static size_t IndexOf(const Fields& fields, const std::string& name) {
    return static_cast<size_t>(std::find(fields.begin(), fields.end(), name) - fields.begin());
  }
  size_t Column(const std::string& header) const { return IndexOf(headers, header); }
  std::string& Meta(const std::string& name) { return values[IndexOf(names, name)]; }
  double Value(const Fields& row, const std::string& header) const {
    return std::stod(row[Column(header)]);
  }
  int Int(const Fields& row, const std::string& header) const {
    return std::stoi(row[Column(header)]);
  }

  std::string Text() const {
    std::string text = JoinCommas(names) + "\n" + JoinCommas(values) + "\n" + JoinCommas(headers) + "\n";
    for (const Fields& row : rows) text += JoinCommas(row) + "\n";
    return text;
  }

  // Only the rows of one minute of each hour (0: an hourly file stamped on the hour).
  PsmFile AtMinute(int minute) const {
    PsmFile f = *this;
    std::erase_if(f.rows, [&](const Fields& r) { return Int(r, "Minute") != minute; });
    return f;
  }

  // Without a column (its header and every row's field).
  PsmFile Without(const std::string& header) const {
    PsmFile f = *this;
    const size_t c = Column(header);
    f.headers.erase(f.headers.begin() + static_cast<std::ptrdiff_t>(c));
    for (Fields& r : f.rows) r.erase(r.begin() + static_cast<std::ptrdiff_t>(c));
    return f;
  }
};

}  // namespace kestrum::testing
