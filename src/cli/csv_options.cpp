#include "cli/csv_options.h"

#include <CLI/CLI.hpp>

#include <filesystem>
#include <limits>
#include <map>
#include <vector>

#include "cli/option_checks.h"
#include "cli/csv_columns.h"
#include "csv/layout_match.h"
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
      {!timeStamps.empty(), "--timestamps"}, {headerRow.has_value(), "--header-row"},
      {lastRow.has_value(), "--last-row"},  {!constants.empty(), "--constant"},
      {siteDesc.has_value(), "--site-desc"},
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
                 "CSV: read the file by the layout of its source, which fills the field map, "
                 "the site and the time rules (each flag given beside it overrides one value): "
                 "tmy3 (NSRDB TMY3 CSV), psm (NSRDB PSM3 or PSM4 CSV, hourly or half-hourly), "
                 "pvgis (PVGIS TMY CSV), or auto (the layout its content shows; an EPW file "
                 "converts as EPW)")
      ->transform(CLI::IsMember({"tmy3", "psm", "pvgis", "auto"}, CLI::ignore_case));
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
          "CSV: the file column of each item in layout order, by number (from 1) or by its "
          "header on the line above the first data row (case and blanks aside), e.g. "
          "1,2,3,4,5,6,7,8 or \"Month,Day,Hour,Temperature,Dew Point,GHI,Wind Speed,Wind "
          "Direction\" for Month,Day,Hour,DBTemp,moisture,SolarHor,WindSpd,WindDir; an "
          "empty item or a missing tail is not assigned (SnowFlag, RainFlag, CldType are "
          "optional)");
  app.add_option_function<int32_t>(
         "--header-row", [&o](int32_t v) { o.headerRow = v; },
         "CSV: the line whose headers --columns names (default: the line above the first "
         "data row)")
      ->check(CLI::Range(1, std::numeric_limits<int32_t>::max()));
  app.add_option_function<int32_t>(
         "--last-row", [&o](int32_t v) { o.lastRow = v; },
         "CSV: line number of the last data row; the lines after it (notes) are not read "
         "(0, the default: the data rows run to the end of the file)")
      ->check(CLI::Range(0, std::numeric_limits<int32_t>::max()));
  app.add_option("--constant", o.constants,
                 "CSV: ITEM=VALUE, repeatable: one value for every hour of a required item the "
                 "file lacks, in the unit the field map gives it (DewPtT, WetBlb, RelHum, "
                 "SolarDN, WindSpd, WindDir; e.g. --constant WindDir=0); warned in every "
                 "channel")
      ->expected(1)
      ->take_all();
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
  const bool autoLayout = options.layout == "auto";
  if (!options.format.empty()) {
    csv = options.format == "csv";
  } else if (autoLayout) {
    csv = !LooksLikeEpw(input);
  } else {
    csv = ToUpperAscii(std::filesystem::path(input).extension().string()) == ".CSV";
  }
  CsvCliOptions others = options;
  if (autoLayout) others.layout.clear();  // auto applies to EPW input as well
  const std::string csvOption = others.FirstGiven();
  if (!csv && !csvOption.empty()) {
    throw CsvUsageError(csvOption + " applies to CSV input only; " + input +
                        " converts as EPW (use --format csv to convert it as CSV).");
  }
  if (csv && !epwOption.empty()) {
    throw CsvUsageError(epwOption + " applies to EPW input only; " + input + " converts as CSV.");
  }
  return csv;
}

namespace {

// The layout --layout names, or the one auto finds (nothing when it finds none).
std::optional<LayoutMatch> LayoutOf(const std::string& input, const CsvCliOptions& o,
                                    const Settings* settings) {
  if (o.layout.empty()) return std::nullopt;
  if (o.layout != "auto") return MatchLayout(input, o.layout);
  std::optional<LayoutMatch> found = DetectLayout(input);
  if (!found && settings == nullptr && !o.columns) {
    throw InputError(input + " is of no layout kestrum-cli knows (a TMY3, NSRDB PSM or PVGIS TMY "
                     "file, or an EPW file): give its field map with --columns and the other "
                     "CSV flags (kestrum-cli inspect shows its columns).");
  }
  return found;
}

}  // namespace

