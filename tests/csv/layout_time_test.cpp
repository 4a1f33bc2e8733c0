// The time rules of each layout keep the sun of its file on the site's clock: the offset the
// sun check measures (before rounding) lies within half an hour of 0, so the check stays
// quiet. Printed for the record: PSM half-hourly and PVGIS (UTC, irradiance sampled 0.18 h
// after its stamp) lie furthest from 0.
#include <gtest/gtest.h>

#include <cmath>
#include <iostream>

#include "csv/csv_reader.h"
#include "csv/layout_match.h"
#include "format/site_parameters.h"
#include "format/sun_alignment.h"
#include "support/test_support.h"
#include "support/weather_variants.h"

namespace kestrum {
namespace {

class LayoutTimeTest : public ::testing::Test {
 protected:
  // The exact offset of the file's sun read with this field map and shift.
  double SunOffset(const LayoutMatch& match, const CsvFieldMap& fieldMap) {
    HourlyTable table;
    RunState state;
    state.outputBaseName = "t";
    testing::RecordingUi ui;
    RunLog log;
    StageContext ctx{table, state, ui, log, dir.str()};
    table.ResetOptionalSeries();
    ReadCSVData(match.path, fieldMap, ctx, match.timeShiftHours);
    const SiteParameters site = ReadSiteParameters(match.site);
    const std::optional<SunAlignment> a =
        AlignWithSun({table.series(SolarHorizontal), 8760}, site.latitude, site.longitudeWest,
                     site.timeZone);
    EXPECT_TRUE(a.has_value());
    return a ? a->exactShiftHours : 99;
  }
  testing::TempDir dir;
};

TEST_F(LayoutTimeTest, EachLayoutPutsItsSunWithinHalfAnHourOfTheSitesClock) {
  for (const std::string& path : {testing::kPsmFile, testing::kPvgisFile, testing::kTmy3File}) {
    const LayoutMatch match = *DetectLayout(path);
    const double offset = SunOffset(match, match.fieldMap);
    std::cout << "[ measured ] " << match.name << ": the sun " << offset << " h off the clock\n";
    EXPECT_LT(std::fabs(offset), 0.5) << path;
  }
  // PVGIS stamps taken as ending their hour would put each row an hour earlier: its sun more
  // than half an hour early, which the sun check warns.
  const LayoutMatch pvgis = *DetectLayout(testing::kPvgisFile);
  CsvFieldMap ending = pvgis.fieldMap;
  ending.timeStamps = kStampsEnding;
  const double early = SunOffset(pvgis, ending);
  std::cout << "[ measured ] pvgis, stamps ending their hour: " << early << " h\n";
  EXPECT_GT(early, 0.5);
}

}  // namespace
}  // namespace kestrum
