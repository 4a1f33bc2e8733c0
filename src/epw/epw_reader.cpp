#include "epw/epw_reader.h"

#include <algorithm>
#include <optional>
#include <string_view>
#include <vector>

#include "epw/epw_row.h"
#include "epw/text_lines.h"
#include "format/original_data_file.h"
#include "run/hour_placement.h"
#include "run/run_error.h"
#include "run/text_fields.h"

namespace kestrum {

namespace {

[[noreturn]] void NotAnEpwFile(const std::string& path, const std::string& reason) {
  throw InputError(path + " is not an EPW file: " + reason + ".");
}

bool IsBlank(std::string_view line) {
  return line.find_first_not_of(" \t\f") == std::string_view::npos;
}

bool StartsWithUtf16Mark(std::string_view line) {
  return line.starts_with("\xFF\xFE") || line.starts_with("\xFE\xFF");
}

// Reads the header block up to and including the DATA PERIODS line. Refuses a file whose
// header has no LOCATION line or that has no DATA PERIODS line.
void SkipHeader(TextLineReader& lines) {
  std::string line;
  bool location = false;
  bool utf16 = false;
  bool nul = false;
  while (lines.Next(line)) {
    if (lines.lineNumber() == 1) utf16 = StartsWithUtf16Mark(line);
    nul = nul || line.find('\0') != std::string::npos;
    size_t pos = 1;
    const std::string keyword = ToUpperAscii(NextField(line, pos, AfterQuote::Consume));
    if (keyword == "LOCATION") location = true;
    if (keyword == "DATA PERIODS") {
      if (!location) NotAnEpwFile(lines.path(), "its header has no LOCATION line");
      return;
    }
  }
  if (utf16) NotAnEpwFile(lines.path(), "it is UTF-16 text (save it as UTF-8 or plain text)");
  if (nul) NotAnEpwFile(lines.path(), "it holds NUL bytes, so it is no text file");
  if (lines.lineNumber() == 0) NotAnEpwFile(lines.path(), "it is empty");
  NotAnEpwFile(lines.path(), location ? "it has no DATA PERIODS line"
                                      : "it has no LOCATION line and no DATA PERIODS line");
}

void StoreRow(const EpwRow& row, int h, const EpwOptions& options, HourlyTable& table,
              std::vector<bool>& directNormalMissing) {
  table.at(DryBulb, h) = row.dryBulbC;
  table.at(Moisture, h) = row.moisture;
  table.at(SolarHorizontal, h) = row.globalHorizontal;
  table.at(WindDirection, h) = row.windDirection;
  table.at(WindSpeed, h) = row.windSpeed;
  if (!options.calcDirectNormal) {
    // 9999 or more is EPW's "missing": leave the hour to the direct-normal estimate.
    const bool missing = row.directNormal >= kEpwMissingRadiation;
    directNormalMissing[static_cast<size_t>(h - 1)] = missing;
    table.at(SolarDirectNormal, h) = missing ? kDirectNormalAbsent : row.directNormal;
  }
}

// The values of a row that are no missing-value code, for the mean of its hour.
void AddToMeans(const EpwRow& row, int h, const EpwOptions& options, HourMeans& means) {
  if (row.dryBulbC < kEpwMissingTemperature) means.Add(DryBulb, h, row.dryBulbC);
  const float missingMoisture =
      options.useRelHum ? kEpwMissingHumidityOrWind : kEpwMissingTemperature;
  if (row.moisture < missingMoisture) means.Add(Moisture, h, row.moisture);
  if (row.globalHorizontal < kEpwMissingRadiation) {
    means.Add(SolarHorizontal, h, row.globalHorizontal);
  }
  if (!options.calcDirectNormal && row.directNormal < kEpwMissingRadiation) {
    means.Add(SolarDirectNormal, h, row.directNormal);
  }
  means.AddWind(h, row.windSpeed < kEpwMissingHumidityOrWind, row.windSpeed,
                row.windDirection < kEpwMissingHumidityOrWind, row.windDirection);
}

[[noreturn]] void RowError(const TextLineReader& lines, size_t lineNumber,
                           const EpwRowProblem& problem) {
  std::string message = lines.path() + ", line " + std::to_string(lineNumber) + ": ";
  if (problem.what.empty()) {
    message += problem.reason;
  } else {
    message += QuoteForMessage(problem.text) + " " + problem.reason + " (" + problem.what + ")";
  }
  throw InputError(message);
}

// Reads the data rows into the table; returns the hours whose direct normal carries the
// missing code 9999 (every row of the hour, with subhourly mean).
int ReadRows(TextLineReader& lines, const EpwOptions& options, HourlyTable& table,
             RowPlacement& placement) {
  std::vector<bool> directNormalMissing(kHoursPerYear, false);
  std::optional<HourMeans> means;
  if (placement.mean()) means.emplace();
  std::string line;
  EpwRow row;
  EpwRowProblem problem;
  size_t rows = 0;
  size_t firstBlank = 0;  // a blank line is an error only when a row follows it
  while (lines.Next(line)) {
    if (IsBlank(line)) {
      if (firstBlank == 0) firstBlank = lines.lineNumber();
      continue;
    }
    if (firstBlank != 0) {
      ParseEpwRow("", options, row, problem);
      RowError(lines, firstBlank, problem);
    }
    ++rows;
    if (!ParseEpwRow(line, options, row, problem)) RowError(lines, lines.lineNumber(), problem);
    const int32_t stamped = EpwHourIndex(row);
    if (stamped == 0) {
      placement.RowOutsideYear(lines.lineNumber());
      continue;
    }
    if (IsLeapDay(row)) {
      placement.LeapDayRow(lines.lineNumber());
      continue;
    }
    const int32_t h = placement.Land(stamped, lines.lineNumber());
    StoreRow(row, h, options, table, directNormalMissing);
    if (means) AddToMeans(row, h, options, *means);
  }
  if (rows == 0) NotAnEpwFile(lines.path(), "it has no data rows after its DATA PERIODS line");
  if (placement.rowsLanded() == 0) {
    NotAnEpwFile(lines.path(), "none of its " + std::to_string(rows) +
                                   " data rows has a date and hour of the 365-day year");
  }
  if (means) {
    means->Store(table);
    for (int32_t h = 1; h <= kHoursPerYear; ++h) {
      directNormalMissing[static_cast<size_t>(h - 1)] =
          !options.calcDirectNormal && placement.RowsOf(h) > 0 &&
          !means->HasValue(SolarDirectNormal, h);
    }
  }
  return static_cast<int>(std::count(directNormalMissing.begin(), directNormalMissing.end(), true));
}

void ReportMissingDirectNormal(int hours, StageContext& ctx) {
  if (hours > 0) {
    ctx.log.WriteLogLine("     " + std::to_string(hours) +
                         (hours == 1 ? " hour with a missing direct-normal value (9999) will be estimated."
                                     : " hours with a missing direct-normal value (9999) will be estimated."));
  }
}

}  // namespace

bool ReadEPWData(const std::string& path, const EpwOptions& options, StageContext& ctx,
                 int timeShiftHours) {
  ctx.ui.SetCaption("Varnell-Kestrum (convert EPW)", "Kestrum: convert EPW");
  ctx.state.moistureIndicator = options.useRelHum ? kMoistureRelHum : 1;  // 1: dew point here

  HourlyTable& table = ctx.table;
  for (Series s : {DryBulb, Moisture, SolarHorizontal, WindSpeed, WindDirection}) {
    table.Fill(s, kNotSupplied);
  }

  for (const std::string& problem :
       {TimeShiftProblem(timeShiftHours), SubhourlyProblem(options.subhourly)}) {
    if (!problem.empty()) throw RunError(problem);
  }
  RowPlacement placement(options.subhourly, timeShiftHours);
  int missingDirectNormal = 0;
  {
    TextLineReader lines(path);
    SkipHeader(lines);
    missingDirectNormal = ReadRows(lines, options, table, placement);
  }
  placement.Report(ctx);
  ReportMissingDirectNormal(missingDirectNormal, ctx);

  // deg C -> deg F, dew point deg C -> deg F (relative humidity stays %), m/s -> mph.
  const int32_t mi = ctx.state.moistureIndicator;
  table.NormaliseUnits(1, static_cast<uint8_t>(mi), 0, 2, mi);

  WriteOriginalDataFile(ctx.RunFile("-orig.csv"), table, OriginalDataSource::Epw, mi,
                        !options.calcDirectNormal);
  ctx.ui.OfferForReview(ctx.state.outputBaseName);
  ctx.ui.EchoLine("  Weather data loaded successfully from EPW file.");
  ctx.ui.Repaint();
  return true;
}

}  // namespace kestrum
