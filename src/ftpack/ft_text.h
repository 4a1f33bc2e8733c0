// The FT weather text file as the packer sees it: every field held as the exact scaled
// integer of its printed decimals, so that reading and printing are lossless.
//
//   line 1   site: description (columns 1-25), latitude (26-33, 2 decimals), longitude
//            west positive (34-41, 2 decimals), time zone west positive (42-46), and a
//            site code (47-51, "    5")
//   line 2   twelve monthly factors, 6 characters with 2 decimals each
//   line 3   twelve monthly ground temperatures in deg R, 6 characters with 1 decimal each
//   4..8763  one 78-character record per hour of the 365-day year, in order
//
// Every line ends with CR LF. A field is accepted only in the exact form the FT writer
// gives it (right-aligned, no leading zeros, no "-0"), so printing the parsed values
// rebuilds the file byte for byte.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kestrum::ftpack {

inline constexpr int kFtHours = 8760;
inline constexpr size_t kFtDescriptionWidth = 25;
inline constexpr size_t kFtSiteLineWidth = 51;
inline constexpr size_t kFtMonthlyLineWidth = 72;
inline constexpr size_t kFtRecordWidth = 78;

// A fixed-width number: `width` characters, right-aligned, `decimals` decimals; `point`
// adds a period after the field (a whole number written "  37.").
struct FieldFormat {
  int width;
  int decimals;
  bool point;
};

inline constexpr FieldFormat kLatitudeFormat{8, 2, false};
inline constexpr FieldFormat kLongitudeFormat{8, 2, false};
inline constexpr FieldFormat kTimeZoneFormat{5, 0, false};
inline constexpr FieldFormat kSiteCodeFormat{5, 0, false};
inline constexpr FieldFormat kMonthFactorFormat{6, 2, false};
inline constexpr FieldFormat kGroundTempFormat{6, 1, false};

// The fields of an hourly record, left to right.
enum HourField : int {
  kMonth,       // I2
  kDay,         // I2
  kHour,        // I2, 1..24
  kWetBulb,     // deg F, whole, "w.0." in 5 characters
  kDryBulb,     // deg F, whole
  kPressure,    // inches of mercury, 0.1
  kSpare,       // always 0 from the FT writer, whole
  kSnow,        // I3 flag
  kRain,        // I3 flag
  kSector,      // I4 wind-direction sector 0..15
  kHumRatio,    // lb/lb, 0.0001
  kDensity,     // lb/ft3, 0.001
  kEnthalpy,    // Btu/lb, 0.1
  kGlobal,      // Btu/(h ft2), 0.1
  kDirect,      // Btu/(h ft2), 0.1
  kCloud,       // I3 cloud type
  kWindSpeed,   // knots, whole
  kHourFieldCount
};

inline constexpr std::array<FieldFormat, kHourFieldCount> kHourFieldFormats = {{
    {2, 0, false}, {2, 0, false}, {2, 0, false}, {4, 0, true}, {4, 0, true}, {6, 1, false},
    {4, 0, true},  {3, 0, false}, {3, 0, false}, {4, 0, false}, {7, 4, false}, {6, 3, false},
    {6, 1, false}, {7, 1, false}, {7, 1, false}, {3, 0, false}, {4, 0, true},
}};

struct FtSiteFields {
  std::array<char, kFtDescriptionWidth> description{};  // columns 1-25 exactly as written
  int32_t latitude = 0;       // 0.01 degree, north positive
  int32_t westLongitude = 0;  // 0.01 degree, west positive
  int32_t westTimeZone = 0;   // hours, west positive
  int32_t siteCode = 5;
};

// One hourly record; each value is its printed number times 10^decimals.
using FtHourFields = std::array<int32_t, kHourFieldCount>;

struct FtData {
  FtSiteFields site;
  std::array<int32_t, 12> monthFactors{};  // 0.01
  std::array<int32_t, 12> groundTemps{};   // 0.1 deg R
  std::vector<FtHourFields> hours;         // kFtHours records
};

// Appends `scaled` / 10^decimals in format f. Returns false when the number needs more
// characters than the width (it is then written in full, never cut).
bool AppendField(std::string& out, int32_t scaled, FieldFormat f);

// True when AppendField writes the number within f.width characters.
bool FitsField(int32_t scaled, FieldFormat f);

// Reads a field of exactly f.width characters (plus the period when f.point). True only
// when text is exactly what AppendField writes for the value.
bool ParseField(std::string_view text, FieldFormat f, int32_t& scaled);

enum class FtStatus {
  Ok,
  BadHeader,  // one of the three header lines is missing or malformed
  BadHours,   // an hourly record is missing or malformed, or text follows the last one
};

struct FtParseResult {
  FtStatus status = FtStatus::Ok;
  std::string reason;  // names the line and shows its text
  bool ok() const { return status == FtStatus::Ok; }
};

// Reads a whole FT file. On any status but Ok, data may be partly filled.
FtParseResult ParseFtText(std::string_view text, FtData& data);

// Rebuilds the FT text with CR LF line ends. For data from ParseFtText the result is
// byte-identical to the text that was parsed.
std::string PrintFtText(const FtData& data);

// Empty when data can be printed as an FT file: every value fits its field, the
// description holds no line break and the records run from 1 January hour 1 to
// 31 December hour 24. Otherwise the first problem found.
std::string CheckFtData(const FtData& data);

// Month, day and hour (1..24) of hour of year h (1..8760), hour 24 ending its day.
void CalendarOfHour(int h, int& month, int& day, int& hour);

}  // namespace kestrum::ftpack
