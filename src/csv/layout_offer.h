// What the front ends make of a source layout found in a file: the desktop program's offer
// ("This looks like an NSRDB PSM file (half-hourly, UTC): use its layout?") and the lines a
// run taken by the layout says before it reads, which the desktop program and the command
// line decide alike.
#pragma once

#include <string>
#include <vector>

#include "csv/layout_match.h"
#include "run/run_state.h"

namespace kestrum {

// The question that offers the layout: "This looks like <description>: use its layout?";
// for rows stamped in UTC at a time zone of no whole hours, a paragraph saying they stay in
// UTC; when the file lacks required items, a paragraph naming them (as the field window
// does: "WindDir") and saying that the field specification window will need them.
std::string LayoutOfferText(const LayoutMatch& match);

// The lines a run read by the layout says before it reads (indented, in this order), for
// the run's site and time shift as they stand when it starts:
// - the layout's time zone note (the zone taken from the longitude) while the site's time
//   zone is still that zone;
// - for rows stamped in UTC, the note of their move (UtcStampsNote) while the shift is the
//   one of the site's time zone (UtcShiftForTimeZone).
// A time zone or a shift the user chose otherwise makes its note no longer true: it is left out.
// So is one the user gave in so many words (the command line's --tz, --time-shift), even when
// it equals the layout's: the run then does what was asked, not what the layout took.
struct GivenTimeOptions {
  bool timeZone = false;
  bool timeShift = false;
};
std::vector<std::string> LayoutRunNotes(const LayoutMatch& match, const SiteInfo& site,
                                        int timeShiftHours, GivenTimeOptions given = {});

}  // namespace kestrum
