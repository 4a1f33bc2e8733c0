// The EPW header reader over any file: it reads or refuses with an input error, and every
// site text it keeps holds at most 255 characters.
#include <cstddef>
#include <cstdint>

#include "epw/epw_header.h"
#include "fuzz_support.h"
#include "run/run_error.h"

using namespace kestrum;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string path = fuzz::WriteInput("header.epw", data, size);
  EpwHeader header;
  header.site.latitude = "kept";
  try {
    ReadEPWHeader(path, header);
  } catch (const InputError&) {
    return 0;  // a line over 1 MB
  }
  const SiteInfo& s = header.site;
  for (const std::string* text :
       {&s.description, &s.latitude, &s.longitude, &s.timeZone, &s.elevation}) {
    if (text->size() > 255) fuzz::Broken("a site text longer than 255 characters");
  }
  if (header.locationLine == 0 && s.latitude != "kept") fuzz::Broken("a site without its line");
  return 0;
}
