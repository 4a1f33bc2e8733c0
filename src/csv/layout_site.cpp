#include "csv/layout_site.h"

#include <algorithm>
#include <cmath>

#include "csv/csv_headers.h"
#include "run/text_fields.h"

namespace kestrum {

namespace {

std::string Trimmed(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return std::string(s);
}

// The fields of a line, a quoted field taken with the delimiter after it (as header and
// metadata lines are read).
std::vector<std::string> Fields(std::string_view line) {
  std::vector<std::string> fields;
  std::string quoted;
  for (size_t pos = 1; pos <= line.size();) {
    fields.push_back(Trimmed(NextFieldView(line, pos, quoted, AfterQuote::Consume)));
  }
  return fields;
}

void ReadStationLine(const std::string& line, LayoutSite& out) {
  size_t pos = 1;
  std::string station[7];
  for (std::string& field : station) NextField(line, pos, field, AfterQuote::Consume);
  out.site.description = station[1];
  out.site.timeZone = station[3];
  out.site.latitude = station[4];
  out.site.longitude = station[5];
  out.site.elevation = station[6];
  // A quote that is not closed takes the rest of the line into the station's name.
  if (std::count(line.begin(), line.end(), '"') % 2 != 0) {
    out.problem = "a double quote is not closed";
  }
}

void ReadNamedValues(const std::string& names, const std::string& values, LayoutSite& out) {
  const std::vector<std::string> keys = Fields(names);
  const std::vector<std::string> texts = Fields(values);
  for (size_t i = 0; i < keys.size() && i < texts.size(); ++i) {
    out.metadata.emplace(HeaderKey(keys[i]), texts[i]);
  }
  const auto value = [&](const char* name) {
    const auto it = out.metadata.find(HeaderKey(name));
    return it == out.metadata.end() ? std::string() : it->second;
  };
  out.site.latitude = value("Latitude");
  out.site.longitude = value("Longitude");
  out.site.elevation = value("Elevation");
  const std::string zone = value("Time Zone");
  const std::string local = value("Local Time Zone");
  out.site.timeZone = local.empty() ? zone : local;
  double zoneHours = 0, localHours = 0;
  out.utcStamps = ParseReal(zone, zoneHours) && ParseReal(local, localHours) &&
                  zoneHours == 0 && localHours != 0;
  std::string place;
  for (const char* part : {"City", "State", "Country"}) {
    const std::string text = value(part);
    if (text.empty() || text == "-") continue;
    place += (place.empty() ? "" : ", ") + text;
  }
  const std::string id = value("Location ID");
  out.site.description = !place.empty() ? place : id.empty() ? "NSRDB" : "NSRDB " + id;
}

// "Latitude (decimal degrees): 45.000": the key of "Latitude" and the value.
void ReadKeyLines(const std::vector<std::string>& head, size_t headerIndex, LayoutSite& out) {
  for (size_t i = 0; i < headerIndex && i < head.size(); ++i) {
    const std::string& line = head[i];
    const size_t colon = line.find(':');
    if (colon == std::string::npos) continue;
    std::string key = HeaderKey(line.substr(0, colon));
    if (const size_t open = key.find('('); open != std::string::npos) key.resize(open);
    std::string value = Trimmed(line.substr(colon + 1));
    if (const size_t end = value.find_first_of(" \t,"); end != std::string::npos) value.resize(end);
    std::string* target = key == "LATITUDE"    ? &out.site.latitude
                          : key == "LONGITUDE" ? &out.site.longitude
                          : key == "ELEVATION" ? &out.site.elevation
                                               : nullptr;
    if (target == nullptr || !target->empty()) continue;
    *target = value;
    if (out.line == 0) out.line = static_cast<int>(i) + 1;
  }
  out.site.description = "PVGIS " + out.site.latitude + ", " + out.site.longitude;
  double longitude = 0;
  if (ParseReal(out.site.longitude, longitude) && std::fabs(longitude) <= 180) {
    const long zone = std::lround(longitude / 15.0);
    out.site.timeZone = std::to_string(zone);
    out.timeZoneFromLongitude = true;
  }
}

}  // namespace

LayoutSite ReadLayoutSite(const SourceLayout& layout, const std::vector<std::string>& head,
                          size_t headerIndex) {
  LayoutSite out;
  const auto lineAt = [&](int number) {
    return number >= 1 && static_cast<size_t>(number) <= head.size()
               ? head[static_cast<size_t>(number - 1)]
               : std::string();
  };
  switch (layout.siteForm) {
    case SiteForm::StationLine:
      out.line = layout.siteLine;
      ReadStationLine(lineAt(layout.siteLine), out);
      break;
    case SiteForm::NamedValues:
      out.line = layout.siteLine + 1;
      ReadNamedValues(lineAt(layout.siteLine), lineAt(layout.siteLine + 1), out);
      break;
    case SiteForm::KeyLines:
      ReadKeyLines(head, headerIndex, out);
      if (out.line == 0) out.line = 1;
      break;
  }
  return out;
}

}  // namespace kestrum
