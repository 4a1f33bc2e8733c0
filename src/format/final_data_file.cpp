#include "format/final_data_file.h"

#include "format/fixed_text.h"

namespace kestrum {

void AppendFinalDataRow(std::string& out, const FinalDataRow& row) {
  AppendInt(out, row.month, 2);
  out += ',';
  AppendInt(out, row.day, 2);
  out += ',';
  AppendInt(out, row.hour, 2);
  out += ',';
  AppendFixed(out, row.dryBulbF, 8, 2);
  out += ',';
  AppendFixed(out, row.wetBulbF, 8, 2);
  out += ',';
  AppendFixed(out, row.dewPointF, 8, 2);
  out += ',';
  AppendFixed(out, row.relHumPct, 8, 2);
  out += ',';
  AppendFixed(out, row.humRatio, 8, 6);
  out += ',';
  AppendFixed(out, row.globalWm2, 7, 1);
  out += ',';
  AppendFixed(out, row.directNormalWm2, 7, 1);
  out += ',';
  AppendFixed(out, row.windSpeedMph, 4, 0);
  out += ',';
  AppendFixed(out, row.windDirectionDeg, 4, 0);
}

}  // namespace kestrum
