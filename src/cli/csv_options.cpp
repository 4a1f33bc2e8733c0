#include "cli/csv_options.h"

#include <CLI/CLI.hpp>

#include <filesystem>
#include <limits>
#include <map>
#include <vector>

#include "cli/option_checks.h"
#include "csv/tmy3_layout.h"
#include "format/site_parameters.h"
#include "run/hourly_table.h"
#include "run/run_error.h"
#include "run/text_fields.h"

namespace kestrum::cli {

namespace {

using Codes = std::map<std::string, int32_t>;

const Codes kDateForms = {
    {"serial", kDateOneField}, {"mdh", kDateThreeFields}, {"none", kDateNone}};
const Codes kMoistures = {
    {"dew-point", kMoistureDewPoint}, {"wet-bulb", kMoistureWetBulb}, {"rel-hum", kMoistureRelHum}};
const Codes kSolars = {{"global", kSolarGlobal}, {"global+dn", kSolarGlobalAndDirect}};
const Codes kTempUnits = {{"F", 0}, {"C", 1}};
const Codes kMoistUnits = {{"F", 0}, {"C", 1}, {"percent", 0}, {"fraction", 1}};
const Codes kSolarUnits = {{"W/m2", 0}, {"Btu", 1}};
const Codes kWindUnits = {{"mph", 0}, {"knots", 1}, {"m/s", 2}};
const Codes kTimeStamps = {{"ending", kStampsEnding}, {"beginning", kStampsBeginning}};

std::vector<std::string> Names(const Codes& codes) {
  std::vector<std::string> names;
  for (const auto& entry : codes) names.push_back(entry.first);
  return names;
}

// A choice given by one of its names (CLI11 has turned it into the canonical spelling).
void AddChoice(CLI::App& app, const char* flag, std::string& target, const Codes& codes,
               const char* help) {
  app.add_option(flag, target, help)->transform(CLI::IsMember(Names(codes), CLI::ignore_case));
}

void AddText(CLI::App& app, const char* flag, std::optional<std::string>& target,
             const char* help) {
  app.add_option_function<std::string>(flag, [&target](const std::string& v) { target = v; }, help);
}

const char* DateFormName(int32_t d) {
  return d == kDateOneField ? "serial" : d == kDateThreeFields ? "mdh" : "none";
}

std::string LayoutText(const CsvFieldMap& fieldMap) {
  std::string names;
  for (const CsvSlot& slot : CsvLayout(fieldMap.dateInd, fieldMap.moistInd, fieldMap.solarInd)) {
    names += (names.empty() ? "" : ",") + std::string(slot.name);
  }
  return names;
}

// --columns C1,C2,...: the assignments in the layout's slot order; an empty item and a
// missing tail are not assigned.
void SetColumns(CsvFieldMap& fieldMap, const std::string& list) {
  const std::vector<CsvSlot> layout = CsvLayout(fieldMap.dateInd, fieldMap.moistInd, fieldMap.solarInd);
  std::vector<std::string> items;
  size_t start = 0;
  for (;;) {
    const size_t comma = list.find(',', start);
    items.push_back(list.substr(start, comma - start));
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
  if (items.size() > layout.size()) {
    throw CsvUsageError("--columns lists " + std::to_string(items.size()) +
                        " columns, but the layout of date form " + DateFormName(fieldMap.dateInd) +
                        " has " + std::to_string(layout.size()) + " slots: " + LayoutText(fieldMap) +
                        ".");
  }
  fieldMap.columns = {};
  for (size_t i = 0; i < items.size(); ++i) {
    const std::string item = items[i];
    if (item.find_first_not_of(" \t") == std::string::npos) continue;
    int64_t column = 0;
    if (!ParseWholeNumber(item, column) || column < 1 || column > kCsvMaxColumn) {
      throw CsvUsageError("--columns item " + std::to_string(i + 1) + " (" + layout[i].name +
                          ") is \"" + item + "\", not a column number 1.." +
                          std::to_string(kCsvMaxColumn) + ".");
    }
    fieldMap.columns[i] = std::to_string(column);
  }
}

void CheckMoistureUnit(const CsvCliOptions& o, const CsvFieldMap& fieldMap) {
  if (o.moistUnit.empty()) return;
  const bool humidityUnit = o.moistUnit == "percent" || o.moistUnit == "fraction";
  const bool humidity = fieldMap.moistInd == kMoistureRelHum;
  if (humidityUnit != humidity) {
    throw CsvUsageError("--moist-unit " + o.moistUnit + " is a unit of " +
                        (humidityUnit ? "relative humidity" : "temperature") +
                        ", but the moisture column holds " +
                        (humidity ? "relative humidity (use percent or fraction)."
                                  : "a temperature (use F or C)."));
  }
}

std::string Cut(const std::string& text) { return text.substr(0, kMaxSettingText); }

}  // namespace

std::string CsvCliOptions::FirstGiven() const {
  const std::pair<bool, const char*> given[] = {
      {!layout.empty(), "--layout"},        {firstRow.has_value(), "--first-row"},
      {!dateForm.empty(), "--date-form"},   {!moisture.empty(), "--moisture"},
      {!solar.empty(), "--solar"},          {!tempUnit.empty(), "--temp-unit"},
      {!moistUnit.empty(), "--moist-unit"}, {!solarUnit.empty(), "--solar-unit"},
      {!windUnit.empty(), "--wind-unit"},   {columns.has_value(), "--columns"},
      {!timeStamps.empty(), "--timestamps"}, {siteDesc.has_value(), "--site-desc"},
      {lat.has_value(), "--lat"},
      {lon.has_value(), "--lon"},           {tz.has_value(), "--tz"},
      {elev.has_value(), "--elev"},
  };
  for (const auto& [isGiven, name] : given) {
    if (isGiven) return name;
  }
  return "";
}

void AddCsvOptions(CLI::App& app, CsvCliOptions& o) {
  app.add_option("--format", o.format,
                 "Convert the input as epw or csv (default: by its extension, .csv any case "
                 "is CSV, every other one EPW)")
      ->transform(CLI::IsMember({"epw", "csv"}, CLI::ignore_case));
  app.add_option("--layout", o.layout,
                 "CSV: fill the whole field specification and the site for an NSRDB TMY3 CSV "
                 "file as distributed (columns found by their headers on line 2, site from "
                 "line 1)")
      ->transform(CLI::IsMember({"tmy3"}, CLI::ignore_case));
  app.add_option_function<int32_t>(
         "--first-row", [&o](int32_t v) { o.firstRow = v; },
         "CSV: line number (from 1) of the first data row")
      ->check(CLI::Range(1, std::numeric_limits<int32_t>::max()));
  AddChoice(app, "--date-form", o.dateForm, kDateForms,
            "CSV: how a row gives its hour: serial (one date-time field: a serial number of "
            "days since 30 December 1899, or an ISO 8601 date and time), mdh (month, day, "
            "hour fields), none (8760 rows in hour order)");
  AddChoice(app, "--moisture", o.moisture, kMoistures, "CSV: the moisture column's quantity");
  AddChoice(app, "--solar", o.solar, kSolars,
            "CSV: global horizontal only, or with direct normal");
  AddChoice(app, "--temp-unit", o.tempUnit, kTempUnits, "CSV: dry-bulb unit");
  AddChoice(app, "--moist-unit", o.moistUnit, kMoistUnits,
            "CSV: moisture unit, F or C for a dew point or wet bulb, percent or fraction "
            "(0-1) for relative humidity");
  AddChoice(app, "--solar-unit", o.solarUnit, kSolarUnits,
            "CSV: unit of both solar columns (Btu: Btu/hr-ft2)");
  AddChoice(app, "--wind-unit", o.windUnit, kWindUnits, "CSV: wind-speed unit");
  AddChoice(app, "--timestamps", o.timeStamps, kTimeStamps,
            "CSV, one-field date form: a row's date and time ends its hour (ending, the "
            "default: 01:00 is hour 1, 24:00 or 0:00 the day's hour 24) or begins it "
            "(beginning: 00:00 is hour 1, 23:00 hour 24)");
  AddText(app, "--columns", o.columns,
          "CSV: the file column (from 1) of each item in layout order, e.g. "
          "1,2,3,4,5,6,7,8 for Month,Day,Hour,DBTemp,moisture,SolarHor,WindSpd,WindDir; an "
          "empty item or a missing tail is not assigned (SnowFlag, RainFlag, CldType are "
          "optional)");
  AddText(app, "--site-desc", o.siteDesc,
          "CSV: site description (its first 25 characters head the FT file)");
  AddText(app, "--lat", o.lat, "CSV: site latitude, degrees north");
  AddText(app, "--lon", o.lon, "CSV: site longitude, degrees east (west negative)");
  AddText(app, "--tz", o.tz, "CSV: site time zone, hours from Greenwich (west negative)");
  AddText(app, "--elev", o.elev, "CSV: site elevation, metres");
}

bool IsCsvConversion(const std::string& input, const CsvCliOptions& options,
                     const std::string& epwOption) {
  bool csv = false;
  if (!options.format.empty()) {
    csv = options.format == "csv";
  } else {
    csv = ToUpperAscii(std::filesystem::path(input).extension().string()) == ".CSV";
  }
  const std::string csvOption = options.FirstGiven();
  if (!csv && !csvOption.empty()) {
    throw CsvUsageError(csvOption + " applies to CSV input only; " + input +
                        " converts as EPW (use --format csv to convert it as CSV).");
  }
  if (csv && !epwOption.empty()) {
    throw CsvUsageError(epwOption + " applies to EPW input only; " + input + " converts as CSV.");
  }
  return csv;
}

CsvRun ResolveCsvRun(const std::string& input, const CsvCliOptions& o, const Settings* settings) {
  CsvRun run;
  CsvFieldMap stored = settings != nullptr ? settings->csvFieldMap : CsvResetFieldMap();
  if (settings != nullptr) run.site = settings->csvSite;
  std::optional<Tmy3Header> tmy3;
  if (!o.layout.empty()) {
    tmy3 = ReadTmy3Header(input);
    stored = Tmy3Choices();
    run.site = tmy3->site;
  }

  // The choices, then the columns that go with them.
  CsvFieldMap& fieldMap = run.fieldMap;
  fieldMap = stored;
  if (o.firstRow) fieldMap.firstRow = *o.firstRow;
  if (!o.dateForm.empty()) fieldMap.dateInd = kDateForms.at(o.dateForm);
  if (!o.moisture.empty()) fieldMap.moistInd = kMoistures.at(o.moisture);
  if (!o.solar.empty()) fieldMap.solarInd = kSolars.at(o.solar);
  if (tmy3 && fieldMap.moistInd == kMoistureWetBulb && !o.columns) {
    throw CsvUsageError("--layout tmy3: a TMY3 file has no wet-bulb column; choose --moisture "
                        "dew-point or rel-hum, or give the columns with --columns.");
  }
  if (tmy3) {
    // The file's own columns and units for the quantities chosen.
    const CsvFieldMap own = Tmy3FieldMap(*tmy3, fieldMap.moistInd, fieldMap.solarInd);
    fieldMap.moistUnits = own.moistUnits;
    fieldMap = CarryCsvColumns(own, fieldMap);
  } else {
    fieldMap = CarryCsvColumns(stored, fieldMap);
  }
  if (o.columns) SetColumns(fieldMap, *o.columns);
  if (!o.tempUnit.empty()) fieldMap.dbtUnits = static_cast<uint8_t>(kTempUnits.at(o.tempUnit));
  if (!o.moistUnit.empty()) fieldMap.moistUnits = static_cast<uint8_t>(kMoistUnits.at(o.moistUnit));
  if (!o.solarUnit.empty()) fieldMap.solUnits = static_cast<uint8_t>(kSolarUnits.at(o.solarUnit));
  if (!o.windUnit.empty()) fieldMap.windUnits = static_cast<uint8_t>(kWindUnits.at(o.windUnit));
  CheckMoistureUnit(o, fieldMap);
  if (!o.timeStamps.empty()) {
    if (fieldMap.dateInd != kDateOneField) {
      throw CsvUsageError("--timestamps applies to the one-field date form (--date-form "
                          "serial) only; this field specification has the date form " +
                          std::string(DateFormName(fieldMap.dateInd)) + ".");
    }
    fieldMap.timeStamps = kTimeStamps.at(o.timeStamps);
  }

  if (o.siteDesc) run.site.description = Cut(*o.siteDesc);
  if (o.lat) run.site.latitude = Cut(*o.lat);
  if (o.lon) run.site.longitude = Cut(*o.lon);
  if (o.tz) run.site.timeZone = Cut(*o.tz);
  if (o.elev) run.site.elevation = Cut(*o.elev);

  // Refused here, before the run writes anything.
  CheckResolvedCsvRun(fieldMap, run.site, o, tmy3 ? &*tmy3 : nullptr);
  return run;
}

}  // namespace kestrum::cli
