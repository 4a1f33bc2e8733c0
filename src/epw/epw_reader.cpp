#include "epw/epw_reader.h"

#include <string_view>
#include <vector>

#include "epw/epw_row.h"
#include "epw/text_lines.h"
#include "format/original_data_file.h"
#include "run/run_error.h"
#include "run/text_fields.h"

namespace kestrum {

namespace {

// What the rows of one file came to, for the log.
struct EpwReadCounts {
  int rowsSkipped = 0;           // rows whose date or hour is not one of the 365-day year
  size_t firstSkippedLine = 0;
  int hoursFilledTwice = 0;      // hours that more than one row filled (29 February aside)
  size_t firstRefillLine = 0;
  int missingDirectNormal = 0;   // hours whose direct normal carries the 9999 code
};

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

EpwReadCounts ReadRows(TextLineReader& lines, const EpwOptions& options, HourlyTable& table) {
  EpwReadCounts counts;
  std::vector<bool> directNormalMissing(kHoursPerYear, false);
  std::vector<bool> filled(kHoursPerYear, false);
  std::string line;
  EpwRow row;
  EpwRowProblem problem;
  size_t rows = 0;
  size_t stored = 0;
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
    const int32_t h = EpwHourIndex(row);
    if (h == 0) {
      if (counts.rowsSkipped++ == 0) counts.firstSkippedLine = lines.lineNumber();
      continue;
    }
    // 29 February shares the slots of 1 March, whose rows follow and take them.
    if (!IsLeapDay(row)) {
      const size_t slot = static_cast<size_t>(h - 1);
      if (filled[slot] && counts.hoursFilledTwice++ == 0) {
        counts.firstRefillLine = lines.lineNumber();
      }
      filled[slot] = true;
    }
    StoreRow(row, h, options, table, directNormalMissing);
    ++stored;
  }
  if (rows == 0) NotAnEpwFile(lines.path(), "it has no data rows after its DATA PERIODS line");
  if (stored == 0) {
    NotAnEpwFile(lines.path(), "none of its " + std::to_string(rows) +
                                   " data rows has a date and hour of the 365-day year");
  }
  for (bool missing : directNormalMissing) counts.missingDirectNormal += missing ? 1 : 0;
  return counts;
}

void ReportCounts(const EpwReadCounts& counts, StageContext& ctx) {
  if (const int rows = counts.rowsSkipped; rows > 0) {
    ctx.Warn("     " + std::to_string(rows) +
                  (rows == 1 ? " data row whose date or hour is not in the 365-day year was skipped"
                             : " data rows whose date or hour is not in the 365-day year were skipped") +
                  " (first at line " + std::to_string(counts.firstSkippedLine) + ").");
  }
  if (const int hours = counts.hoursFilledTwice; hours > 0) {
    ctx.Warn("     " + std::to_string(hours) +
                  (hours == 1 ? " hour was filled by more than one row"
                              : " hours were filled by more than one row") +
                  "; the last row of each was kept (first at line " +
                  std::to_string(counts.firstRefillLine) + ").");
  }
  const int hours = counts.missingDirectNormal;
  if (hours > 0) {
    ctx.log.WriteLogLine("     " + std::to_string(hours) +
                         (hours == 1 ? " hour with a missing direct-normal value (9999) will be estimated."
                                     : " hours with a missing direct-normal value (9999) will be estimated."));
  }
}

}  // namespace

bool ReadEPWData(const std::string& path, const EpwOptions& options, StageContext& ctx) {
  ctx.ui.SetCaption("Varnell-Kestrum (convert EPW)", "Kestrum: convert EPW");
  ctx.state.moistureIndicator = options.useRelHum ? kMoistureRelHum : 1;  // 1: dew point here

  HourlyTable& table = ctx.table;
  for (Series s : {DryBulb, Moisture, SolarHorizontal, WindSpeed, WindDirection}) {
    table.Fill(s, kNotSupplied);
  }

  EpwReadCounts counts;
  {
    TextLineReader lines(path);
    SkipHeader(lines);
    counts = ReadRows(lines, options, table);
  }
  ReportCounts(counts, ctx);

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
