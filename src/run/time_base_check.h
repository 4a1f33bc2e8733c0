// The clock of a run's hours checked against the sun of its site, and the site's time
// zone against its longitude. Both checks only warn: neither changes a value.
#pragma once

#include <optional>
#include <string>

#include "cleaning/repair_record.h"
#include "run/run_state.h"
#include "run/stage_context.h"

namespace kestrum {

// For the cleaned table of ctx: warns (ctx.Warn) when the time zone lies more than 3 hours
// from longitude / 15, and when the global horizontal radiation runs a whole number of
// hours early or late against the sun of the site (AlignWithSun over the hours whose
// radiation the cleaning pass left alone, per repairs; every hour when null), naming the
// --time-shift that aligns it. sourceFile: the file the run read (its name is shown); site:
// the texts of the running branch. Returns the shift (0 when aligned); nullopt when the
// site does not convert (the formatter refuses it) or the radiation holds no course of the
// sun to align.
std::optional<int> CheckTimeBase(const std::string& sourceFile, const SiteInfo& site,
                                 const StageContext& ctx, const RepairRecord* repairs);

// The warning for a shift k != 0, without indentation: "The sun in NAME runs 1 h early
// against the clock at longitude 8, time zone 1: ...; --time-shift 1 aligns it."
std::string SunShiftWarning(const std::string& fileName, int shiftHours, double longitude,
                            double timeZone);

// The warning for a time zone far from the longitude, without indentation.
std::string TimeZoneWarning(const std::string& fileName, double timeZone, double longitude);

}  // namespace kestrum
