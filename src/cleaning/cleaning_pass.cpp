#include "cleaning/cleaning_pass.h"

#include <string>

#include "cleaning/bad_hour.h"
#include "cleaning/postclean_file.h"
#include "cleaning/streak_repair.h"

namespace kestrum {

namespace {

// Scans row 1..5 hour by hour, repairing each streak of bad hours as soon as it ends
// (so later hours see the earlier repairs), then checks the whole series again.
// True when no hour is bad afterwards.
bool CleanSeries(int row, const CleaningLimits& limits, bool detailedLog, StageContext& ctx,
                 RepairRecord* record, int pass) {
  const int32_t mi = ctx.state.moistureIndicator;
  const BadHourRule rule = RuleForRow(limits, row, mi);
  const Series series = static_cast<Series>(row - 1);
  HourlyTable& table = ctx.table;
  const StreakSeries target{table, series, CleanedSeriesName(row, mi),
                            series == Moisture && mi != kMoistureRelHum, detailedLog, ctx.log,
                            record};
  const auto bad = [&](int h) { return IsBadValue(table.at(series, h), rule, table.at(DryBulb, h)); };
  const int32_t interpLimit = limits.InterpLimit(row);
  const int32_t prevLimit = limits.PrevLimit(row);
  const auto note = [&](int first, int length, bool reachesYearEnd) {
    if (record != nullptr) record->NoteStreak({row, first, length, reachesYearEnd, pass});
  };

  bool previousBad = false;
  int length = 0;
  for (int h = 1; h <= kHoursPerYear; ++h) {
    if (bad(h)) {
      length = previousBad ? length + 1 : 1;
      previousBad = true;
      if (h == kHoursPerYear) {
        note(kHoursPerYear + 1 - length, length, true);
        FillBadStreak(target, h, length, interpLimit, prevLimit, true);
      }
    } else {
      if (previousBad) {
        note(h - length, length, false);
        FillBadStreak(target, h, length, interpLimit, prevLimit, false);
      }
      previousBad = false;
    }
  }

  bool clean = true;
  for (int h = 1; h <= kHoursPerYear; ++h) {
    if (!bad(h)) continue;
    clean = false;
    if (detailedLog) ctx.log.WriteLogLine("     still registering bad data at index " + std::to_string(h));
  }
  return clean;
}

}  // namespace

bool CleanWeatherData(bool repeat, const CleaningLimits& limits, bool detailedLog,
                      StageContext& ctx, RepairRecord* record) {
  const int pass = repeat ? 1 : 2;
  if (record != nullptr) record->NotePass(pass);
  ctx.ui.SetCaption("Brollic (clean EWP file)", "Brollic: clean EWP file)");
  bool clean = true;
  for (int row = 1; row <= kCleanedSeries; ++row) {
    if (!CleanSeries(row, limits, detailedLog, ctx, record, pass)) clean = false;
  }
  WritePostCleanFile(ctx.InterimFile(repeat ? kPostCleanFirstPass : kPostCleanRepeatPass),
                     ctx.table);
  if (!clean && repeat) {
    ctx.ui.EchoLine("    Re-iterating Weather data cleaning process.");
    clean = CleanWeatherData(false, limits, detailedLog, ctx, record);
  }
  ctx.ui.EchoLine(clean ? "  Weather data cleaned successfully." : "  Weather data cleaning FAILED.");
  ctx.ui.Repaint();
  return clean;
}

}  // namespace kestrum
