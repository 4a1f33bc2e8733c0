// One hourly row of an EPW file: the fields the conversion takes, converted to numbers.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "epw/epw_reader.h"

namespace kestrum {

// The fields of an EPW data row.
inline constexpr int kEpwRowFields = 35;

// EPW encodes a missing direct-normal radiation as 9999 (Wh/m2).
inline constexpr double kEpwMissingRadiation = 9999.0;
// EPW's other missing-value codes of the fields the conversion takes: 99.9 for a dry-bulb
// or dew-point temperature (deg C), 999 for relative humidity, wind direction and speed.
inline constexpr float kEpwMissingTemperature = 99.9f;
inline constexpr float kEpwMissingHumidityOrWind = 999.0f;

// The taken fields of a row, in the file's units (deg C, %, Wh/m2, degrees, m/s).
struct EpwRow {
  int64_t month = 0;           // field 2
  int64_t day = 0;             // field 3
  int64_t hour = 0;            // field 4, 1..24
  float dryBulbC = 0;          // field 7
  float moisture = 0;          // field 8 (dew point, deg C) or 9 (relative humidity, %)
  float globalHorizontal = 0;  // field 14
  float directNormal = 0;      // field 15, when taken
  float windDirection = 0;     // field 21
  float windSpeed = 0;         // field 22
};

// Why a row did not convert: the field's text and what the field holds ("month", ...).
// A row with too many fields has an empty `what` and says everything in `reason`.
struct EpwRowProblem {
  std::string text;
  std::string what;
  std::string reason;  // "is not a whole number", "is not a number", "is out of range"
};

// Splits line with NextField (a quoted field swallows its delimiter) and converts the taken
// fields: dew point unless options.useRelHum, relative humidity if it is set, direct
// normal unless options.calcDirectNormal. A missing field is an empty text and does not
// convert. False, with problem filled, at the first field that does not convert, or when a
// field after the 35th is not empty.
bool ParseEpwRow(std::string_view line, const EpwOptions& options, EpwRow& row,
                 EpwRowProblem& problem);

// Hour of the 365-day year of the row's month, day and hour, or 0 (the row is not stored)
// when the month is outside 1..12, the day outside 1..the month's length or the hour
// outside 1..24. 29 February is a date: it falls on the hours of 1 March, as in a leap-year
// file whose 1 March rows follow and overwrite it.
int32_t EpwHourIndex(const EpwRow& row);

// The row is dated 29 February.
bool IsLeapDay(const EpwRow& row);

}  // namespace kestrum
