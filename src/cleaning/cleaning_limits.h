// The cleaning limits: for each cleaned series its bounds, its repair limits and five
// missing-data flags; their defaults, fallbacks and the conversion of grid texts.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace kestrum {

class RunUi;

inline constexpr int kCleanedSeries = 5;  // rows 1..5: DryBulb .. WindDirection
inline constexpr int kMissingFlags = 5;
inline constexpr int32_t kEmptyFlag = -888;  // a flag cell left empty

struct CleaningLimits {
  std::array<int32_t, 10> bounds{};  // Min, Max of row 1, then row 2, ...
  std::array<int32_t, 35> repair{};  // 25 flags (5 per row), then (InterpLimit, PrevLimit) per row

  // Rows count from 1, flags from 1.
  int32_t Min(int row) const { return bounds[2 * (row - 1)]; }
  int32_t Max(int row) const { return bounds[2 * (row - 1) + 1]; }
  int32_t InterpLimit(int row) const { return repair[25 + 2 * (row - 1)]; }
  int32_t PrevLimit(int row) const { return repair[26 + 2 * (row - 1)]; }
  int32_t Flag(int row, int k) const { return repair[5 * (row - 1) + (k - 1)]; }

  void SetMin(int row, int32_t v) { bounds[2 * (row - 1)] = v; }
  void SetMax(int row, int32_t v) { bounds[2 * (row - 1) + 1] = v; }
  void SetInterpLimit(int row, int32_t v) { repair[25 + 2 * (row - 1)] = v; }
  void SetPrevLimit(int row, int32_t v) { repair[26 + 2 * (row - 1)] = v; }
  void SetFlag(int row, int k, int32_t v) { repair[5 * (row - 1) + (k - 1)] = v; }

  static CleaningLimits Defaults();
  bool operator==(const CleaningLimits&) const = default;
};

// The texts of the two Setup grids: sgWthData (5 rows x Min, Max, #interp, #prev) and
// sgBadData (5 rows x 5 flags). Row and column indices count from 0 here.
struct CleaningGridTexts {
  std::array<std::array<std::string, 4>, kCleanedSeries> limits;
  std::array<std::array<std::string, kMissingFlags>, kCleanedSeries> flags;
};

// The default cell texts ("-50", "150", "12", "96", "-999", ...), written by Reset.
CleaningGridTexts DefaultGridTexts();

// Converts every cell with TextToInt and its fallback, in the order row by row for the
// four limits, then flag column by flag column; one notice per bad cell.
CleaningLimits CaptureCleaningLimits(const CleaningGridTexts& cells, RunUi& ui);

// Writes every value as a plain decimal integer into cells, except that a flag of -888
// leaves its cell as it is.
void ShowCleaningLimits(const CleaningLimits& limits, CleaningGridTexts& cells);

// INI key prefixes of rows 1..5: "DBT", "DPT", "SOL", "WSpd", "Wdir".
const char* CleaningKeyPrefix(int row);

// Row labels of the Setup grids, rows 1..5: "Drybulb T (F)" .. "Wind Direction".
const char* CleaningRowLabel(int row);

// The first row (1..5) whose Min lies above its Max, or 0. Such a row would make every
// hour of its series bad, so a run with it is refused before it starts.
int FirstRowWithMinAboveMax(const CleaningLimits& limits);

// "The cleaning limits row "Drybulb T (F)" has its Min (200) above its Max (150)."
std::string MinAboveMaxText(const CleaningLimits& limits, int row);

}  // namespace kestrum
