#include "csv/tmy3_layout.h"

#include <algorithm>

#include "csv/csv_lines.h"
#include "run/hourly_table.h"
#include "run/run_error.h"
#include "run/text_fields.h"

namespace kestrum {

Tmy3Header ReadTmy3Header(const std::string& path) {
  Tmy3Header header;
  header.path = path;
  CsvLineReader lines(path);
  std::string siteLine, headerLine, firstDataRow;
  if (!lines.Next(siteLine) || !lines.Next(headerLine)) {
    throw InputError(path + " is not a TMY3 file: it has fewer than two lines (a site line and "
                     "a line of column headers).");
  }
  // The station's name is quoted in the files as distributed: take the field after it as
  // the next one.
  size_t pos = 1;
  std::string station[7];
  for (std::string& field : station) NextField(siteLine, pos, field, AfterQuote::Consume);
  header.site.description = station[1];
  header.site.timeZone = station[3];
  header.site.latitude = station[4];
  header.site.longitude = station[5];
  header.site.elevation = station[6];
  // A quote that is not closed takes the rest of the line into the station's name.
  if (std::count(siteLine.begin(), siteLine.end(), '"') % 2 != 0) {
    header.siteLineProblem = "a double quote is not closed";
  }
  lines.Next(firstDataRow);  // none: the columns are the header line's own
  header.columns = AlignHeaders(headerLine, firstDataRow);
  while (!header.columns.empty() && header.columns.back().text.empty()) header.columns.pop_back();
  return header;
}

const char* Tmy3HeaderOf(CsvItem item) {
  switch (item) {
    case CsvItem::DryBulb: return "Dry-bulb (C)";
    case CsvItem::DewPoint: return "Dew-point (C)";
    case CsvItem::RelHum: return "RHum (%)";
    case CsvItem::SolarHorizontal: return "GHI (W/m^2)";
    case CsvItem::SolarDirectNormal: return "DNI (W/m^2)";
    case CsvItem::WindSpeed: return "Wspd (m/s)";
    case CsvItem::WindDirection: return "Wdir (degrees)";
    default: return nullptr;
  }
}

CsvFieldMap Tmy3Choices() {
  CsvFieldMap fieldMap;
  fieldMap.firstRow = 3;
  fieldMap.dateInd = kDateNone;
  fieldMap.moistInd = kMoistureDewPoint;
  fieldMap.solarInd = kSolarGlobalAndDirect;
  fieldMap.dbtUnits = 1;    // deg C
  fieldMap.moistUnits = 1;  // deg C
  fieldMap.solUnits = 0;    // W/m2
  fieldMap.windUnits = 2;   // m/s
  return fieldMap;
}

CsvFieldMap Tmy3FieldMap(const Tmy3Header& header, int32_t moistInd, int32_t solarInd) {
  CsvFieldMap fieldMap = Tmy3Choices();
  fieldMap.moistInd = moistInd;
  fieldMap.solarInd = solarInd;
  if (moistInd == kMoistureRelHum) fieldMap.moistUnits = 0;  // %
  const std::vector<CsvSlot> layout = CsvLayout(fieldMap.dateInd, moistInd, solarInd);
  for (size_t slot = 0; slot < layout.size(); ++slot) {
    const char* name = Tmy3HeaderOf(layout[slot].item);
    if (name == nullptr) continue;
    const int column = ReaderColumnHeaded(header.columns, name);
    if (column == 0) {
      throw InputError(header.path + ", line 2: no column is headed \"" + name +
                       "\", which a TMY3 file as distributed has for " + layout[slot].name + ".");
    }
    fieldMap.columns[slot] = std::to_string(column);
  }
  return fieldMap;
}

}  // namespace kestrum
