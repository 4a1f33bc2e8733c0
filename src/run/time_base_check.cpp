#include "run/time_base_check.h"

#include <array>
#include <cstdlib>
#include <filesystem>

#include "format/fixed_text.h"
#include "format/site_parameters.h"
#include "format/sun_alignment.h"
#include "run/hourly_table.h"
#include "run/run_error.h"

namespace kestrum {

namespace {

// A site value as a person writes it: at most two decimals, no trailing zeros
// (-105.18, -7, 5.33).
std::string Shown(double v) {
  std::string text = FormatFixed(v, 0, 2);
  while (text.back() == '0') text.pop_back();
  if (text.back() == '.') text.pop_back();
  return text == "-0" ? "0" : text;
}

}  // namespace

std::string SunShiftWarning(const std::string& fileName, int shiftHours, double longitude,
                            double timeZone) {
  return "The sun in " + fileName + " runs " + std::to_string(std::abs(shiftHours)) + " h " +
         (shiftHours > 0 ? "early" : "late") + " against the clock at longitude " +
         Shown(longitude) + ", time zone " + Shown(timeZone) +
         ": the file may be stamped in UTC or at the start of each hour; --time-shift " +
         std::to_string(shiftHours) + " aligns it.";
}

std::string TimeZoneWarning(const std::string& fileName, double timeZone, double longitude) {
  return "The time zone " + Shown(timeZone) + " of " + fileName +
         " is more than 3 hours away from its longitude " + Shown(longitude) + " / 15 = " +
         Shown(LongitudeTimeZone(longitude)) + ": check the site's time zone and longitude.";
}

std::optional<int> CheckTimeBase(const std::string& sourceFile, const SiteInfo& site,
                                 const StageContext& ctx, const RepairRecord* repairs) {
  SiteParameters sp;
  try {
    sp = ReadSiteParameters(site);
  } catch (const RunError&) {
    return std::nullopt;  // the formatter says what is wrong with the site
  }
  const std::string name = std::filesystem::path(sourceFile).filename().string();
  if (TimeZoneFarFromLongitude(sp.timeZone, sp.longitude)) {
    ctx.Warn("     " + TimeZoneWarning(name, sp.timeZone, sp.longitude));
  }
  std::array<bool, kHoursPerYear> measured{};
  for (int h = 1; h <= kHoursPerYear; ++h) {
    measured[static_cast<size_t>(h - 1)] =
        repairs == nullptr || repairs->MethodAt(SolarHorizontal, h) == RepairMethod::None;
  }
  const std::optional<SunAlignment> a =
      AlignWithSun({ctx.table.series(SolarHorizontal), static_cast<size_t>(kHoursPerYear)},
                   sp.latitude, sp.longitudeWest, sp.timeZone, measured);
  if (!a) return std::nullopt;
  if (a->shiftHours != 0) {
    ctx.Warn("     " + SunShiftWarning(name, a->shiftHours, sp.longitude, sp.timeZone));
  }
  return a->shiftHours;
}

}  // namespace kestrum
