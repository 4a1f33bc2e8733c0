#include "format/final_data_file.h"

#include <gtest/gtest.h>

#include <string>

namespace kestrum {
namespace {

TEST(FinalDataFile, HeaderLines) {
  EXPECT_STREQ(kFinalDataHeader1,
               " , , ,DryBulbT,WetBulbT,DewPtT,RelHum,HumRatio,Sol-GlobHor,Sol-DirNorm,WindSpd,"
               "WindDir");
  EXPECT_STREQ(kFinalDataHeader2, "Month,Day,Hour,F,F,F,%,lbmw/lbma,w/m2,w/m2,mph,degrees");
}

TEST(FinalDataFile, RowOfTheFirstHour) {
  FinalDataRow row;
  row.month = 1;
  row.day = 1;
  row.hour = 1;
  row.dryBulbF = 40.1f;  // widened from the table's single precision
  row.wetBulbF = 36.57;
  row.dewPointF = 31.82f;
  row.relHumPct = 71.9431;
  row.humRatio = 0.0037432;
  row.globalWm2 = 0;
  row.directNormalWm2 = 0;
  row.windSpeedMph = 15;
  row.windDirectionDeg = 270;
  TextSink out;
  out.Text("kept:");
  AppendFinalDataRow(out, row);
  EXPECT_EQ(out.view(),
            "kept: 1, 1, 1,   40.10,   36.57,   31.82,   71.94,0.003743,    0.0,    0.0,  15, 270");
}

TEST(FinalDataFile, WideValuesShiftTheRowAndHalvesGoAwayFromZero) {
  FinalDataRow row;
  row.month = 12;
  row.day = 31;
  row.hour = 24;
  row.dryBulbF = -1766.2;
  row.wetBulbF = -12345.5;
  row.dewPointF = 0.125;
  row.relHumPct = 100;
  row.humRatio = -0.0000004;  // rounds to zero: no minus sign
  row.globalWm2 = 1234.56;
  row.directNormalWm2 = -999;
  row.windSpeedMph = 2.5;
  row.windDirectionDeg = -2.5;
  TextSink out;
  AppendFinalDataRow(out, row);
  EXPECT_EQ(out.view(),
            "12,31,24,-1766.20,-12345.50,    0.13,  100.00,0.000000, 1234.6, -999.0,   3,  -3");
}

}  // namespace
}  // namespace kestrum
