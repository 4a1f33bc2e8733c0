// The report's pictures, checked by their elements: what each draws and how many, the heat
// map's cells covering the year once each, the repair strip's runs, the wind rose's calm.
#include "run/report_svg.h"

#include <gtest/gtest.h>

#include <cmath>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "run/hourly_table.h"
#include "run/report_units.h"

namespace kestrum {
namespace {

size_t Count(const std::string& text, const std::string& what) {
  size_t n = 0;
  for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

// The d attributes of the elements of a class.
std::vector<std::string> PathData(const std::string& svg, const std::string& cls) {
  std::vector<std::string> out;
  const std::regex path("<path class=\"" + cls + "\"[^>]* d=\"([^\"]*)\"");
  for (std::sregex_iterator it(svg.begin(), svg.end(), path), end; it != end; ++it) {
    out.push_back((*it)[1]);
  }
  return out;
}

struct PathRun {
  double x, y, length;
};
std::vector<PathRun> Runs(const std::string& d) {
  std::vector<PathRun> runs;
  const std::regex run("M([-0-9.]+) ([-0-9.]+)h([0-9.]+)");
  for (std::sregex_iterator it(d.begin(), d.end(), run), end; it != end; ++it) {
    runs.push_back({std::stod((*it)[1]), std::stod((*it)[2]), std::stod((*it)[3])});
  }
  return runs;
}

TEST(ReportSvg, AxesTakeRoundSteps) {
  const struct {
    double lo, hi;
    int ticks;
    AxisSteps expected;
  } cases[] = {
      {-23.4, 36.1, 6, {-30, 40, 10}},
      {0, 187, 5, {0, 200, 50}},
      {0, 1, 4, {0, 1, 0.25}},
      {5, 5, 4, {5, 6, 0.25}},  // nothing to span: one unit
      {0.2, 14.9, 4, {0, 15, 5}},
  };
  for (const auto& c : cases) {
    const AxisSteps a = NiceAxis(c.lo, c.hi, c.ticks);
    EXPECT_DOUBLE_EQ(a.lo, c.expected.lo) << c.lo << ".." << c.hi;
    EXPECT_DOUBLE_EQ(a.hi, c.expected.hi) << c.lo << ".." << c.hi;
    EXPECT_DOUBLE_EQ(a.step, c.expected.step) << c.lo << ".." << c.hi;
  }
}

TEST(ReportSvg, MonthlyRangesDrawABarAndAMeanPerMonthWithValues) {
  MonthRanges read, converted;
  for (size_t m = 0; m < 12; ++m) {
    converted[m] = {744, -5.0 + m, 2.0 + m, 9.0 + m};
    if (m < 7) read[m] = {700, -4.0 + m, 2.5 + m, 8.0 + m};  // the file ends in July
  }
  const std::string svg = MonthlyRangeSvg(read, converted, "Monthly dry bulb (\u00B0C)", "\u00B0C");
  EXPECT_EQ(svg.rfind("<svg class=\"chart monthly-range\"", 0), 0u);
  EXPECT_EQ(Count(svg, "<rect x="), 7u + 12u + 3u) << "bars and the three legend boxes";
  EXPECT_EQ(Count(svg, "class=\"read\" fill"), 7u);
  EXPECT_EQ(Count(svg, "class=\"conv\" fill"), 12u);
  EXPECT_EQ(Count(svg, "class=\"mean\""), 19u);
  EXPECT_NE(svg.find("<title>Mar as read: minimum -2, mean 4.5, maximum 10 \u00B0C</title>"),
            std::string::npos);
  EXPECT_EQ(svg.find("script"), std::string::npos);
}

TEST(ReportSvg, MonthlySumsDrawOneBarPerSeriesAndMonth) {
  std::vector<MonthlySeries> series = {{"global horizontal", std::vector<double>(12, 150.0)},
                                       {"direct normal", std::vector<double>(12, 120.0)}};
  std::string svg = MonthlySumsSvg(series, "Monthly radiation sums", "kWh/m\u00B2");
  EXPECT_EQ(Count(svg, "class=\"bar s0\""), 12u);
  EXPECT_EQ(Count(svg, "class=\"bar s1\""), 12u);
  series[1].values.clear();  // not formatted: no direct normal
  svg = MonthlySumsSvg(series, "Monthly radiation sums", "kWh/m\u00B2");
  EXPECT_EQ(Count(svg, "class=\"bar s"), 12u);
  EXPECT_EQ(svg.find("direct normal"), std::string::npos);
}

TEST(ReportSvg, TheHeatMapColoursEveryHourOfTheYearOnce) {
  std::vector<float> values(kHoursPerYear);
  for (int h = 1; h <= kHoursPerYear; ++h) {
    values[static_cast<size_t>(h - 1)] =
        static_cast<float>(10 * std::sin(h * 0.26) + 15 * std::sin(h * 0.0007) + (h % 97) * 0.1);
  }
  for (const auto& [palette, data] : {std::pair{HeatPalette::Temperature, values},
                                      std::pair{HeatPalette::Radiation, std::vector<float>(kHoursPerYear, 3.0f)}}) {
    const std::string svg = YearHeatMapSvg(data, palette, "Dry bulb, day by hour", "\u00B0C");
    const std::vector<std::string> paths = PathData(svg, "cells");
    ASSERT_GE(paths.size(), 1u);
    EXPECT_LE(paths.size(), static_cast<size_t>(kHeatLevels));
    std::set<std::pair<int, int>> cells;  // (day, hour)
    for (const std::string& d : paths) {
      for (const PathRun& r : Runs(d)) {
        for (int day = static_cast<int>(r.x); day < static_cast<int>(r.x + r.length); ++day) {
          EXPECT_TRUE(cells.insert({day, static_cast<int>(r.y)}).second) << day << "," << r.y;
        }
      }
    }
    EXPECT_EQ(cells.size(), static_cast<size_t>(kHoursPerYear));
    EXPECT_EQ(cells.begin()->first, 0);
    EXPECT_EQ(cells.rbegin()->first, 364);
  }
  // A year of one value is one colour: 24 runs of 365 days.
  const std::string flat = YearHeatMapSvg(std::vector<float>(kHoursPerYear, 3.0f),
                                          HeatPalette::Radiation, "flat", "W/m\u00B2");
  ASSERT_EQ(PathData(flat, "cells").size(), 1u);
  const std::vector<PathRun> runs = Runs(PathData(flat, "cells")[0]);
  ASSERT_EQ(runs.size(), 24u);
  EXPECT_EQ(runs[23].length, 365);
}

TEST(ReportSvg, TheRepairStripMarksEachStretchOfRepairedHours) {
  std::vector<uint8_t> marks(kHoursPerYear, 0);
  for (int h = 100; h <= 159; ++h) marks[static_cast<size_t>(h - 1)] |= 1;  // 60 hours
  marks[4999] |= 1;                                                        // one hour
  marks[8759] |= 1 << 5;                                                   // the last hour
  const std::vector<StripRow> rows = {{"dry bulb", 1, 61}, {"wind speed", 1 << 3, 0},
                                      {"direct normal estimated", 1 << 5, 1}};
  const std::string svg = RepairStripSvg(marks, rows);
  const std::vector<std::string> paths = PathData(svg, "marks");
  ASSERT_EQ(paths.size(), 2u);
  const std::vector<PathRun> dryBulb = Runs(paths[0]);
  ASSERT_EQ(dryBulb.size(), 2u);
  EXPECT_EQ(dryBulb[0].x, 99);
  EXPECT_EQ(dryBulb[0].length, 60);
  EXPECT_EQ(dryBulb[1].x, 4999);
  EXPECT_GT(dryBulb[1].length, 1);  // drawn a pixel wide
  const std::vector<PathRun> last = Runs(paths[1]);
  ASSERT_EQ(last.size(), 1u);
  EXPECT_DOUBLE_EQ(last[0].x + last[0].length, 8760);  // kept inside the year
  EXPECT_EQ(Count(svg, ">none</text>"), 1u);
  EXPECT_NE(svg.find(">dry bulb (61 h)</text>"), std::string::npos);
}

TEST(ReportSvg, TheWindRoseCountsCalmHoursApart) {
  std::vector<float> speed(kHoursPerYear), direction(kHoursPerYear);
  for (int i = 0; i < kHoursPerYear; ++i) {
    const auto k = static_cast<size_t>(i);
    speed[k] = i < 876 ? 0.2f : static_cast<float>(1 + i % 10);  // 10 % calm
    direction[k] = i % 4 == 0 ? 270.0f : 180.0f;                 // west and south only
  }
  direction[5] = -999.0f;  // not a direction: not counted
  const std::string svg = WindRoseSvg(speed, direction, {0.5, 2, 4, 6, 8}, "m/s");
  EXPECT_NE(svg.find("Calm (below 0.5 m/s): 875 hours, 10 %"), std::string::npos);
  EXPECT_NE(svg.find("Hours counted: 8759"), std::string::npos);
  // Two sectors, each with all five speed classes.
  EXPECT_EQ(Count(svg, "<path class=\"petal c"), 10u);
  for (int c = 0; c < 5; ++c) EXPECT_EQ(Count(svg, "class=\"petal c" + std::to_string(c) + "\""), 2u);
  EXPECT_NE(svg.find("<title>South, "), std::string::npos);
  EXPECT_NE(svg.find("<title>West, "), std::string::npos);
  EXPECT_GE(Count(svg, "class=\"ring\""), 3u);
}

TEST(ReportUnits, SiAndIpOfTheTablesQuantities) {
  const struct {
    double (*convert)(double, ReportUnits);
    double stored, si, ip;
  } cases[] = {
      {ReportTemperature, 68.0, 20.0, 68.0},
      {ReportTemperature, -40.0, -40.0, -40.0},
      {ReportSpeed, 4.46, 2.0, 4.46},  // the readers' 2.23 mph per m/s
      {ReportIrradiance, 315.46, 315.46, 100.0},
      {ReportRadiationSum, 1800.0, 1800.0, 1800.0 / 3.1546},
      {ReportElevation, 1829.0, 1829.0, 6000.656167979},
  };
  for (const auto& c : cases) {
    EXPECT_NEAR(c.convert(c.stored, ReportUnits::Si), c.si, 1e-9) << c.stored;
    EXPECT_NEAR(c.convert(c.stored, ReportUnits::Ip), c.ip, 1e-6) << c.stored;
  }
}

}  // namespace
}  // namespace kestrum
