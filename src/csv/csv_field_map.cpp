#include "csv/csv_field_map.h"

#include "run/hour_placement.h"
#include "run/run_error.h"
#include "run/text_fields.h"

namespace kestrum {

std::vector<CsvSlot> CsvLayout(int32_t dateInd, int32_t moistInd, int32_t solarInd) {
  std::vector<CsvSlot> layout;
  if (dateInd < kDateOneField || dateInd > kDateNone) return layout;
  if (solarInd != kSolarGlobal && solarInd != kSolarGlobalAndDirect) return layout;
  if (dateInd == kDateOneField) {
    layout.push_back({CsvItem::Date, "Date", true});
  } else if (dateInd == kDateThreeFields) {
    layout.push_back({CsvItem::Month, "Month", true});
    layout.push_back({CsvItem::Day, "Day", true});
    layout.push_back({CsvItem::Hour, "Hour", true});
  }
  layout.push_back({CsvItem::DryBulb, "DBTemp", true});
  if (moistInd == 0) {
    layout.push_back({CsvItem::DewPoint, "DewPtT", true});
  } else if (moistInd == 2) {
    layout.push_back({CsvItem::RelHum, "RelHum", true});
  } else {
    layout.push_back({CsvItem::WetBulb, "WetBlb", true});
  }
  layout.push_back({CsvItem::SolarHorizontal, "SolarHor", true});
  if (solarInd == kSolarGlobalAndDirect) {
    layout.push_back({CsvItem::SolarDirectNormal, "SolarDN", true});
  }
  layout.push_back({CsvItem::WindSpeed, "WindSpd", true});
  layout.push_back({CsvItem::WindDirection, "WindDir", true});
  layout.push_back({CsvItem::SnowFlag, "SnowFlag", false});
  layout.push_back({CsvItem::RainFlag, "RainFlag", false});
  layout.push_back({CsvItem::CloudType, "CldType", false});
  return layout;
}

int CsvSlotOf(const std::vector<CsvSlot>& layout, CsvItem item) {
  for (size_t i = 0; i < layout.size(); ++i) {
    if (layout[i].item == item) return static_cast<int>(i);
  }
  return -1;
}

bool ConstantAllowed(CsvItem item) {
  switch (item) {
    case CsvItem::DewPoint:
    case CsvItem::WetBulb:
    case CsvItem::RelHum:
    case CsvItem::SolarDirectNormal:
    case CsvItem::WindSpeed:
    case CsvItem::WindDirection: return true;
    default: return false;
  }
}

namespace {

bool IsMoisture(CsvItem item) {
  return item == CsvItem::DewPoint || item == CsvItem::WetBulb || item == CsvItem::RelHum;
}

}  // namespace

const CsvConstant* ConstantOf(const CsvFieldMap& fieldMap, CsvItem item) {
  for (const CsvConstant& c : fieldMap.constants) {
    if (c.item == item || (IsMoisture(c.item) && IsMoisture(item))) return &c;
  }
  return nullptr;
}

bool CsvFieldMapComplete(const CsvFieldMap& fieldMap) {
  return !CsvLayout(fieldMap.dateInd, fieldMap.moistInd, fieldMap.solarInd).empty() &&
         CsvMissingRequired(fieldMap).empty();
}

std::vector<std::string> CsvMissingRequired(const CsvFieldMap& fieldMap) {
  std::vector<std::string> missing;
  const std::vector<CsvSlot> layout = CsvLayout(fieldMap.dateInd, fieldMap.moistInd, fieldMap.solarInd);
  for (size_t slot = 0; slot < layout.size(); ++slot) {
    if (!layout[slot].required || ConstantOf(fieldMap, layout[slot].item) != nullptr) continue;
    int64_t column = 0;
    if (!ParseWholeNumber(fieldMap.columns[slot], column)) missing.emplace_back(layout[slot].name);
  }
  return missing;
}

CsvFieldMap CarryCsvColumns(const CsvFieldMap& from, CsvFieldMap to) {
  const std::vector<CsvSlot> fromLayout = CsvLayout(from.dateInd, from.moistInd, from.solarInd);
  const std::vector<CsvSlot> toLayout = CsvLayout(to.dateInd, to.moistInd, to.solarInd);
  to.columns = {};
  for (size_t slot = 0; slot < toLayout.size(); ++slot) {
    const int source = CsvSlotOf(fromLayout, toLayout[slot].item);
    if (source >= 0) to.columns[slot] = from.columns[static_cast<size_t>(source)];
  }
  return to;
}

std::vector<int> CsvColumnNumbers(const CsvFieldMap& fieldMap) {
  const std::string lead = "The CSV field specification ";
  if (fieldMap.dateInd < kDateOneField || fieldMap.dateInd > kDateNone) {
    throw RunError(lead + "has the date form " + std::to_string(fieldMap.dateInd) +
                   ", which is not 0 (one date-time field), 1 (month, day, hour) or 2 (none).");
  }
  if (fieldMap.solarInd == kSolarCloudCover) {
    throw RunError(lead + "has the solar choice 2 (cloud cover), which cannot be converted; "
                   "choose 0 (global horizontal) or 1 (global horizontal and direct normal).");
  }
  if (fieldMap.solarInd != kSolarGlobal && fieldMap.solarInd != kSolarGlobalAndDirect) {
    throw RunError(lead + "has the solar choice " + std::to_string(fieldMap.solarInd) +
                   ", which is not 0 (global horizontal) or 1 (global horizontal and direct "
                   "normal).");
  }
  if (fieldMap.subhourly != kSubhourlyLast && fieldMap.subhourly != kSubhourlyMean) {
    throw RunError(lead + "has the rule " + std::to_string(fieldMap.subhourly) +
                   " for rows that share an hour, which is not 0 (the last row) or 1 (their "
                   "mean).");
  }
  if (fieldMap.timeStamps != kStampsEnding && fieldMap.timeStamps != kStampsBeginning) {
    throw RunError(lead + "has the time-stamp choice " + std::to_string(fieldMap.timeStamps) +
                   ", which is not 0 (a stamp ends its hour) or 1 (it begins it).");
  }
  if (fieldMap.lastRow < 0 || (fieldMap.lastRow > 0 && fieldMap.lastRow < fieldMap.firstRow)) {
    throw RunError(lead + "has the last data row " + std::to_string(fieldMap.lastRow) +
                   ", before its first data row " + std::to_string(fieldMap.firstRow) + ".");
  }
  const std::vector<CsvSlot> layout = CsvLayout(fieldMap.dateInd, fieldMap.moistInd, fieldMap.solarInd);
  for (const CsvConstant& c : fieldMap.constants) {
    const int slot = CsvSlotOf(layout, c.item);
    if (!ConstantAllowed(c.item) || slot < 0) {
      throw RunError(lead + "gives a constant to an item that " +
                     (slot < 0 ? "its layout does not have." : "takes none."));
    }
  }
  std::vector<int> columns(layout.size(), 0);
  for (size_t slot = 0; slot < layout.size(); ++slot) {
    const std::string& text = fieldMap.columns[slot];
    const std::string item = std::string("\"") + layout[slot].name + "\"";
    const std::string where = "slot " + std::to_string(slot + 1) + " (" + item + ")";
    const bool blank = text.find_first_not_of(" \t") == std::string::npos;
    if (blank || ConstantOf(fieldMap, layout[slot].item) != nullptr) {
      if (blank && layout[slot].required && ConstantOf(fieldMap, layout[slot].item) == nullptr) {
        throw RunError(lead + "assigns no column to " + item + " (slot " +
                       std::to_string(slot + 1) + "), which is required.");
      }
      continue;
    }
    int64_t column = 0;
    if (!ParseWholeNumber(text, column)) {
      throw RunError(lead + "gives " + where + " the column \"" + text +
                     "\", which is not a whole number.");
    }
    if (column < 1 || column > kCsvMaxColumn) {
      throw RunError(lead + "gives " + where + " the column " + std::to_string(column) +
                     ", outside 1.." + std::to_string(kCsvMaxColumn) + ".");
    }
    columns[slot] = static_cast<int>(column);
  }
  return columns;
}

}  // namespace kestrum
