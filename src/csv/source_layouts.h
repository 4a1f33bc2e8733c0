// The layouts of the weather files analysts download, as data: for each one where its
// header line and first data row are, the headers of every quantity and the units they
// come in, the date form and the time rules (stamps that begin or end their hour, local or
// UTC time, rows that share an hour), where the site is stated and where the data rows end.
// One matcher (layout_match.h) reads any file against this table; no layout has code of
// its own.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "csv/csv_field_map.h"

namespace kestrum {

// The clock of a file's stamps.
enum class TimeBase { Unknown, Local, Utc };

// "local", "UTC", "unknown".
const char* TimeBaseName(TimeBase base);

// How a file states its site.
enum class SiteForm {
  // One line "station, name, state, time zone, latitude, longitude, elevation"; the
  // description is the name.
  StationLine,
  // A line of names over a line of values ("Latitude" over "40.53"); the names of the
  // values' units stand there too ("Temperature Units" over "c").
  NamedValues,
  // Lines "Latitude (decimal degrees): 45.000"; no time zone (longitude / 15, rounded).
  KeyLines,
};

// How a row's date and time are written, for the stamps a file shows (inspect, the time
// step); the conversion itself takes the field map's date form.
enum class StampForm {
  DateAndTime,  // "MM/DD/YYYY" and "HH:MM" (01:00 .. 24:00) in two columns
  FiveFields,   // year, month, day, hour (0..23) and minute columns
  Compact,      // one column "YYYYMMDD:HHMM"
  Iso,          // one column "YYYY-MM-DD HH:MM" or "YYYY-MM-DDTHH:MM" (seconds may follow)
};

// The quantity whose unit an item's column is in.
enum class UnitKind { None, Temperature, Humidity, Irradiance, Speed, Direction };

UnitKind UnitKindOf(CsvItem item);

// The field map's unit code of a unit as a header or a metadata line writes it ("C",
// "W/m^2", "m/s", compared by HeaderKey); -1 when it is no spelling of the kind's units.
// Every spelling of a direction (degrees) is 0, the only one.
int UnitCode(UnitKind kind, std::string_view spelling);

// The units a kind's codes stand for, for messages ("C or F").
const char* UnitChoices(UnitKind kind);

// A header that names an item, compared by HeaderKey with the whole header or with the
// header less a unit in parentheses at its end ("Dry-bulb" heads "Dry-bulb (C)").
struct ItemHeader {
  CsvItem item;
  const char* name;
  // The header as the layout's files write it ("Dry-bulb (C)"), for the message that a
  // file lacks it; nullptr for other spellings of an item.
  const char* written = nullptr;
};

// The units of a layout's columns where neither the header nor a metadata line gives one.
struct LayoutUnits {
  uint8_t temperature = 1;  // C
  uint8_t humidity = 0;     // percent
  uint8_t irradiance = 0;   // W/m2
  uint8_t speed = 2;        // m/s
};

struct SourceLayout {
  const char* name = "";  // as --layout takes it: "tmy3"
  const char* kind = "";  // "a TMY3 file", for the offer and for messages
  // The header line: line headerLine, or (headerLine 0) the first line whose first field
  // is headerStart. The first data row follows it.
  int headerLine = 0;
  const char* headerStart = "";
  // Headers the header line holds in every file of the layout: what tells it apart.
  std::vector<const char*> signature;
  // Site: the form, its line (StationLine: that line; NamedValues: the names line, the
  // values below it; KeyLines: searched above the header line).
  SiteForm siteForm = SiteForm::StationLine;
  int siteLine = 0;
  // Date: the field map's date form and its date headers (in slot order), the stamps as
  // the rows write them, and the headers of those.
  int32_t dateInd = kDateNone;
  std::vector<const char*> dateHeaders;
  StampForm stampForm = StampForm::DateAndTime;
  std::vector<const char*> stampHeaders;
  int32_t timeStamps = kStampsEnding;  // or kStampsBeginning (one-field dates)
  // NamedValues files: local unless their "Time Zone" is 0 and their "Local Time Zone"
  // is not.
  TimeBase timeBase = TimeBase::Local;
  int32_t subhourly = 0;         // kSubhourlyLast or kSubhourlyMean
  bool endsAtBlankLine = false;  // the data rows end at the first blank line (notes follow)
  // The quantities' headers, the preferred first where an item has several.
  std::vector<ItemHeader> items;
  LayoutUnits units;
  // NamedValues: each column's unit from the metadata value named "<header> Units".
  bool unitsFromMetadata = false;
};

// Every named layout, in the order auto detection tries them.
const std::vector<SourceLayout>& SourceLayouts();

// The layout of that name (compared without regard to case); nullptr when there is none.
const SourceLayout* FindSourceLayout(std::string_view name);

}  // namespace kestrum
