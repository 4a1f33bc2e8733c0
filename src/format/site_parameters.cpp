#include "format/site_parameters.h"

#include <string>
#include <string_view>

#include "run/text_fields.h"

namespace kestrum {

namespace {

constexpr double kMetresPerFoot = 0.3048;

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
    throw SiteValueError("The site " + std::string(field) + " \"" + shown + "\" is not a number.");
  }
  if (v < lo || v > hi) {
    throw SiteValueError("The site " + std::string(field) + " " + shown + " is outside " +
                   std::string(range) + ".");
  }
  return v;
}

}  // namespace

SiteParameters ReadSiteParameters(const SiteInfo& site) {
  SiteParameters p;
  p.latitude = SiteValue("latitude", site.latitude, -90.0, 90.0, "-90..90");
  p.longitude = SiteValue("longitude", site.longitude, -180.0, 180.0, "-180..180");
  p.timeZone = SiteValue("time zone", site.timeZone, -14.0, 14.0, "-14..14");
  const double elevationM =
      SiteValue("elevation", site.elevation, -500.0, 9000.0, "-500..9000 m");
  p.longitudeWest = -p.longitude;
  p.elevationFt = elevationM / kMetresPerFoot;
  return p;
}

}  // namespace kestrum
