// The hourly rows of a CSV file into the hourly table, guided by the field map,
// and the original-data file in its CSV form.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "csv/csv_field_map.h"
#include "run/stage_context.h"

namespace kestrum {

// Reads the data rows of path from fieldMap.firstRow on (to fieldMap.lastRow when it is not
// 0) into the table (the hour of each row from its date fields, or its place among the rows
// without a date form); an item with a constant (fieldMap.constants) takes its value for
// every hour instead, which is warned. Normalises units
// with the field map's unit codes, writes <base>-orig.csv and offers the run for review.
// The row of hour s fills hour s + timeShiftHours (wrapping around the year); rows that
// share an hour give it the last row's values or their mean (fieldMap.subhourly); rows of
// 29 February are left out. Blank lines after the last data row are no rows. A value that
// does not convert is logged and stored as its failure value. Rows outside the year, rows
// left out, hours filled more than once, rows whose fields do not line up with the first
// data row's (empty fields at their ends aside) and values that did not convert are each
// warned once, with the first line.
// Returns true; every failure is thrown: RunError for an unusable field map or time shift
// (before the file is opened), InputError naming the file, the line and the text for a date
// that does not convert, for a file without data rows, and, before anything is read,
// for a file without a date form whose data rows are not 8760 or 8784. years (optional)
// receives, for each hour a row with a one-field date filled, the year of that date (the
// last row's, like its values), 0 elsewhere.
bool ReadCSVData(const std::string& path, const CsvFieldMap& fieldMap, StageContext& ctx,
                 int timeShiftHours = 0, std::vector<int16_t>* years = nullptr);

}  // namespace kestrum
