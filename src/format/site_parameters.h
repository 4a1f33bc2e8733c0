// The site of a run as numbers, from the five texts of the running branch.
#pragma once

#include <optional>
#include <string>

#include "run/run_error.h"
#include "run/run_state.h"

namespace kestrum {

enum class SiteField { Latitude, Longitude, TimeZone, Elevation };

// A site text that is no number or out of its range; field() names the text when known.
class SiteValueError : public RunError {
 public:
  using RunError::RunError;
  SiteValueError(const std::string& message, SiteField field) : RunError(message), field_(field) {}
  std::optional<SiteField> field() const { return field_; }

 private:
  std::optional<SiteField> field_;
};

struct SiteParameters {
  double latitude = 0;       // degrees, north positive, -90..90
  double longitude = 0;      // degrees, east positive, -180..180
  double longitudeWest = 0;  // degrees, west positive (the longitude with its sign reversed)
  double timeZone = 0;       // hours from Greenwich, west negative, -14..14
  double elevationFt = 0;    // the elevation text (metres, -500..9000) in feet
};

// Converts the latitude, longitude, time-zone and elevation texts ("." as decimal
// separator). Throws SiteValueError naming the field and its text when a text is not a number
// ("The site latitude "abc" is not a number.") or lies outside its range
// ("The site latitude 722886 is outside -90..90.").
SiteParameters ReadSiteParameters(const SiteInfo& site);

// One site text as ReadSiteParameters converts it (the elevation in metres, as typed);
// throws SiteValueError naming the field.
double ReadSiteValue(SiteField field, const std::string& text);

}  // namespace kestrum
