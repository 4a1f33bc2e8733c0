// The site texts of an EPW file's header: LOCATION and COMMENTS 1.
#pragma once

#include <cstddef>
#include <string>

#include "run/run_state.h"

namespace kestrum {

struct EpwHeader {
  SiteInfo site;        // description, latitude, longitude, time zone, elevation (texts as read)
  std::string comment;  // COMMENTS 1, field 2
  size_t locationLine = 0;  // line number of the LOCATION line the site came from, 0 if none
};

// Scans the header of the EPW file at path and assigns the texts it finds; texts whose
// line is not found keep their previous value. Throws InputError when the file cannot
// be read.
void ReadEPWHeader(const std::string& path, EpwHeader& header);

}  // namespace kestrum
