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
double SiteValue(SiteField field, std::string_view name, const std::string& text, double lo,
                 double hi, std::string_view range) {
  double v = 0.0;
  const std::string shown(Trimmed(text));
  if (!ParseReal(text, v)) {
    throw SiteValueError("The site " + std::string(name) + " \"" + shown + "\" is not a number.",
                         field);
  }
  if (v < lo || v > hi) {
    throw SiteValueError("The site " + std::string(name) + " " + shown + " is outside " +
                             std::string(range) + ".",
                         field);
  }
  return v;
}

}  // namespace

double ReadSiteValue(SiteField field, const std::string& text) {
  switch (field) {
    case SiteField::Latitude:
      return SiteValue(field, "latitude", text, -90.0, 90.0, "-90..90");
    case SiteField::Longitude:
      return SiteValue(field, "longitude", text, -180.0, 180.0, "-180..180");
    case SiteField::TimeZone:
      return SiteValue(field, "time zone", text, -14.0, 14.0, "-14..14");
    case SiteField::Elevation:
      break;
  }
  return SiteValue(field, "elevation", text, -500.0, 9000.0, "-500..9000 m");
}

SiteParameters ReadSiteParameters(const SiteInfo& site) {
  SiteParameters p;
  p.latitude = ReadSiteValue(SiteField::Latitude, site.latitude);
  p.longitude = ReadSiteValue(SiteField::Longitude, site.longitude);
  p.timeZone = ReadSiteValue(SiteField::TimeZone, site.timeZone);
  const double elevationM = ReadSiteValue(SiteField::Elevation, site.elevation);
  p.longitudeWest = -p.longitude;
  p.elevationFt = elevationM / kMetresPerFoot;
  return p;
}

}  // namespace kestrum
