#include "csv/csv_spec.h"

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

bool CsvSpecComplete(const CsvFieldSpec& spec) {
  const std::vector<CsvSlot> layout = CsvLayout(spec.dateInd, spec.moistInd, spec.solarInd);
  if (layout.empty()) return false;
  for (size_t slot = 0; slot < layout.size(); ++slot) {
    if (!layout[slot].required) continue;
    int64_t column = 0;
    if (!ParseWholeNumber(spec.columns[slot], column)) return false;
  }
  return true;
}

}  // namespace kestrum
