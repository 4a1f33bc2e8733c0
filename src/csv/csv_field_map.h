// The CSV field map: where the data rows of a CSV file start, how a row gives its
// date, which moisture and solar quantities the file carries and in which units, and the file
// column of every item. The item layout follows from the three choices.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace kestrum {

inline constexpr int kCsvSlots = 12;
// The file columns an assignment may name (the preview shows 1..63).
inline constexpr int kCsvMaxColumn = 255;

// DateInd
inline constexpr int32_t kDateOneField = 0;     // "1 Date Formatted Field"
inline constexpr int32_t kDateThreeFields = 1;  // "3 Fields: Mon, Day, Hr "
inline constexpr int32_t kDateNone = 2;         // "None (8760 rows req'd)"
// SolarInd
inline constexpr int32_t kSolarGlobal = 0;           // "Hor. Rad."
inline constexpr int32_t kSolarGlobalAndDirect = 1;  // "Hor + DN"
inline constexpr int32_t kSolarCloudCover = 2;       // "Cloud Cover": refused by the window

// The items a slot can hold.
enum class CsvItem {
  Date, Month, Day, Hour, DryBulb, DewPoint, WetBulb, RelHum,
  SolarHorizontal, SolarDirectNormal, WindSpeed, WindDirection, SnowFlag, RainFlag, CloudType,
};

// One value for every hour of an item: the moisture item, SolarDN, WindSpd or WindDir.
struct CsvConstant {
  CsvItem item;
  double value = 0;
  std::string text;  // as the user wrote it, for the warning
};

struct CsvFieldMap {
  int32_t firstRow = 1;    // FirstRow: line number (from 1) of the first data row
  int32_t dateInd = 1;     // DateInd
  int32_t moistInd = 1;    // MoistInd, the MoistureIndicator: 0 dew point, 1 wet bulb, 2 RH
  int32_t solarInd = 0;    // SolarInd
  uint8_t dbtUnits = 0;    // DBTunits: 0 deg F, 1 deg C
  uint8_t moistUnits = 0;  // MoistUnits: temperature 0 deg F, 1 deg C; RH 0 percent, 1 fraction
  uint8_t solUnits = 0;    // SolUnits: 0 W/m2, 1 Btu/hr-ft2 (both solar items)
  uint8_t windUnits = 0;   // WindUnits: 0 mph, 1 knots, 2 m/s
  // CSVgridCol1 .. CSVgridCol12: the file column of layout slot k (counted from 1 as the
  // field scanner counts fields), as decimal text; empty = not assigned.
  std::array<std::string, kCsvSlots> columns;
  // Subhourly: rows that land on one hour give it the last row's values (0) or their mean
  // (1); kSubhourlyLast, kSubhourlyMean of run/hour_placement.h.
  int32_t subhourly = 0;
  // TimeStamps, for the one-field date form: the date-time of a row marks the end of its
  // hour (0, kStampsEnding) or its beginning (1, kStampsBeginning: one hour is added).
  int32_t timeStamps = 0;
  // LastRow: line number of the last data row (notes may follow it); 0: the data rows run
  // to the end of the file.
  int32_t lastRow = 0;
  // Required items the file lacks, each given one value for every hour (in the unit the
  // field map states for it): a run's choice, not kept in the settings file.
  std::vector<CsvConstant> constants;
};

// TimeStamps
inline constexpr int32_t kStampsEnding = 0;
inline constexpr int32_t kStampsBeginning = 1;

// Whether an item may be given as a constant: never the dry bulb or the global horizontal
// radiation, from which the conversion derives the rest, nor the date items or the
// optional flags.
bool ConstantAllowed(CsvItem item);

// The constant the field map gives item (the moisture item under any of its three names);
// nullptr when none.
const CsvConstant* ConstantOf(const CsvFieldMap& fieldMap, CsvItem item);

struct CsvSlot {
  CsvItem item;
  const char* name;  // as the field window shows it: "Date", "DBTemp", ...
  bool required;     // "Req'd"; the snow, rain and cloud-type items are "Option"
};

// The ordered item list of the three choices: the date items ("Date"; or "Month", "Day",
// "Hour"; or none), "DBTemp", the moisture item ("DewPtT" for 0, "RelHum" for 2, "WetBlb"
// for every other value), "SolarHor", "SolarDN" when solarInd is 1, "WindSpd", "WindDir",
// "SnowFlag", "RainFlag", "CldType". Empty for a date form outside 0..2 or a solar choice
// outside 0..1, which no conversion accepts.
std::vector<CsvSlot> CsvLayout(int32_t dateInd, int32_t moistInd, int32_t solarInd);

// The slot (0-based) of item in the layout, or -1 when the layout has no such item.
int CsvSlotOf(const std::vector<CsvSlot>& layout, CsvItem item);

// True when the layout is not empty and the assignment of every required slot is a whole
// decimal number (the completeness rule of the field window), or the item has a constant.
bool CsvFieldMapComplete(const CsvFieldMap& fieldMap);

// The names of the required items (as the field window shows them: "WindDir") that make the
// field map incomplete, in slot order: neither a whole decimal number as their column nor a
// constant. Empty for an empty layout too, which no item can complete.
std::vector<std::string> CsvMissingRequired(const CsvFieldMap& fieldMap);

// The file column of every slot of the field map's layout (1..kCsvMaxColumn), 0 where
// an optional item is not assigned. Throws RunError, before anything is read, when the
// choices give no layout ("The CSV field specification's date form 7 is not ..."), when
// the rule for rows sharing an hour or the time-stamp choice is not 0 or 1, when an
// assignment is not a whole number or lies outside 1..255 (naming the slot and its item),
// or when a required item has neither a column nor a constant (naming the item), when a
// constant is given for an item the layout lacks or one that takes none, or when the last
// row lies before the first. Slots beyond the layout are not looked at.
std::vector<int> CsvColumnNumbers(const CsvFieldMap& fieldMap);

// The assignments of `from` carried over to the choices of `to`: each item keeps its column
// in the slot it has under to's layout; an item to's layout lacks (another moisture quantity,
// the date items of another date form) leaves its column behind, and an item new to it has
// none. to's other values stay.
CsvFieldMap CarryCsvColumns(const CsvFieldMap& from, CsvFieldMap to);

// The field map after a new CSV file is chosen (and at a first start): first row 1,
// three date fields, wet bulb, global horizontal only, every unit code 0, no assignments.
inline CsvFieldMap CsvResetFieldMap() { return CsvFieldMap{}; }

}  // namespace kestrum
