// Writing EPW data rows: the values of the table in EPW units and decimals, a source row
// with some of its fields replaced (every other byte kept), and a complete row made from
// values, with EPW's missing codes for the fields nothing supplies.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "format/text_sink.h"

namespace kestrum {

// The fields of a row that the writer may replace, numbered from 1 as the reader counts.
enum EpwField : int {
  kEpwMonth = 2,
  kEpwDay = 3,
  kEpwHour = 4,
  kEpwDryBulb = 7,        // deg C, 1 decimal
  kEpwDewPoint = 8,       // deg C, 1 decimal
  kEpwRelHum = 9,         // %, whole
  kEpwGlobal = 14,        // Wh/m2, whole
  kEpwDirectNormal = 15,  // Wh/m2, whole
  kEpwWindDirection = 21, // degrees, whole
  kEpwWindSpeed = 22,     // m/s, 1 decimal
};
inline constexpr int kEpwLastEditableField = 22;

// The table's stored units turned into EPW's: the inverses of the reader's conversions
// (deg C x 1.8 + 32; m/s x 2.23).
inline double EpwCelsius(double degF) { return (degF - 32.0) / 1.8; }
inline double EpwMetresPerSecond(double mph) { return mph / 2.23; }

// Where each of the first 22 fields of a row lies: [begin, end) in bytes, as the field
// scanner splits the row (leading blanks belong to the field, the delimiter does not).
struct EpwFieldSpans {
  std::array<uint32_t, kEpwLastEditableField + 1> begin{};  // index = field number
  std::array<uint32_t, kEpwLastEditableField + 1> end{};
  int count = 0;  // fields found, at most 22
};
EpwFieldSpans SplitEpwFieldSpans(std::string_view row);

// Replacements for some fields of one row; fields not set keep their bytes.
class EpwFieldEdits {
 public:
  // A number rounded to `decimals` decimals, halves away from zero, "." as separator.
  void SetNumber(int field, double value, int decimals);
  void SetWhole(int field, int64_t value);
  bool empty() const { return count_ == 0; }
  bool has(int field) const { return (mask_ >> field) & 1u; }

  // Appends row with the edited fields replaced (a row with fewer fields than an edit
  // names gets empty fields up to it). No line end.
  void Apply(TextSink& out, std::string_view row) const;

 private:
  struct Edit {
    int field;
    double value;
    int decimals;
  };
  std::array<Edit, 12> edits_{};
  int count_ = 0;
  uint32_t mask_ = 0;
};

// One hour of a complete row, in EPW units.
struct EpwRowValues {
  std::string_view year = "2005";
  int month = 1, day = 1, hour = 1;
  std::string_view minute = "0";
  double dryBulbC = 0, dewPointC = 0, relHumPct = 0;
  double pressurePa = 101325;
  double globalWh = 0, directNormalWh = 0, diffuseWh = 0;
  double windDirectionDeg = 0, windSpeedMs = 0;
  // Present weather: "9" (no observation) and its nine "not given" digits, unless the
  // source gives rain or snow flags.
  std::string_view presentWeatherObserved = "9";
  std::array<char, 9> presentWeatherCodes = {'9', '9', '9', '9', '9', '9', '9', '9', '9'};
};

// The data-source and uncertainty field of a made row: "?9" (source and uncertainty not
// known) for each of the row's 25 data fields.
inline constexpr std::string_view kEpwUnknownSourceFlags =
    "?9?9?9?9?9?9?9?9?9?9?9?9?9?9?9?9?9?9?9?9?9?9?9?9?9";

// Appends the 35 fields of a row (no line end): the given values, and EPW's missing
// codes for extraterrestrial and infrared radiation (9999), illuminances (999999),
// zenith luminance (9999), sky cover (99), visibility (9999), ceiling height (99999),
// precipitable water (999), aerosol optical depth (.999), snow depth (999), days since
// snow (99), albedo (999) and liquid precipitation (999, 99).
void AppendEpwRow(TextSink& out, const EpwRowValues& v);

// Diffuse horizontal, Wh/m2: global minus direct normal times the cosine of the zenith,
// never below 0 (and the global itself when the sun is down, cosZenith <= 0).
double DiffuseFromGlobal(double globalWh, double directNormalWh, double cosZenith);

}  // namespace kestrum
