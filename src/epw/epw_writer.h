// The repaired year as an EPW file, for the other tools of the job (building simulators,
// PV tools). From an EPW source the source's own file is kept and only the fields the
// conversion changed are rewritten; from a CSV source a complete file is made from the
// site and the converted table.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>

#include "cleaning/repair_record.h"
#include "epw/epw_reader.h"
#include "format/formatter.h"
#include "run/hourly_table.h"
#include "run/run_state.h"

namespace kestrum {

// What the conversion made of the year.
struct EpwYearInputs {
  const HourlyTable& asRead;       // the table as the reader left it: the rows' own values
  const HourlyTable& converted;    // the table after cleaning, stored units
  const FormattedYear& formatted;  // what the formatter wrote for each hour
  const RepairRecord& repairs;     // what the cleaning pass repaired
  int32_t moistureIndicator = 1;   // of the run; 2: relative humidity
  SiteInfo site;                   // the run's site texts (they converted in the formatter)
};

// The EPW file of an EPW source, from the source's text. The header lines are kept, except:
// the leap-year field of "HOLIDAYS/DAYLIGHT SAVINGS" becomes "No", "COMMENTS 2" gets the
// repairs (counts per series, estimated direct normal) after its own text, and
// "DATA PERIODS" names one period of one row per hour from 1/1 to 12/31 (a missing
// HOLIDAYS or COMMENTS 2 line is added before DATA PERIODS). Then one row per hour of the
// 365-day year in order. Each row is the source row that landed on the hour, as the reader
// maps it (EpwHourIndex, then ShiftedHour around the year; rows of 29 February left out; of
// two rows on one hour the last, every taken field rewritten when the run averaged the
// rows of an hour, options.subhourly), with only these fields rewritten, in
// EPW units and decimals: dry bulb, dew point, relative humidity, global horizontal and
// wind where the converted value differs from the value as read (the repaired hours), the
// moisture field derived from the other two where either changed, direct normal where it
// was estimated (missing, or every hour with options.calcDirectNormal), and month, day
// and hour where the row landed on another hour. An hour no row landed on is written whole
// from the converted values (MakeEpwRow). Every other byte is the source's: an undamaged
// file's rows come out unchanged. sourceName names the file in an error. Throws
// InputError when a data row does not convert (the file changed since it was read).
// The text is handed to emit in pieces of about 64 kB, in order; the second form returns
// it whole.
using EpwPieces = std::function<void(std::string_view)>;
void RepairedEpwFromEpw(std::string_view source, const std::string& sourceName,
                        const EpwYearInputs& in, const EpwOptions& options, int timeShiftHours,
                        const EpwPieces& emit);
std::string RepairedEpwFromEpw(std::string_view source, const std::string& sourceName,
                               const EpwYearInputs& in, const EpwOptions& options,
                               int timeShiftHours = 0);

// RepairedEpwFromEpw of the file at path (InputError when it cannot be read).
void RepairedEpwFromEpwFile(const std::string& path, const EpwYearInputs& in,
                            const EpwOptions& options, int timeShiftHours, const EpwPieces& emit);

// What a CSV source adds to a made EPW file.
struct CsvEpwSource {
  std::string fileName;              // named in COMMENTS 1 (the name, without directories)
  std::span<const int16_t> years;    // the year each hour's row gave, 0 none; empty: none
  bool snowGiven = false;            // the field map assigns a snow flag column
  bool rainGiven = false;            // ... a rain flag column
};

// The year of a row of a made file where the source gives none.
inline constexpr int kEpwFallbackYear = 2005;

// A complete EPW file from the site and the converted table: LOCATION from the site,
// GROUND TEMPERATURES (the FT header's monthly values in deg C at 3.05 m, with the soil
// values that match its diffusivity), COMMENTS 1 naming the source file (and the year used
// when the file gives none), COMMENTS 2 the repairs, DATA PERIODS for the whole year; each
// row with the converted dry bulb, the formatter's dew point and relative humidity and
// station pressure, global and direct normal, the diffuse as global less direct normal
// times the cosine of the zenith (never below 0), wind speed and direction, the rain and
// snow flags as present-weather codes when the source gives them, and EPW's missing codes
// for every other field.
// Handed to emit in pieces, or returned whole.
void RepairedEpwFromCsv(const EpwYearInputs& in, const CsvEpwSource& csv, const EpwPieces& emit);
std::string RepairedEpwFromCsv(const EpwYearInputs& in, const CsvEpwSource& csv);

}  // namespace kestrum
