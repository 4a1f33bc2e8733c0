// The site a weather file states in the lines above its column headers, in each of the
// forms of source_layouts.h.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "csv/source_layouts.h"
#include "run/run_state.h"

namespace kestrum {

struct LayoutSite {
  SiteInfo site;
  int line = 0;          // the line it stands on (the first of several)
  std::string problem;   // why that line cannot give it ("a double quote is not closed")
  // NamedValues: every value by the key (HeaderKey) of its name, units among them.
  std::map<std::string, std::string> metadata;
  // NamedValues: its "Time Zone" is 0 while its "Local Time Zone" is not: the rows are
  // stamped in UTC, the site keeps the local one.
  bool utcStamps = false;
  // KeyLines: no time zone stated; the site's is longitude / 15, rounded to whole hours.
  bool timeZoneFromLongitude = false;
};

// head: the file's first lines; headerIndex: the (0-based) line of its column headers.
//  - StationLine "station, name, state, time zone, latitude, longitude, elevation" (the
//    name quoted as distributed): the description is the name;
//  - NamedValues: latitude, longitude and elevation by their names, the time zone from
//    "Local Time Zone" (else "Time Zone"), the description from City, State and Country
//    where they are not "-", else "NSRDB " and the Location ID;
//  - KeyLines "Latitude (decimal degrees): 45.000", "Longitude ...", "Elevation (m): 250.0"
//    above the header line: the description "PVGIS 45.000, 8.000".
// A value the file does not state stays empty.
LayoutSite ReadLayoutSite(const SourceLayout& layout, const std::vector<std::string>& head,
                          size_t headerIndex);

}  // namespace kestrum
