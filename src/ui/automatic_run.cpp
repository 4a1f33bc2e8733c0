#include "ui/automatic_run.h"

#include <exception>
#include <filesystem>
#include <system_error>

#include "run/text_fields.h"

namespace kestrum::ui {

namespace fs = std::filesystem;

namespace {

bool IsFile(const std::string& path) {
  std::error_code ec;
  return !path.empty() && fs::is_regular_file(path, ec);
}

}  // namespace

bool IsAutomaticMode(const QStringList& arguments) {
  return !arguments.isEmpty() && arguments.first().toUpper().contains(QStringLiteral("/A"));
}

int RequiredCsvColumns(int dateInd, int solarInd) {
  int dateItems = 0;
  switch (dateInd) {
    case 0: dateItems = 1; break;  // one date-time field
    case 1: dateItems = 3; break;  // month, day, hour
    case 2: dateItems = 0; break;  // rows in hour order
    default: return -1;
  }
  if (solarInd != 0 && solarInd != 1) return -1;
  // dry bulb, moisture, horizontal solar, [direct normal], wind speed, wind direction
  return dateItems + 5 + solarInd;
}

bool StoredFieldMapComplete(const Settings& settings) {
  return CsvFieldMapComplete(settings.csvFieldMap);
}

AutoChoice ChooseAutomaticRun(const Settings& settings) {
  AutoChoice choice;
  if (IsFile(settings.epwFileName)) {
    choice.branch = AutoBranch::Epw;
    return choice;
  }
  const bool csvFile = IsFile(settings.csvFileName);
  if (csvFile && StoredFieldMapComplete(settings)) {
    choice.branch = AutoBranch::Csv;
    return choice;
  }
  const std::string lead = "     Automatic run: ";
  if (settings.epwFileName.empty()) {
    choice.reasons.push_back(lead + "no EPW file is stored in the settings.");
  } else {
    choice.reasons.push_back(lead + "the stored EPW file " + settings.epwFileName +
                             " does not exist.");
  }
  if (settings.csvFileName.empty()) {
    choice.reasons.push_back(lead + "no CSV file is stored in the settings.");
  } else if (!csvFile) {
    choice.reasons.push_back(lead + "the stored CSV file " + settings.csvFileName +
                             " does not exist.");
  } else {
    // The reader's own refusal names the item that has no usable column.
    std::string why = "the stored CSV field specification does not assign every required column.";
    try {
      CsvColumnNumbers(settings.csvFieldMap);
    } catch (const std::exception& e) {
      why = e.what();
    }
    choice.reasons.push_back(lead + why);
  }
  choice.reasons.push_back(lead + "nothing was converted.");
  return choice;
}

}  // namespace kestrum::ui
