#include "epw/epw_header.h"

#include "epw/text_lines.h"
#include "run/text_fields.h"

namespace kestrum {

namespace {

// A site text holds at most 255 characters.
constexpr size_t kMaxSiteText = 255;

std::string SiteText(std::string text) {
  if (text.size() > kMaxSiteText) text.resize(kMaxSiteText);
  return text;
}

// LOCATION,city,state,country,source,station,latitude,longitude,time zone,elevation
void TakeLocation(std::string_view line, size_t& pos, SiteInfo& site) {
  std::string field[11];  // field[2] .. field[10]; the keyword was field 1
  for (int i = 2; i <= 10; ++i) field[i] = NextField(line, pos, AfterQuote::Consume);
  site.description = SiteText(field[2] + "," + field[3] + "," + field[4]);
  site.latitude = SiteText(field[7]);
  site.longitude = SiteText(field[8]);
  site.timeZone = SiteText(field[9]);
  site.elevation = SiteText(field[10]);
}

}  // namespace

void ReadEPWHeader(const std::string& path, EpwHeader& header) {
  TextLineReader lines(path);
  std::string line;
  while (lines.Next(line)) {
    size_t pos = 1;
    const std::string keyword = ToUpperAscii(NextField(line, pos, AfterQuote::Consume));
    if (keyword == "LOCATION") {
      TakeLocation(line, pos, header.site);
      header.locationLine = lines.lineNumber();
    } else if (keyword == "COMMENTS 1") {
      header.comment = NextField(line, pos, AfterQuote::Consume);
      break;  // the header of interest ends here
    }
  }
}

}  // namespace kestrum
