// The layout of an NSRDB TMY3 CSV file as distributed: a site line, a line of column
// headers, then the 8760 hours of the year in order.
#pragma once

#include <string>
#include <vector>

#include "csv/csv_field_map.h"
#include "csv/csv_headers.h"
#include "run/run_state.h"

namespace kestrum {

struct Tmy3Header {
  std::string path;
  // Line 2, each header with the column where the reader finds its field in the data rows
  // (line 3 on), which a quoted field before it moves.
  std::vector<CsvHeaderColumn> columns;
  SiteInfo site;  // line 1
  // Why line 1 cannot give all seven fields ("a double quote is not closed"); empty when it
  // can.
  std::string siteLineProblem;
};

// Reads the first three lines. Line 1 is "station, name, state, time zone, latitude,
// longitude, elevation": the description is the station's name. Line 2 holds the headers
// and line 3, the first data row, tells the reader's column of each (AlignHeaders).
// Throws InputError naming the file when it cannot be read or has fewer than two lines.
Tmy3Header ReadTmy3Header(const std::string& path);

// The header of an item's column in a TMY3 file ("Dry-bulb (C)", "Dew-point (C)",
// "RHum (%)", "GHI (W/m^2)", "DNI (W/m^2)", "Wspd (m/s)", "Wdir (degrees)"); nullptr for an
// item the file has no column for (the date items, the wet bulb, snow, rain, cloud type).
const char* Tmy3HeaderOf(CsvItem item);

// The choices of a TMY3 file as distributed, without columns: first row 3, no date, dew
// point, global horizontal and direct normal, deg C, W/m2, m/s.
CsvFieldMap Tmy3Choices();

// The field map of the file: first row 3, no date, dew point (or, with
// moistInd 2, relative humidity in %), global horizontal and, with solarInd 1, direct
// normal, deg C, W/m2, m/s, each column found by its header (compared without regard to
// case or surrounding blanks) and taken from the reader's column of its field in the
// data rows. Throws InputError naming the file and the header line 2 lacks. A moisture choice the file has no column for leaves that slot unassigned.
CsvFieldMap Tmy3FieldMap(const Tmy3Header& header, int32_t moistInd, int32_t solarInd);

}  // namespace kestrum
