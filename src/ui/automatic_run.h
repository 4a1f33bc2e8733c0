// The automatic mode ("/A" on the command line): whether it is selected, and which
// conversion an automatic run performs with the settings stored at start.
#pragma once

#include <QStringList>
#include <string>
#include <vector>

#include "config/settings.h"

namespace kestrum::ui {

// Only the first argument counts: automatic when, upper-cased, it contains "/A"
// ("/a", "/Auto" and "x/ay" qualify). arguments excludes the program name.
bool IsAutomaticMode(const QStringList& arguments);

// The number of required columns of a CSV field map: the date items of the
// date form (1, 3 or none), dry bulb, moisture, horizontal solar, direct normal when the
// solar choice includes it, wind speed and wind direction. -1 for a date form or solar
// choice that no conversion accepts.
int RequiredCsvColumns(int dateInd, int solarInd);

// True when every required column of the stored CSV field map is assigned a
// whole decimal number.
bool StoredFieldMapComplete(const Settings& settings);

enum class AutoBranch { None, Epw, Csv };

struct AutoChoice {
  AutoBranch branch = AutoBranch::None;
  // When nothing can run: the log lines that say why (indented as findings).
  std::vector<std::string> reasons;
};

// The EPW conversion when the stored EPW file exists; otherwise the CSV conversion when
// the stored CSV file exists and its stored field map is complete; otherwise
// nothing, with the reasons.
AutoChoice ChooseAutomaticRun(const Settings& settings);

}  // namespace kestrum::ui

namespace kestrum::ui {

// Exit statuses of an automatic run (the same as kestrum-cli's).
inline constexpr int kAutoExitConverted = 0;
inline constexpr int kAutoExitError = 1;  // an error, or nothing could be converted
inline constexpr int kAutoExitCleaningFailed = 3;

}  // namespace kestrum::ui
