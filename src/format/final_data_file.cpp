#include "format/final_data_file.h"

namespace kestrum {

void AppendFinalDataRow(TextSink& out, const FinalDataRow& row) {
  out.Int(row.month, 2);
  for (int datePart : {row.day, row.hour}) {
    out.Char(',');
    out.Int(datePart, 2);
  }
  // Each value after a comma: (value, width, decimals).
  const auto value = [&out](double v, int width, int decimals) {
    out.Char(',');
    out.Fixed(v, width, decimals);
  };
  value(row.dryBulbF, 8, 2);
  value(row.wetBulbF, 8, 2);
  value(row.dewPointF, 8, 2);
  value(row.relHumPct, 8, 2);
  value(row.humRatio, 8, 6);
  value(row.globalWm2, 7, 1);
  value(row.directNormalWm2, 7, 1);
  value(row.windSpeedMph, 4, 0);
  value(row.windDirectionDeg, 4, 0);
}

}  // namespace kestrum
