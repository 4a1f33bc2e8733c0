#include "epw/epw_reader.h"

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
  int rowsOutsideYear = 0;       // rows whose date is not an hour of the 365-day year
  int missingDirectNormal = 0;   // hours whose direct normal carries the 9999 code
};

// Skips the header block: true once the DATA PERIODS line has been read.
bool SkipToDataPeriods(TextLineReader& lines) {
  std::string line;
  while (lines.Next(line)) {
    size_t pos = 1;
    if (ToUpperAscii(NextField(line, pos, AfterQuote::Consume)) == "DATA PERIODS") return true;
  }
  return false;
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

EpwReadCounts ReadRows(TextLineReader& lines, const EpwOptions& options, HourlyTable& table) {
  EpwReadCounts counts;
  std::vector<bool> directNormalMissing(kHoursPerYear, false);
  std::string line;
  EpwRow row;
  EpwRowProblem problem;
  while (lines.Next(line)) {
    if (!ParseEpwRow(line, options, row, problem)) {
      throw InputError(lines.path() + ", line " + std::to_string(lines.lineNumber()) + ": " +
                       QuoteForMessage(problem.text) + " " + problem.reason + " (" +
                       problem.what + ")");
    }
    const int32_t h = EpwHourIndex(row);
    if (h == 0) {
      ++counts.rowsOutsideYear;
      continue;
    }
    StoreRow(row, h, options, table, directNormalMissing);
  }
  for (bool missing : directNormalMissing) counts.missingDirectNormal += missing ? 1 : 0;
  return counts;
}

void LogCounts(const EpwReadCounts& counts, const RunLog& log) {
  const int rows = counts.rowsOutsideYear;
  if (rows > 0) {
    log.WriteLogLine("     " + std::to_string(rows) +
                     (rows == 1 ? " data row outside the 365-day year was skipped."
                                : " data rows outside the 365-day year were skipped."));
  }
  const int hours = counts.missingDirectNormal;
  if (hours > 0) {
    log.WriteLogLine("     " + std::to_string(hours) +
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
    if (SkipToDataPeriods(lines)) counts = ReadRows(lines, options, table);
  }
  LogCounts(counts, ctx.log);

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
