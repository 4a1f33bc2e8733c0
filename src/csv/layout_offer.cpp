#include "csv/layout_offer.h"

#include <optional>
#include <string_view>

#include "run/hour_placement.h"

namespace kestrum {

namespace {

std::string_view Trimmed(std::string_view text) {
  const size_t start = text.find_first_not_of(" \t");
  if (start == std::string_view::npos) return {};
  return text.substr(start, text.find_last_not_of(" \t") - start + 1);
}

}  // namespace

std::string LayoutOfferText(const LayoutMatch& match) {
  std::string text = "This looks like " + match.description + ": use its layout?";
  if (match.timeBase == TimeBase::Utc && !UtcShiftForTimeZone(match.site.timeZone)) {
    // The shift box takes whole hours only: such rows stay in UTC unless the user moves them.
    text += "\n\nIts rows are stamped in UTC, and its time zone, " +
            std::string(Trimmed(match.site.timeZone)) +
            ", is not a whole number of hours: they are not moved to local time. Set \"Shift "
            "hours by:\" to the whole hours you want them moved.";
  }
  if (match.missing.empty()) return text;
  text += "\n\nIt lacks ";
  for (size_t i = 0; i < match.missing.size(); ++i) {
    const MissingItem& item = match.missing[i];
    text += i == 0 ? "" : i + 1 == match.missing.size() ? " and " : ", ";
    text += item.name;
    if (!item.why.empty()) {
      text += " (its column " + item.why + ")";
    } else if (!item.header.empty()) {
      text += " (no column is headed \"" + item.header + "\")";
    }
  }
  text += match.missing.size() == 1 ? ": the field specification window will need a column for it."
                                    : ": the field specification window will need columns for them.";
  return text;
}

std::vector<std::string> LayoutRunNotes(const LayoutMatch& match, const SiteInfo& site,
                                        int timeShiftHours, GivenTimeOptions given) {
  std::vector<std::string> notes;
  if (!match.timeZoneNote.empty() && !given.timeZone &&
      Trimmed(site.timeZone) == Trimmed(match.site.timeZone)) {
    notes.push_back(match.timeZoneNote);
  }
  if (match.timeBase == TimeBase::Utc && !given.timeShift &&
      UtcShiftForTimeZone(site.timeZone) == std::optional<int>(timeShiftHours)) {
    notes.push_back(UtcStampsNote(timeShiftHours));
  }
  return notes;
}

}  // namespace kestrum
