// The hourly rows of a CSV file into the hourly table, guided by the field specification,
// and the original-data file in its CSV form.
#pragma once

#include <string>

#include "csv/csv_spec.h"
#include "run/stage_context.h"

namespace kestrum {

// Reads the data rows of path from spec.firstRow on into the table, normalises units with the
// specification's unit codes, writes <base>-orig.csv and offers the run for review. Returns
// true; every failure is thrown (InputError naming the file, the line and the text).
bool ReadCSVData(const std::string& path, const CsvFieldSpec& spec, StageContext& ctx);

}  // namespace kestrum
