#include "format/formatter.h"

#include <array>
#include <cmath>
#include <fstream>
#include <string>
#include <string_view>

#include "format/final_data_file.h"
#include "format/ft_file.h"
#include "format/moist_air_state.h"
#include "format/solar_position.h"
#include "run/calendar.h"
#include "run/hourly_table.h"
#include "run/run_error.h"
#include "run/text_fields.h"

namespace kestrum {

namespace {

constexpr double kMetresPerFoot = 0.3048;
constexpr float kRecordMissing = -999.0f;  // a neighbour hour the solar library does not get

// The site of the run as numbers.
struct SiteParameters {
  double latitude = 0;       // degrees, north positive
  double longitude = 0;      // degrees, east positive
  double longitudeWest = 0;  // degrees, west positive
  double timeZone = 0;       // hours, west negative
  double elevationFt = 0;
};

std::string_view Trimmed(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

// One site text as a number within lo..hi; the message names the field and the text.
double SiteValue(std::string_view field, const std::string& text, double lo, double hi,
                 std::string_view range) {
  double v = 0.0;
  const std::string shown(Trimmed(text));
  if (!ParseReal(text, v)) {
    throw RunError("The site " + std::string(field) + " \"" + shown + "\" is not a number.");
  }
  if (v < lo || v > hi) {
    throw RunError("The site " + std::string(field) + " " + shown + " is outside " +
                   std::string(range) + ".");
  }
  return v;
}

SiteParameters ReadSite(const SiteInfo& site) {
  SiteParameters p;
  p.latitude = SiteValue("latitude", site.latitude, -90.0, 90.0, "-90..90");
  p.longitude = SiteValue("longitude", site.longitude, -180.0, 180.0, "-180..180");
  p.timeZone = SiteValue("time zone", site.timeZone, -14.0, 14.0, "-14..14");
  const double elevationM = SiteValue("elevation", site.elevation, -500.0, 9000.0, "-500..9000 m");
  p.longitudeWest = -p.longitude;
  p.elevationFt = elevationM / kMetresPerFoot;
  return p;
}

constexpr std::array<const char*, 13> kMonthNames = {
    "",     "January", "February",  "March",   "April",    "May",     "June",
    "July", "August",  "September", "October", "November", "December"};

std::string HourText(int n, const CalendarHour& ch) {
  return "hour " + std::to_string(n) + " of the year (" + std::to_string(ch.day) + " " +
         kMonthNames[ch.month] + ", hour " + std::to_string(ch.hour) + ")";
}

// A text file written line by line through one large buffer; lines end with CR LF.
class LineFile {
 public:
  explicit LineFile(std::string path) : path_(std::move(path)) {
    out_.open(path_, std::ios::binary | std::ios::out | std::ios::trunc);
    if (!out_) throw RunError("The file " + path_ + " cannot be created.");
    pending_.reserve(kChunk + 256);
  }

  LineFile(const LineFile&) = delete;
  LineFile& operator=(const LineFile&) = delete;

  // A run that ends early leaves the lines written so far.
  ~LineFile() {
    if (out_.is_open()) out_.write(pending_.data(), static_cast<std::streamsize>(pending_.size()));
  }

  void WriteLine(std::string_view line) {
    pending_.append(line);
    pending_.append("\r\n");
    if (pending_.size() >= kChunk) Flush();
  }

  void Close() {
    Flush();
    out_.close();
    if (!out_) throw RunError("The file " + path_ + " cannot be written.");
  }

 private:
  static constexpr size_t kChunk = 1 << 16;

  void Flush() {
    out_.write(pending_.data(), static_cast<std::streamsize>(pending_.size()));
    pending_.clear();
    if (!out_) throw RunError("The file " + path_ + " cannot be written.");
  }

  std::string path_;
  std::ofstream out_;
  std::string pending_;
};

// Throws when a value of hour n is an infinity or a NaN: none may reach a file.
void RequireFinite(double v, const char* what, int n, const CalendarHour& ch) {
  if (!std::isfinite(v)) {
    throw RunError("The " + std::string(what) + " of " + HourText(n, ch) +
                   " is not a finite number.");
  }
}

}  // namespace

bool FormatWeatherData(const SiteInfo& site, bool epwUseRelHum, StageContext& ctx,
                       SolvaneLibrary& solvane) {
  if (solvane.init == nullptr || solvane.estimate == nullptr) {
    throw RunError("The solar library is not bound: direct normal cannot be estimated.");
  }
  SolarRecord* record = solvane.init();
  if (record == nullptr) throw RunError("The solar library gave no solar record.");

  RunState& state = ctx.state;
  const bool csvRun = state.runMode == RunModeCsv;
  const int kind = csvRun ? state.moistureIndicator + 1
                          : (epwUseRelHum ? kMoistureKindRelHum : kMoistureKindDewPoint);
  if (kind < kMoistureKindDewPoint || kind > kMoistureKindRelHum) {
    throw RunError("The moisture column is marked " + std::to_string(state.moistureIndicator) +
                   ", which is not a dew point (0), a wet bulb (1) or a relative humidity (2).");
  }
  state.moistureKind = static_cast<uint8_t>(kind);
  const SiteParameters sp = ReadSite(site);
  const float elevationM = static_cast<float>(sp.elevationFt * kMetresPerFoot);

  LineFile ft(ctx.RunFile(".ft"));
  LineFile fin(ctx.RunFile("-final.csv"));

  const HourlyTable& table = ctx.table;
  FtSite ftSite;
  ftSite.epw = !csvRun;
  ftSite.description = site.description;
  ftSite.latitude = sp.latitude;
  ftSite.longitude = sp.longitude;
  ftSite.timeZone = sp.timeZone;
  ft.WriteLine(FtSiteLine(ftSite));
  ft.WriteLine(FtFactorLine());
  ft.WriteLine(FtGroundLine(GroundTemperatures(table.series(DryBulb))));
  fin.WriteLine(kFinalDataHeader1);
  fin.WriteLine(kFinalDataHeader2);

  ctx.ui.EchoLine("  Performing hourly psychrometric calculations.");
  ctx.ui.Repaint();

  const float* dryBulb = table.series(DryBulb);
  const float* moisture = table.series(Moisture);
  const float* global = table.series(SolarHorizontal);
  const float* windSpeed = table.series(WindSpeed);
  const float* windDir = table.series(WindDirection);
  const float* directNormal = table.series(SolarDirectNormal);
  const float* snow = table.series(SnowFlag);
  const float* rain = table.series(RainFlag);
  const float* cloud = table.series(CloudType);

  std::string line;
  line.reserve(256);
  SolarDay sun;
  int sunDay = 0;  // the day sun was prepared for
  for (int n = 1; n <= kHoursPerYear; ++n) {
    const int i = n - 1;
    const CalendarHour ch = SplitHourOfYear(n);
    const int dayOfYear = YearDay(ch.month, ch.day);
    const double t = dryBulb[i];
    const double gh = global[i];

    MoistAirState air;
    try {
      air = MoistAirFromHour(n, t, moisture[i], kind, sp.elevationFt, ctx.ui);
    } catch (const RunError& e) {
      throw RunError(std::string(e.what()) + " At " + HourText(n, ch) + ".");
    }

    double dn = directNormal[i];
    if (directNormal[i] == kDirectNormalAbsent) {
      // Radiation neighbours cross day boundaries; solar-position neighbours keep the
      // day and pass hour 0 or 25, which the position helper takes as hour 24.
      if (sunDay != dayOfYear) {
        sun = SolarDayAt(dayOfYear, sp.latitude);
        sunDay = dayOfYear;
      }
      auto cosZenith = [&](int hour) {
        return static_cast<float>(HourlyCosZenith(sun, hour, sp.longitudeWest, sp.timeZone));
      };
      record->GlobalPrev = n == 1 ? kRecordMissing : global[i - 1];
      record->CosZenithPrev = n == 1 ? kRecordMissing : cosZenith(ch.hour - 1);
      record->Global = static_cast<float>(gh);
      record->CosZenith = cosZenith(ch.hour);
      record->GlobalNext = n == kHoursPerYear ? kRecordMissing : global[i + 1];
      record->CosZenithNext = n == kHoursPerYear ? kRecordMissing : cosZenith(ch.hour + 1);
      record->DewPointC = static_cast<float>((air.dewPointF - 32.0) / 1.8);
      record->DayOfYear = dayOfYear;
      record->ElevationM = elevationM;
      dn = solvane.estimate();
    }

    const struct {
      double value;
      const char* name;
    } checked[] = {
        {t, "dry bulb"},
        {air.pressureKPa, "station pressure"},
        {air.vapPressureKPa, "vapour pressure"},
        {air.humRatio, "humidity ratio"},
        {air.wetBulbF, "wet bulb"},
        {air.dewPointF, "dew point"},
        {air.relHumPct, "relative humidity"},
        {air.densityLbFt3, "dry-air density"},
        {air.enthalpyBtuLb, "enthalpy"},
        {gh, "global horizontal radiation"},
        {dn, "direct normal radiation"},
        {windSpeed[i], "wind speed"},
        {windDir[i], "wind direction"},
        {snow[i], "snow flag"},
        {rain[i], "rain flag"},
        {cloud[i], "cloud type"},
    };
    for (const auto& c : checked) RequireFinite(c.value, c.name, n, ch);

    FtHour fh;
    fh.month = ch.month;
    fh.day = ch.day;
    fh.hour = ch.hour;
    fh.wetBulbF = air.wetBulbF;
    fh.dryBulbF = t;
    fh.pressureKPa = air.pressureKPa;
    fh.snowFlag = snow[i];
    fh.rainFlag = rain[i];
    fh.windDirectionDeg = windDir[i];
    fh.humRatio = air.humRatio;
    fh.densityLbFt3 = air.densityLbFt3;
    fh.enthalpyBtuLb = air.enthalpyBtuLb;
    fh.globalWm2 = gh;
    fh.directNormalWm2 = dn;
    fh.cloudType = cloud[i];
    fh.windSpeedMph = windSpeed[i];
    line.clear();
    AppendFtRecord(line, fh);
    ft.WriteLine(line);

    FinalDataRow row;
    row.month = ch.month;
    row.day = ch.day;
    row.hour = ch.hour;
    row.dryBulbF = t;
    row.wetBulbF = air.wetBulbF;
    row.dewPointF = air.dewPointF;
    row.relHumPct = air.relHumPct;
    row.humRatio = air.humRatio;
    row.globalWm2 = gh;
    row.directNormalWm2 = dn;
    row.windSpeedMph = windSpeed[i];
    row.windDirectionDeg = windDir[i];
    line.clear();
    AppendFinalDataRow(line, row);
    fin.WriteLine(line);
  }

  ft.Close();
  fin.Close();
  ctx.ui.EchoLine("  Formatted weather data successfully.");
  ctx.ui.Repaint();
  return true;
}

}  // namespace kestrum
