#include "config/csv_settings_check.h"

#include <optional>

#include "config/atomic_file.h"
#include "config/ini_document.h"
#include "config/settings.h"
#include "csv/csv_field_map.h"
#include "format/site_parameters.h"
#include "run/text_fields.h"

namespace kestrum {

namespace {

class CsvSpecsChecker {
 public:
  explicit CsvSpecsChecker(const std::string& text) { ini_.Parse(text); }

  // A whole number lo..hi (a missing key gives fallback); nullopt after noting a problem.
  std::optional<int32_t> Choice(const std::string& key, int32_t lo, int32_t hi,
                                int32_t fallback, const std::string& wanted) {
    const std::optional<std::string> text = ini_.Value(kCsvSection, key);
    if (!text) return fallback;
    const std::optional<int32_t> v = ParseIniInteger(*text);
    if (!v || *v < lo || *v > hi) {
      Note(key, *text, "does not convert: " + wanted + " is needed");
      return std::nullopt;
    }
    return v;
  }

  void Columns(int32_t dateInd, int32_t moistInd, int32_t solarInd) {
    const std::vector<CsvSlot> layout = CsvLayout(dateInd, moistInd, solarInd);
    for (size_t slot = 0; slot < layout.size(); ++slot) {
      const std::string key = "CSVgridCol" + std::to_string(slot + 1);
      const std::string text = ini_.Value(kCsvSection, key).value_or("");
      if (text.find_first_not_of(" \t") == std::string::npos) {
        if (layout[slot].required) {
          Note(key, text,
               "gives no column to \"" + std::string(layout[slot].name) + "\", which is required");
        }
        continue;
      }
      int64_t column = 0;
      if (!ParseWholeNumber(text, column) || column < 1 || column > kCsvMaxColumn) {
        Note(key, text,
             "does not convert: a column number 1.." + std::to_string(kCsvMaxColumn) +
                 " for \"" + layout[slot].name + "\" is needed");
      }
    }
  }

  void Site(const std::string& key, SiteField field, const std::string& wanted) {
    const std::string text = ini_.Value(kCsvSection, key).value_or("");
    try {
      ReadSiteValue(field, text);
    } catch (const SiteValueError&) {
      Note(key, text, "does not convert: " + wanted + " is needed");
    }
  }

  std::vector<SettingsValueProblem> problems;

 private:
  void Note(const std::string& key, const std::string& text, const std::string& what) {
    problems.push_back({key, text, what});
  }

  IniDocument ini_;
};

}  // namespace

std::vector<SettingsValueProblem> CsvSpecsProblems(const std::string& path) {
  CsvSpecsChecker check(ReadWholeFile(path));
  const CsvFieldMap defaults = CsvResetFieldMap();
  constexpr int32_t kMaxInt = 2147483647;
  check.Choice("FirstRow", 1, kMaxInt, defaults.firstRow, "a line number of 1 or more");
  const auto dateInd = check.Choice("DateInd", kDateOneField, kDateNone, defaults.dateInd,
                                    "0 (one date-time field), 1 (month, day, hour) or 2 (none)");
  const auto moistInd = check.Choice("MoistInd", 0, 2, defaults.moistInd,
                                     "0 (dew point), 1 (wet bulb) or 2 (relative humidity)");
  const auto solarInd =
      check.Choice("SolarInd", kSolarGlobal, kSolarGlobalAndDirect, defaults.solarInd,
                   "0 (global horizontal) or 1 (global horizontal and direct normal)");
  for (const char* key : {"DBTunits", "MoistUnits", "SolUnits", "WindUnits"}) {
    check.Choice(key, -kMaxInt - 1, kMaxInt, 0, "a whole number");
  }
  if (dateInd && moistInd && solarInd) check.Columns(*dateInd, *moistInd, *solarInd);
  check.Choice("LastRow", 0, kMaxInt, defaults.lastRow,
               "a line number, or 0 (the data rows run to the end of the file)");
  check.Site("CSVlat", SiteField::Latitude, "a latitude in degrees north, -90..90,");
  check.Site("CSVlong", SiteField::Longitude, "a longitude in degrees east, -180..180,");
  check.Site("CSVtz", SiteField::TimeZone, "a time zone in hours from Greenwich, -14..14,");
  check.Site("CSVelev", SiteField::Elevation, "an elevation in metres, -500..9000,");
  return check.problems;
}

}  // namespace kestrum