CsvRun ResolveCsvRun(const std::string& input, const CsvCliOptions& o, const Settings* settings) {
  CsvRun run;
  CsvFieldMap stored = settings != nullptr ? settings->csvFieldMap : CsvResetFieldMap();
  if (settings != nullptr) run.site = settings->csvSite;
  run.layout = LayoutOf(input, o, settings);
  const LayoutMatch* layout = run.layout ? &*run.layout : nullptr;
  if (layout != nullptr) {
    stored = layout->fieldMap;
    run.site = layout->site;
    run.utcStamps = layout->timeBase == TimeBase::Utc;
  }

  // The choices, then the columns that go with them.
  CsvFieldMap& fieldMap = run.fieldMap;
  fieldMap = stored;
  if (o.firstRow) fieldMap.firstRow = *o.firstRow;
  if (o.lastRow) fieldMap.lastRow = *o.lastRow;
  if (!o.dateForm.empty()) fieldMap.dateInd = kDateForms.at(o.dateForm);
  if (!o.moisture.empty()) fieldMap.moistInd = kMoistures.at(o.moisture);
  if (!o.solar.empty()) fieldMap.solarInd = kSolars.at(o.solar);
  fieldMap.constants.clear();
  SetConstants(fieldMap, o.constants, !o.moisture.empty(), !o.solar.empty());
  if (layout != nullptr && fieldMap.moistInd == kMoistureWetBulb && !o.columns &&
      ConstantOf(fieldMap, CsvItem::WetBulb) == nullptr) {
    throw CsvUsageError("--layout " + std::string(layout->name) + ": " + layout->layout->kind +
                        " has no wet-bulb column; choose --moisture dew-point or rel-hum, or "
                        "give the columns with --columns.");
  }
  if (layout != nullptr) {
    // The file's own columns and units for the quantities chosen.
    const CsvFieldMap own = LayoutFieldMap(*layout, fieldMap.moistInd, fieldMap.solarInd);
    fieldMap.moistUnits = own.moistUnits;
    fieldMap = CarryCsvColumns(own, fieldMap);
    std::vector<MissingItem> missing = MissingItems(*layout, fieldMap.moistInd, fieldMap.solarInd);
    std::erase_if(missing, [&](const MissingItem& m) {
      return o.columns || ConstantOf(fieldMap, m.item) != nullptr;
    });
    if (!missing.empty()) {
      throw InputError(input + ", line " + std::to_string(layout->headerLine) + ": " +
                       MissingItemsText(*layout, missing) +
                       " Give a missing item one value for every hour with --constant ITEM=VALUE "
                       "(not DBTemp or SolarHor), or the columns with --columns.");
    }
  } else {
    fieldMap = CarryCsvColumns(stored, fieldMap);
  }
  if (o.columns) SetColumns(fieldMap, *o.columns, input, o.headerRow.value_or(0));
  if (!o.tempUnit.empty()) fieldMap.dbtUnits = static_cast<uint8_t>(kTempUnits.at(o.tempUnit));
  if (!o.moistUnit.empty()) fieldMap.moistUnits = static_cast<uint8_t>(kMoistUnits.at(o.moistUnit));
  if (!o.solarUnit.empty()) fieldMap.solUnits = static_cast<uint8_t>(kSolarUnits.at(o.solarUnit));
  if (!o.windUnit.empty()) fieldMap.windUnits = static_cast<uint8_t>(kWindUnits.at(o.windUnit));
  CheckMoistureUnit(o, fieldMap);
  CheckConstantValues(fieldMap);
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
  CheckResolvedCsvRun(fieldMap, run.site, o, layout);
  return run;
}

}  // namespace kestrum::cli
