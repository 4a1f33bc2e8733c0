// The hourly rows of a CSV file into the hourly table, guided by the field map,
// and the original-data file in its CSV form.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "csv/csv_field_map.h"
#include "run/stage_context.h"

namespace kestrum {

// Reads the data rows of path from fieldMap.firstRow on into the table (the hour of each row
// from its date fields, or its place among the rows without a date form), normalises units
// with the field map's unit codes, writes <base>-orig.csv and offers the run for review.
// A value that does not convert is logged and stored as its failure value; a row outside
// the 365-day year is skipped and counted in one log line. Returns true; every failure is
// thrown: RunError for an unusable field map (before the file is opened), InputError
// naming the file, the line and the text for a date that does not convert, and for a file
// without data rows. years (optional) receives, for each hour a row with a one-field date
// filled, the year of that date (the last row's, like its values), 0 elsewhere.
bool ReadCSVData(const std::string& path, const CsvFieldMap& fieldMap, StageContext& ctx,
                 std::vector<int16_t>* years = nullptr);

}  // namespace kestrum
