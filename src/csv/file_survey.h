// What a weather file is and how it would convert, before anything is written: its layout
// (a named one, EPW, or a CSV file of none), the site it states, its data rows and stamps,
// its columns, the column each item of the field map takes and what is missing. The
// command line's `inspect` shows it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "csv/csv_field_map.h"
#include "csv/layout_match.h"
#include "csv/row_stamps.h"
#include "run/run_state.h"

namespace kestrum {

struct InspectedColumn {
  int number = 0;          // the reader's column, from 1
  std::string header;      // as the header line writes it; empty without one
  std::string firstValue;  // the first data row's field
};

// An item of the field map and the column it takes.
struct InspectedItem {
  std::string item;    // as the field window shows it: "DBTemp"
  int column = 0;
  std::string header;  // that column's header
};

struct FileInspection {
  std::string path;
  std::string layout;       // "epw", "tmy3", "psm", "pvgis" or "csv" (no named layout)
  std::string description;  // "an NSRDB PSM file (half-hourly, local time)", "an EPW file"
  SiteInfo site;            // as the file states it; empty texts where it states none
  int64_t rows = 0;         // data rows (blank lines after the last left out)
  int32_t firstRow = 0;     // their first and last lines
  int32_t lastRow = 0;
  int32_t headerLine = 0;   // the line of the column headers, 0 when there is none
  std::optional<RowStamp> firstStamp, lastStamp;
  int stepMinutes = 0;           // the most frequent time between rows; 0 when unknown
  std::optional<bool> leapDay;   // a row of 29 February; unknown without stamps
  TimeBase timeBase = TimeBase::Unknown;
  std::vector<InspectedColumn> columns;
  std::vector<InspectedItem> fieldMap;  // every item of the layout that has a column
  // Required items without a usable column ("WindDir"), a unit the file does not state
  // ("unit of DBTemp"), and site values it does not state ("latitude").
  std::vector<std::string> missing;
  // How to convert it (CSV): the field map, the time shift of UTC stamps and the notes of
  // the run; utcStamps when the rows are stamped in UTC.
  CsvFieldMap csvFieldMap;
  int timeShiftHours = 0;
  bool utcStamps = false;
  // Units not stated by a CSV file of no layout (the command line gives them as
  // placeholders): "--temp-unit", ...
  std::vector<std::string> unstatedUnits;
};

// Reads the file. Throws InputError naming the file when it cannot be read or is no text
// of lines (empty).
FileInspection InspectFile(const std::string& path);

}  // namespace kestrum
