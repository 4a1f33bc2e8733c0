// The header line of a CSV file matched to the columns under which the reader finds each
// field in the data rows. A field in double quotes swallows the delimiter after it as a
// header or a value, but the reader's field scanner (NextField, the delimiter kept) sees an
// empty field behind it: every later column of such a row lies one further on. Layouts
// find an item's header on the header line and must take the item from the column the
// reader counts in the data rows.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kestrum {

struct CsvHeaderColumn {
  std::string text;      // the header as NextField reads it (a quoted one in upper case)
  int readerColumn = 0;  // 1-based: the column of the same field in the data rows
};

// For each field of line, a quoted field and its delimiter taken as one (NextField
// consuming the delimiter after a closing quote), the reader's column of it (NextField
// keeping that delimiter). "\"01/01/1988\",01:00,5" gives 1, 3, 4.
std::vector<int> ReaderColumnsOfFields(std::string_view line);

// The headers of headerLine, each with the reader's column of the field in the same place
// of firstDataRow: the k-th field of the header line heads the k-th field of the row,
// whatever quotes either line has. A header beyond the row's fields gets the column it
// would have after the row's last one.
std::vector<CsvHeaderColumn> AlignHeaders(std::string_view headerLine,
                                          std::string_view firstDataRow);

// A header as layouts and column names compare it: ASCII letters in upper case; blanks,
// tabs and '^' left out; a degree sign left out and a superscript two read as 2 (in UTF-8
// or Windows-1252); a run of closing parentheses read as one. "DNI (W/m^2))", "dni(w/m2)"
// and "DNI (W/m\u00b2)" give the same key, "DNI(W/M2)".
std::string HeaderKey(std::string_view header);

// A header's key less a unit in parentheses at its end, and that unit: "DRY-BULB" and "C"
// of "Dry-bulb (C)"; both empty when the key ends in no such unit ("GHI", "(C)").
struct HeaderUnitSplit {
  std::string name;
  std::string unit;
};
HeaderUnitSplit SplitHeaderUnit(std::string_view header);

// The headers that `name` names, as layouts and column names match them: those whose key is
// name's key; when none is, those whose key less its unit is ("Dry-bulb" names
// "Dry-bulb (C)"). Empty when no header is named.
std::vector<const CsvHeaderColumn*> HeadersNamed(const std::vector<CsvHeaderColumn>& headers,
                                                 std::string_view name);

// The reader's column of the first header whose key (HeaderKey) is name's; 0 when none is.
int ReaderColumnHeaded(const std::vector<CsvHeaderColumn>& headers, std::string_view name);

}  // namespace kestrum
