// --columns by number or by header, and --constant, for `kestrum-cli convert`.
#pragma once

#include <string>
#include <vector>

#include "csv/csv_field_map.h"

namespace kestrum::cli {

// --columns C1,C2,...: the assignments in the layout's slot order; an empty item and a
// missing tail are not assigned. An item is a column number (from 1) or a header's text,
// matched as layouts match headers (HeadersNamed: case, blanks, a doubled closing
// parenthesis and unit spellings aside) against line headerRow of input, or, when headerRow
// is 0, the line above the first data row; the column is where the reader finds that
// header's field in the first data row. Throws CsvUsageError for too many items, a number
// outside 1..255, and a name no header or several headers have (listing the headers).
void SetColumns(CsvFieldMap& fieldMap, const std::string& list, const std::string& input,
                int32_t headerRow);

// --constant ITEM=VALUE (ITEM a slot name in any case: DewPtT, WetBlb, RelHum, SolarDN,
// WindSpd, WindDir): each item one value for every hour. A moisture constant chooses that
// moisture quantity and a SolarDN constant the direct normal, unless the choice was given
// otherwise (moistureGiven / solarGiven: the --moisture / --solar flags), which is a usage
// error. Throws CsvUsageError for an item that takes no constant (DBTemp and SolarHor are
// named as such), an item given twice and a value that is no number.
void SetConstants(CsvFieldMap& fieldMap, const std::vector<std::string>& given,
                  bool moistureGiven, bool solarGiven);

// Once the units are settled: a constant outside what its quantity can be in its unit
// (a wind direction outside 0..360, a relative humidity outside 0..100 % or 0..1, a
// negative wind speed or direct normal) is a usage error.
void CheckConstantValues(const CsvFieldMap& fieldMap);

}  // namespace kestrum::cli
