#include "cleaning/cleaning_limits.h"

#include "run/text_fields.h"

namespace kestrum {

namespace {

// One row of limits as integers: Min, Max, #interp, #prev, and the value of every flag.
struct RowValues {
  int32_t min, max, interp, prev, flag;
};

// The defaults of a first start and of the Reset button.
constexpr RowValues kDefaults[kCleanedSeries] = {
    {-50, 150, 12, 96, -999},  // DryBulb, deg F
    {-50, 150, 12, 96, -999},  // Moisture; its Max is never applied (dry bulb or 100 % is)
    {0, 1200, 1, 96, -999},    // SolarHorizontal, W/m2
    {0, 150, 24, 168, -999},   // WindSpeed, mph
    {0, 360, 24, 168, -999},   // WindDirection, degrees
};

// What a cell gives when it is empty or does not convert.
constexpr RowValues kFallbacks[kCleanedSeries] = {
    {-99, 199, 0, 0, kEmptyFlag},
    {-99, 199, 0, 0, kEmptyFlag},
    {0, 9999, 0, 0, kEmptyFlag},
    {0, 999, 0, 0, kEmptyFlag},
    {0, 999, 0, 0, kEmptyFlag},
};

}  // namespace

CleaningLimits CleaningLimits::Defaults() {
  CleaningLimits limits;
  for (int row = 1; row <= kCleanedSeries; ++row) {
    const RowValues& d = kDefaults[row - 1];
    limits.SetMin(row, d.min);
    limits.SetMax(row, d.max);
    limits.SetInterpLimit(row, d.interp);
    limits.SetPrevLimit(row, d.prev);
    for (int k = 1; k <= kMissingFlags; ++k) limits.SetFlag(row, k, d.flag);
  }
  return limits;
}

CleaningGridTexts DefaultGridTexts() {
  CleaningGridTexts cells;
  ShowCleaningLimits(CleaningLimits::Defaults(), cells);
  return cells;
}

CleaningLimits CaptureCleaningLimits(const CleaningGridTexts& cells, RunUi& ui) {
  CleaningLimits limits;
  for (int row = 1; row <= kCleanedSeries; ++row) {
    const auto& text = cells.limits[row - 1];
    const RowValues& fb = kFallbacks[row - 1];
    limits.SetMin(row, TextToInt(text[0], kTextToIntRounding, fb.min, ui));
    limits.SetMax(row, TextToInt(text[1], kTextToIntRounding, fb.max, ui));
    limits.SetInterpLimit(row, TextToInt(text[2], kTextToIntInteger, fb.interp, ui));
    limits.SetPrevLimit(row, TextToInt(text[3], kTextToIntInteger, fb.prev, ui));
  }
  // The flags column by column, so the notices come in that order.
  for (int k = 1; k <= kMissingFlags; ++k) {
    for (int row = 1; row <= kCleanedSeries; ++row) {
      limits.SetFlag(row, k,
                     TextToInt(cells.flags[row - 1][k - 1], kTextToIntInteger,
                               kFallbacks[row - 1].flag, ui));
    }
  }
  return limits;
}

void ShowCleaningLimits(const CleaningLimits& limits, CleaningGridTexts& cells) {
  for (int row = 1; row <= kCleanedSeries; ++row) {
    auto& text = cells.limits[row - 1];
    text[0] = std::to_string(limits.Min(row));
    text[1] = std::to_string(limits.Max(row));
    text[2] = std::to_string(limits.InterpLimit(row));
    text[3] = std::to_string(limits.PrevLimit(row));
    for (int k = 1; k <= kMissingFlags; ++k) {
      const int32_t flag = limits.Flag(row, k);
      if (flag != kEmptyFlag) cells.flags[row - 1][k - 1] = std::to_string(flag);
    }
  }
}

const char* CleaningKeyPrefix(int row) {
  static constexpr const char* kPrefixes[kCleanedSeries] = {"DBT", "DPT", "SOL", "WSpd", "Wdir"};
  return (row >= 1 && row <= kCleanedSeries) ? kPrefixes[row - 1] : "";
}

const char* CleaningRowLabel(int row) {
  static constexpr const char* kLabels[kCleanedSeries] = {"Drybulb T (F)", "DP/WB T (F)",
                                                          "Solar Horiz.", "Wind Speed",
                                                          "Wind Direction"};
  return (row >= 1 && row <= kCleanedSeries) ? kLabels[row - 1] : "";
}

int FirstRowWithMinAboveMax(const CleaningLimits& limits) {
  for (int row = 1; row <= kCleanedSeries; ++row) {
    if (limits.Min(row) > limits.Max(row)) return row;
  }
  return 0;
}

std::string MinAboveMaxText(const CleaningLimits& limits, int row) {
  return std::string("The cleaning limits row \"") + CleaningRowLabel(row) + "\" has its Min (" +
         std::to_string(limits.Min(row)) + ") above its Max (" + std::to_string(limits.Max(row)) +
         ").";
}

}  // namespace kestrum
