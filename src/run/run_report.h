// The report of one conversion, for a script (JSON) or a person (a self-contained HTML
// page): the file, site and options, what the cleaning pass repaired, the monthly values
// as read and as converted, the warnings, the outputs and the run time.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "cleaning/cleaning_limits.h"
#include "run/quality_summary.h"
#include "run/report_units.h"
#include "run/run_state.h"

namespace kestrum {

struct RunReport {
  std::string input;   // the source file, as an absolute path
  std::string status;  // "converted", "cleaning failed" or "failed"
  std::string error;   // why a run failed; empty when it converted
  SiteInfo site;       // the texts as read from the source
  // The options of the run.
  std::string name;          // base name of the outputs
  bool useRelHum = false;
  bool calcDirectNormal = false;
  bool detailedLog = false;
  int timeShiftHours = 0;      // the rows' hours moved by this many hours
  bool subhourlyMean = false;  // rows that share an hour give it their mean (else the last)
  std::string settingsFile;  // empty: the default limits
  CleaningLimits limits = CleaningLimits::Defaults();
  std::optional<QualitySummary> quality;  // once the cleaning pass has run
  std::vector<std::string> warnings;      // every warning of the run, in the order said
  // Whole hours the sun in the data runs early (> 0) or late (< 0) against the site's
  // clock; 0 aligned; nullopt not computed ("sun_offset_hours": null).
  std::optional<int> sunOffsetHours;
  std::string binPath;                    // empty when no ".bin" file was made
  std::string epwPath;                    // the repaired year as EPW; empty: none written
  std::string interimDir;
  std::vector<std::string> files;         // the run files written
  double seconds = 0;
  ReportUnits units = ReportUnits::Si;    // of the values: the table's units converted
};

// The report as JSON text, its values in report.units with each quantity's unit beside it.
// Among its members, "repairs" holds "dry_bulb", "moisture", "solar", "wind_speed" and
// "wind_direction", each with the integers "interpolated", "previous_day",
// "first_good_hour" and "total"; the site's latitude, longitude, time zone and elevation
// are numbers (null when the text is none).
std::string RunReportJson(const RunReport& report);

// The same as one HTML page with tables and pictures of the year drawn as inline SVG: no
// scripts, no fonts or files fetched from elsewhere.
std::string RunReportHtml(const RunReport& report);

// Writes the HTML page when path ends in ".html" or ".htm" (any case), the JSON text
// otherwise. The file appears whole or not at all: a temporary file in the same directory
// is renamed over it. Throws RunError naming the file when it cannot be written.
void WriteRunReport(const std::string& path, const RunReport& report);

// The JSON keys of the cleaned series, rows 1..5: "dry_bulb" .. "wind_direction".
const char* ReportSeriesKey(int row);

}  // namespace kestrum
