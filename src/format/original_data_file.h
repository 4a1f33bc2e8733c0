// The original-data file "<base>-orig.csv": the values of a run as read, in stored units,
// before cleaning, for the review charts. Also the hour-row layout it shares with the
// cleaning snapshot.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "format/text_sink.h"
#include "run/hourly_table.h"

namespace kestrum {

enum class OriginalDataSource { Epw, Csv };

// The two header lines (without line ends) for the reader and the moisture indicator.
// EPW: relative humidity when the indicator is 2, dew point otherwise. CSV: 0 dew point,
// 1 wet bulb, 2 relative humidity, and no header lines at all for any other value.
// Header line 2 names W/m2 with the single byte 0xB2 for the superscript two.
std::vector<std::string> OriginalDataHeader(OriginalDataSource source, int32_t moistureIndicator);

// The value columns: EPW: dry bulb, moisture, global horizontal, wind speed, wind direction
// and, when directNormalColumn, direct normal. CSV: those six, then snow, rain, cloud type.
std::vector<Series> OriginalDataColumns(OriginalDataSource source, bool directNormalColumn);

// One row for hour of year h (1..8760): month, day and hour as plain integers, then for
// each column a comma and the value with 2 decimals right-aligned in 8 characters (wider
// values written in full). No line end. Throws RunError for a value that is not finite.
void AppendHourRow(TextSink& out, const HourlyTable& table, int h,
                   std::span<const Series> columns);

// Creates or replaces path with the header lines and the 8760 hour rows in calendar order,
// each line ended by CR LF. Throws RunError when the file cannot be written or a value is
// not a finite number (naming the file and the hour).
void WriteHourRowsFile(const std::string& path, const std::vector<std::string>& header,
                       const HourlyTable& table, std::span<const Series> columns);

// The original-data file of a run. directNormalColumn is false for an EPW run whose direct
// normal is estimated for every hour; a CSV run always writes nine value columns.
void WriteOriginalDataFile(const std::string& path, const HourlyTable& table,
                           OriginalDataSource source, int32_t moistureIndicator,
                           bool directNormalColumn);

}  // namespace kestrum
