#include "format/final_data_file.h"

namespace kestrum {

void AppendFinalDataRow(TextSink& out, const FinalDataRow& row) {
  out.Int(row.month, 2);
  out.Char(',');
  out.Int(row.day, 2);
  out.Char(',');
  out.Int(row.hour, 2);
  out.Char(',');
  out.Fixed(row.dryBulbF, 8, 2);
  out.Char(',');
  out.Fixed(row.wetBulbF, 8, 2);
  out.Char(',');
  out.Fixed(row.dewPointF, 8, 2);
  out.Char(',');
  out.Fixed(row.relHumPct, 8, 2);
  out.Char(',');
  out.Fixed(row.humRatio, 8, 6);
  out.Char(',');
  out.Fixed(row.globalWm2, 7, 1);
  out.Char(',');
  out.Fixed(row.directNormalWm2, 7, 1);
  out.Char(',');
  out.Fixed(row.windSpeedMph, 4, 0);
  out.Char(',');
  out.Fixed(row.windDirectionDeg, 4, 0);
}

}  // namespace kestrum
