// A weather file read against the table of source layouts (source_layouts.h): which layout
// it is, the site it states, the column and unit of every quantity, the field map and time
// rules that convert it, and what it lacks. The desktop program offers a layout found here
// ("This looks like an NSRDB PSM file (half-hourly, UTC): use its layout?"); the command
// line's --layout and `inspect` take the same match.
//
//   std::optional<LayoutMatch> match = DetectLayout(path);
//   if (match && match->missing.empty()) {
//     settings.csvFieldMap = match->fieldMap;   // with subhourly, timeStamps, lastRow
//     settings.csvSite = match->site;
//     settings.csvTimeShift = match->timeShiftHours;
//   }
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "csv/csv_field_map.h"
#include "csv/csv_headers.h"
#include "csv/source_layouts.h"
#include "run/run_state.h"

namespace kestrum {

// A quantity's column as the file heads it.
struct LayoutColumn {
  CsvItem item;
  int column = 0;       // the reader's column (from 1, a quoted field followed by an empty one)
  std::string header;   // as the header line writes it
  int unit = 0;         // the field map's unit code; -1 when the file's unit is none of them
  std::string unitText; // the unit as the file writes it (a header's parentheses, a metadata
                        // value), empty when the layout's own unit is taken
};

// A required item the file gives no usable column for.
struct MissingItem {
  CsvItem item;
  std::string name;    // as the field window shows it: "WindDir"
  std::string header;  // the header the layout looks for ("Wdir (degrees)")
  std::string why;     // empty: no such column; else what is wrong with the one there is
};

struct LayoutMatch {
  const SourceLayout* layout = nullptr;
  std::string name;         // "tmy3", "psm", "pvgis"
  // For the offer: the layout's kind, its time step and time base, "an NSRDB PSM file
  // (half-hourly, UTC)", "a TMY3 file (hourly, local time)".
  std::string description;
  std::string path;
  int headerLine = 0;                    // the line of the column headers
  std::vector<CsvHeaderColumn> headers;  // that line's headers, trailing empty ones left out
  std::vector<LayoutColumn> columns;     // every quantity found (dew point and RH both)
  std::vector<int> dateColumns;          // the reader's columns of the layout's date headers
  std::vector<int> stampColumns;         // those of its stamp headers (0: not found)
  // The layout's own choices: dew point (else relative humidity) and, when the file has a
  // direct-normal column, global and direct normal; the columns and units the file gives
  // them; the layout's date form, time stamps, sub-hourly rule and last data row.
  CsvFieldMap fieldMap;
  SiteInfo site;
  int siteLine = 0;          // the line the site stands on (the first, for several)
  std::string siteProblem;   // why the site line cannot give the site; empty when it can
  TimeBase timeBase = TimeBase::Unknown;
  // UTC stamps are moved to the site's time zone: its whole hours (0 for local stamps, or
  // when the time zone is no whole number of hours).
  int timeShiftHours = 0;
  // Lines the run says before it reads (indented): the time zone taken from the longitude
  // when the file states none, and the move of UTC stamps to local time. Empty when there
  // is nothing to say.
  std::string timeZoneNote;
  std::string timeBaseNote;
  int stepMinutes = 0;  // between the first two data rows' stamps; 0 when unknown
  // The required items of fieldMap's choices without a usable column (and the date items
  // of the layout's date form); empty when the file converts as it is.
  std::vector<MissingItem> missing;
};

// The named layout the file's content matches, tried in the order of SourceLayouts(); nothing
// for an EPW file or a CSV file of no named layout. A file of a layout that lacks a quantity
// is still its layout (with `missing` filled). Throws InputError when the file cannot be read.
std::optional<LayoutMatch> DetectLayout(const std::string& path);

// The file read as the layout of that name. Throws InputError naming the file and what
// makes it none ("x.csv is not a TMY3 file: it has fewer than two lines (...)"), and
// RunError for a name no layout has.
LayoutMatch MatchLayout(const std::string& path, std::string_view layoutName);

// Whether the file starts as an EPW file does (its first line "LOCATION,...").
bool LooksLikeEpw(const std::string& path);

// The column of every quantity the layout's item headers name among headers, in the order
// of the layout's items (the first header of an item wins), each with its unit: the one in
// the header's parentheses, else (unitsFromMetadata) metadata's value under the key of
// "<header> Units", else the layout's own.
std::vector<LayoutColumn> FindLayoutColumns(const SourceLayout& layout,
                                            const std::vector<CsvHeaderColumn>& headers,
                                            const std::map<std::string, std::string>& metadata = {});

// The layout's field map for other moisture and solar choices (--moisture, --solar): the
// columns and units the file gives them, with the layout's date form and time rules.
CsvFieldMap LayoutFieldMap(const LayoutMatch& match, int32_t moistInd, int32_t solarInd);

// The required items of those choices the file gives no usable column for.
std::vector<MissingItem> MissingItems(const LayoutMatch& match, int32_t moistInd,
                                      int32_t solarInd);

// What the file lacks, after "FILE, line N: ": "no column is headed \"Wspd (m/s)\"
// (WindSpd), which a TMY3 file has; the columns of line 2: \"Date (MM/DD/YYYY)\", ...".
std::string MissingItemsText(const LayoutMatch& match, const std::vector<MissingItem>& missing);

// The line that says a file's UTC stamps move by shiftHours to the site's time zone
// (indented): "     The file is stamped in UTC: its rows move to the site's time zone, -7 h."
std::string UtcStampsNote(int shiftHours);

}  // namespace kestrum
