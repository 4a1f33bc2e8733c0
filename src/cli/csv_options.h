// The options of `kestrum-cli convert` for CSV input, and how they, a settings file and
// --layout make the field map and site of a CSV conversion.
#pragma once

#include <optional>
#include <stdexcept>
#include <string>

#include "config/settings.h"
#include "csv/csv_field_map.h"
#include "run/run_state.h"

namespace CLI {
class App;
}

namespace kestrum::cli {

// Options given as the user typed them (CLI11 has already checked each value's form).
// Empty / nullopt: not given.
struct CsvCliOptions {
  std::string format;  // --format: "epw" or "csv"; empty: by the input's extension
  std::string layout;  // --layout: "tmy3"
  std::optional<int32_t> firstRow;
  std::string dateForm;   // serial | mdh | none
  std::string moisture;   // dew-point | wet-bulb | rel-hum
  std::string solar;      // global | global+dn
  std::string tempUnit;   // F | C
  std::string moistUnit;  // F | C | percent | fraction
  std::string solarUnit;  // W/m2 | Btu
  std::string windUnit;   // mph | knots | m/s
  std::string timeStamps;  // --timestamps: ending | beginning (the one-field date form)
  std::optional<std::string> columns;
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

// Whether input converts as CSV: --format, else its extension (".csv" in any case; every
// other extension is EPW). Throws CsvUsageError when CSV options are given for an EPW
// conversion, or when an EPW-only option (epwOption, e.g. "--use-rh"; empty: none) is given
// for a CSV one.
bool IsCsvConversion(const std::string& input, const CsvCliOptions& options,
                     const std::string& epwOption);

struct CsvRun {
  CsvFieldMap fieldMap;
  SiteInfo site;
};

// The specification and site of converting input: section "CSV Specs" of the settings (when
// given), over it --layout, over that each flag. Items keep their columns when a flag changes
// the choices (an item the new layout lacks loses its column); --columns replaces every
// assignment. Refuses, before anything is written, a field map that cannot be read
// (RunError naming the item or slot), a site that does not convert (RunError naming the
// value) and contradicting flags (CsvUsageError).
CsvRun ResolveCsvRun(const std::string& input, const CsvCliOptions& options,
                     const Settings* settings);

}  // namespace kestrum::cli
