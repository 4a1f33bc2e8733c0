#include "cli/option_checks.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <map>
#include <optional>
#include <vector>

#include "config/csv_settings_check.h"
#include "format/site_parameters.h"
#include "run/run_error.h"
#include "run/text_fields.h"

namespace kestrum::cli {

namespace {

// The keys of section "CSV Specs" each flag gives anew.
std::vector<std::string> KeysGivenByFlags(const CsvCliOptions& o) {
  std::vector<std::string> keys;
  const auto add = [&keys](bool given, std::initializer_list<const char*> names) {
    if (given) keys.insert(keys.end(), names.begin(), names.end());
  };
  add(o.firstRow.has_value(), {"FirstRow"});
  add(!o.dateForm.empty(), {"DateInd"});
  add(!o.moisture.empty(), {"MoistInd"});
  add(!o.solar.empty(), {"SolarInd"});
  add(!o.tempUnit.empty(), {"DBTunits"});
  add(!o.moistUnit.empty(), {"MoistUnits"});
  add(!o.solarUnit.empty(), {"SolUnits"});
  add(!o.windUnit.empty(), {"WindUnits"});
  add(o.lat.has_value(), {"CSVlat"});
  add(o.lon.has_value(), {"CSVlong"});
  add(o.tz.has_value(), {"CSVtz"});
  add(o.elev.has_value(), {"CSVelev"});
  add(o.lastRow.has_value(), {"LastRow"});
  return keys;
}

bool HasLineBreak(const std::string& text) {
  return text.find_first_of("\r\n") != std::string::npos;
}

// Whether a site value came from a flag.
bool GivenByFlag(SiteField field, const CsvCliOptions& o) {
  switch (field) {
    case SiteField::Latitude: return o.lat.has_value();
    case SiteField::Longitude: return o.lon.has_value();
    case SiteField::TimeZone: return o.tz.has_value();
    case SiteField::Elevation: return o.elev.has_value();
  }
  return false;
}

}  // namespace

CLI::Validator WorkerCount() {
  return CLI::Validator(
      [](std::string& text) -> std::string {
        int64_t n = 0;
        if (ParseWholeNumber(text, n) && n >= 1) return {};
        return "\"" + text + "\" is no number of worker processes: give 1 or more";
      },
      "N", "WorkerCount");
}

CLI::Validator TimeLimit() {
  return CLI::Validator(
      [](std::string& text) -> std::string {
        double seconds = 0;
        if (ParseReal(text, seconds) && seconds > 0) return {};
        return "\"" + text + "\" is no time limit: give a number of seconds above 0";
      },
      "SECONDS", "TimeLimit");
}

void CheckCsvSettings(const std::string& settingsFile, const CsvCliOptions& options) {
  if (settingsFile.empty() || !options.layout.empty()) return;
  const std::vector<std::string> given = KeysGivenByFlags(options);
  // With --columns every column is given; a choice given anew moves the columns to other
  // slots, whose completeness is checked after the move.
  const bool columnsGiven = options.columns.has_value();
  const bool choicesGiven =
      !options.dateForm.empty() || !options.moisture.empty() || !options.solar.empty();
  for (const SettingsValueProblem& p : CsvSpecsProblems(settingsFile)) {
    if (std::find(given.begin(), given.end(), p.key) != given.end()) continue;
    if (p.key.rfind("CSVgridCol", 0) == 0) {
      if (columnsGiven) continue;
      if (choicesGiven && p.what.rfind("gives no column", 0) == 0) continue;
    }
    throw CsvUsageError("The settings file " + settingsFile +
                        " cannot be used for a CSV conversion: [CSV Specs] " + p.key + "=" +
                        p.text + " " + p.what + ".");
  }
}

void CheckResolvedCsvRun(const CsvFieldMap& fieldMap, const SiteInfo& site,
                         const CsvCliOptions& o, const LayoutMatch* layout) {
  if (o.siteDesc && HasLineBreak(*o.siteDesc)) {
    throw CsvUsageError("--site-desc holds a line break; the description heads the FT file on "
                        "one line: give it without one.");
  }
  try {
    CsvColumnNumbers(fieldMap);
  } catch (const RunError& e) {
    std::string names;
    for (const CsvSlot& slot : CsvLayout(fieldMap.dateInd, fieldMap.moistInd, fieldMap.solarInd)) {
      names += (names.empty() ? "" : ",") + std::string(slot.name);
    }
    throw CsvUsageError(std::string(e.what()) + " Layout: " + names +
                        " (give the columns with --columns, --settings or --layout; "
                        "kestrum-cli inspect shows the file's columns).");
  }
  const std::pair<SiteField, const std::string*> fields[] = {
      {SiteField::Latitude, &site.latitude},
      {SiteField::Longitude, &site.longitude},
      {SiteField::TimeZone, &site.timeZone},
      {SiteField::Elevation, &site.elevation},
  };
  for (const auto& [field, text] : fields) {
    try {
      ReadSiteValue(field, *text);
    } catch (const SiteValueError& e) {
      if (layout != nullptr && !GivenByFlag(field, o)) {
        // The value is the file's own: the file is at fault, and the flags can stand in.
        const std::string why = layout->siteProblem.empty()
                                    ? std::string(e.what())
                                    : "the site line cannot be read: " + layout->siteProblem +
                                          " (" + e.what() + ")";
        throw InputError(layout->path + ", line " + std::to_string(layout->siteLine) + ": " +
                         why + " Give the site with --lat, --lon, --tz and --elev.");
      }
      throw CsvUsageError(std::string(e.what()) +
                          " Give the site with --lat, --lon, --tz and --elev (or --settings, "
                          "--layout).");
    }
  }
}

}  // namespace kestrum::cli
