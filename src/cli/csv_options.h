// The options of `kestrum-cli convert` for CSV input, and how they, a settings file and
// --layout make the field map and site of a CSV conversion.
#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "config/settings.h"
#include "csv/csv_field_map.h"
#include "csv/layout_match.h"
#include "run/run_state.h"

namespace CLI {
class App;
}

namespace kestrum::cli {

// Options given as the user typed them (CLI11 has already checked each value's form).
// Empty / nullopt: not given.
struct CsvCliOptions {
  std::string format;  // --format: "epw" or "csv"; empty: by the input's extension
  std::string layout;  // --layout: "tmy3", "psm", "pvgis" or "auto"
  std::optional<int32_t> firstRow;
  std::string dateForm;   // serial | mdh | none
  std::string moisture;   // dew-point | wet-bulb | rel-hum
  std::string solar;      // global | global+dn
  std::string tempUnit;   // F | C
  std::string moistUnit;  // F | C | percent | fraction
  std::string solarUnit;  // W/m2 | Btu
  std::string windUnit;   // mph | knots | m/s
  std::string timeStamps;  // --timestamps: ending | beginning (the one-field date form)
  std::optional<std::string> columns;   // numbers or header texts
  std::optional<int32_t> headerRow;      // --header-row: the line --columns names are read on
  std::optional<int32_t> lastRow;        // --last-row: 0 for the end of the file
  std::vector<std::string> constants;    // --constant ITEM=VALUE, as given
  std::optional<std::string> siteDesc, lat, lon, tz, elev;

  // The first CSV-only option given ("--layout", ...), empty when none was.
  std::string FirstGiven() const;
};

// A command line that cannot be carried out as given (exit status 2).
class CsvUsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Adds --format and the CSV options to the convert subcommand.
void AddCsvOptions(CLI::App& convert, CsvCliOptions& options);

// Whether input converts as CSV: --format, else with --layout auto its content (an EPW file
// starts "LOCATION,"), else its extension (".csv" in any case; every other extension is EPW).
// Throws CsvUsageError when CSV options are given for an EPW conversion (--layout auto
// aside), or when an EPW-only option (epwOption, e.g. "--use-rh"; empty: none) is given for a
// CSV one.
bool IsCsvConversion(const std::string& input, const CsvCliOptions& options,
                     const std::string& epwOption);

struct CsvRun {
  CsvFieldMap fieldMap;
  SiteInfo site;
  // The layout the file was read by (--layout), if any.
  std::optional<LayoutMatch> layout;
  // The layout's rows are stamped in UTC: the run moves them by the site's time zone
  // unless --time-shift says otherwise.
  bool utcStamps = false;
};

// The specification and site of converting input: section "CSV Specs" of the settings (when
// given), over it --layout (auto: the layout the file's content matches, if any), over that
// each flag. Items keep their columns when a flag changes the choices (an item the new
// layout lacks loses its column); --columns replaces every assignment, by number or by the
// header on the line above the first data row (--header-row); --constant gives an item one
// value for every hour. Refuses, before anything is written, a file a layout finds a
// required quantity missing in (InputError naming the items and the columns it has), a
// field map that cannot be read (RunError naming the item or slot), a site that does not
// convert (RunError naming the value) and contradicting or unknown flags and column names
// (CsvUsageError).
CsvRun ResolveCsvRun(const std::string& input, const CsvCliOptions& options,
                     const Settings* settings);

}  // namespace kestrum::cli
