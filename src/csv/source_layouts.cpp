#include "csv/source_layouts.h"

#include "csv/csv_headers.h"
#include "run/hour_placement.h"
#include "run/text_fields.h"

namespace kestrum {

namespace {

struct UnitSpelling {
  UnitKind kind;
  const char* key;  // as HeaderKey gives it
  int code;
};

// The spellings of units that weather files use, with the field map's code of each.
constexpr UnitSpelling kUnitSpellings[] = {
    {UnitKind::Temperature, "C", 1},
    {UnitKind::Temperature, "DEGC", 1},
    {UnitKind::Temperature, "DEGREESC", 1},
    {UnitKind::Temperature, "CELSIUS", 1},
    {UnitKind::Temperature, "DEGREECELSIUS", 1},
    {UnitKind::Temperature, "DEGREESCELSIUS", 1},
    {UnitKind::Temperature, "F", 0},
    {UnitKind::Temperature, "DEGF", 0},
    {UnitKind::Temperature, "DEGREESF", 0},
    {UnitKind::Temperature, "FAHRENHEIT", 0},
    {UnitKind::Humidity, "%", 0},
    {UnitKind::Humidity, "PERCENT", 0},
    {UnitKind::Humidity, "FRACTION", 1},
    {UnitKind::Humidity, "0-1", 1},
    {UnitKind::Irradiance, "W/M2", 0},
    {UnitKind::Irradiance, "WM-2", 0},
    {UnitKind::Irradiance, "BTU/HR-FT2", 1},
    {UnitKind::Irradiance, "BTU/H-FT2", 1},
    {UnitKind::Speed, "M/S", 2},
    {UnitKind::Speed, "MPS", 2},
    {UnitKind::Speed, "MS-1", 2},
    {UnitKind::Speed, "MPH", 0},
    {UnitKind::Speed, "KNOTS", 1},
    {UnitKind::Speed, "KTS", 1},
    {UnitKind::Speed, "KT", 1},
    {UnitKind::Speed, "KN", 1},
    {UnitKind::Direction, "", 0},
    {UnitKind::Direction, "DEGREES", 0},
    {UnitKind::Direction, "DEGREE", 0},
    {UnitKind::Direction, "DEG", 0},
};

std::vector<SourceLayout> MakeLayouts() {
  using enum CsvItem;
  std::vector<SourceLayout> layouts;

  // NSRDB TMY3 CSV: line 1 the station, line 2 the headers with their units in
  // parentheses, then the 8760 hours in order.
  SourceLayout tmy3;
  tmy3.name = "tmy3";
  tmy3.kind = "a TMY3 file";
  tmy3.headerLine = 2;
  tmy3.headerStart = "";
  tmy3.signature = {"Date (MM/DD/YYYY)", "Time (HH:MM)"};
  tmy3.siteForm = SiteForm::StationLine;
  tmy3.siteLine = 1;
  tmy3.dateInd = kDateNone;
  tmy3.stampForm = StampForm::DateAndTime;
  tmy3.stampHeaders = {"Date (MM/DD/YYYY)", "Time (HH:MM)"};
  tmy3.timeStamps = kStampsEnding;
  tmy3.timeBase = TimeBase::Local;
  tmy3.subhourly = kSubhourlyLast;
  tmy3.endsAtBlankLine = false;
  tmy3.items = {{DryBulb, "Dry-bulb", "Dry-bulb (C)"},
                {DryBulb, "Dry bulb"},
                {DewPoint, "Dew-point", "Dew-point (C)"},
                {DewPoint, "Dew point"},
                {RelHum, "RHum", "RHum (%)"},
                {SolarHorizontal, "GHI", "GHI (W/m^2)"},
                {SolarDirectNormal, "DNI", "DNI (W/m^2)"},
                {WindSpeed, "Wspd", "Wspd (m/s)"},
                {WindDirection, "Wdir", "Wdir (degrees)"}};
  tmy3.unitsFromMetadata = false;
  layouts.push_back(tmy3);

  // NSRDB PSM3 and PSM4 CSV: line 1 the names of the site's values and units, line 2 the
  // values, line 3 the headers; rows stamped year, month, day, hour 0..23 and minute,
  // hourly or more often, in local standard time or (Time Zone 0) in UTC.
  SourceLayout psm;
  psm.name = "psm";
  psm.kind = "an NSRDB PSM file";
  psm.headerLine = 3;
  psm.headerStart = "";
  psm.signature = {"Year", "Month", "Day", "Hour"};
  psm.siteForm = SiteForm::NamedValues;
  psm.siteLine = 1;
  psm.dateInd = kDateThreeFields;
  psm.dateHeaders = {"Month", "Day", "Hour"};
  psm.stampForm = StampForm::FiveFields;
  psm.stampHeaders = {"Year", "Month", "Day", "Hour", "Minute"};
  psm.timeStamps = kStampsEnding;
  psm.timeBase = TimeBase::Local;
  psm.subhourly = kSubhourlyMean;
  psm.endsAtBlankLine = false;
  psm.items = {{DryBulb, "Temperature", "Temperature"},
               {DewPoint, "Dew Point", "Dew Point"},
               {RelHum, "Relative Humidity", "Relative Humidity"},
               {SolarHorizontal, "GHI", "GHI"},
               {SolarDirectNormal, "DNI", "DNI"},
               {WindSpeed, "Wind Speed", "Wind Speed"},
               {WindDirection, "Wind Direction", "Wind Direction"}};
  psm.unitsFromMetadata = true;
  layouts.push_back(psm);

  // PVGIS typical year CSV: "Latitude (decimal degrees): 45.000" lines and a table of the
  // months' years, the headers, 8760 rows stamped YYYYMMDD:HHMM in UTC at the start of
  // their hour, a blank line and notes on the columns.
  SourceLayout pvgis;
  pvgis.name = "pvgis";
  pvgis.kind = "a PVGIS TMY file";
  pvgis.headerLine = 0;
  pvgis.headerStart = "time(UTC)";
  pvgis.signature = {"time(UTC)"};
  pvgis.siteForm = SiteForm::KeyLines;
  pvgis.siteLine = 0;
  pvgis.dateInd = kDateOneField;
  pvgis.dateHeaders = {"time(UTC)"};
  pvgis.stampForm = StampForm::Compact;
  pvgis.stampHeaders = {"time(UTC)"};
  pvgis.timeStamps = kStampsBeginning;
  pvgis.timeBase = TimeBase::Utc;
  pvgis.subhourly = kSubhourlyLast;
  pvgis.endsAtBlankLine = true;
  pvgis.items = {{DryBulb, "T2m", "T2m"},
                 {RelHum, "RH", "RH"},
                 {SolarHorizontal, "G(h)", "G(h)"},
                 {SolarDirectNormal, "Gb(n)", "Gb(n)"},
                 {WindSpeed, "WS10m", "WS10m"},
                 {WindDirection, "WD10m", "WD10m"}};
  pvgis.unitsFromMetadata = false;
  layouts.push_back(pvgis);
  return layouts;
}

}  // namespace

const char* TimeBaseName(TimeBase base) {
  switch (base) {
    case TimeBase::Local: return "local";
    case TimeBase::Utc: return "UTC";
    case TimeBase::Unknown: break;
  }
  return "unknown";
}

UnitKind UnitKindOf(CsvItem item) {
  switch (item) {
    case CsvItem::DryBulb:
    case CsvItem::DewPoint:
    case CsvItem::WetBulb: return UnitKind::Temperature;
    case CsvItem::RelHum: return UnitKind::Humidity;
    case CsvItem::SolarHorizontal:
    case CsvItem::SolarDirectNormal: return UnitKind::Irradiance;
    case CsvItem::WindSpeed: return UnitKind::Speed;
    case CsvItem::WindDirection: return UnitKind::Direction;
    default: return UnitKind::None;
  }
}

int UnitCode(UnitKind kind, std::string_view spelling) {
  const std::string key = HeaderKey(spelling);
  for (const UnitSpelling& u : kUnitSpellings) {
    if (u.kind == kind && key == u.key) return u.code;
  }
  return -1;
}

const char* UnitChoices(UnitKind kind) {
  switch (kind) {
    case UnitKind::Temperature: return "C or F";
    case UnitKind::Humidity: return "% or a fraction";
    case UnitKind::Irradiance: return "W/m2 or Btu/hr-ft2";
    case UnitKind::Speed: return "m/s, mph or knots";
    case UnitKind::Direction: return "degrees";
    case UnitKind::None: break;
  }
  return "none";
}

const std::vector<SourceLayout>& SourceLayouts() {
  static const std::vector<SourceLayout> layouts = MakeLayouts();
  return layouts;
}

const SourceLayout* FindSourceLayout(std::string_view name) {
  const std::string wanted = ToUpperAscii(name);
  for (const SourceLayout& layout : SourceLayouts()) {
    if (ToUpperAscii(layout.name) == wanted) return &layout;
  }
  return nullptr;
}

}  // namespace kestrum
