// What the overview chart and the detailed chart show for every choice.
#include "review/chart_selection.h"

#include <gtest/gtest.h>

#include "review/hour_marks.h"

namespace kestrum {
namespace {

using Type = ReviewDataType;
constexpr ReviewFile O = ReviewFile::Original;
constexpr ReviewFile F = ReviewFile::Final;

TEST(SelectOverview, EveryDataTypeAndFile) {
  struct Case {
    Type type;
    bool final;
    int m;
    int c1;
    const char* t1;
    int c2;
    const char* t2;
    const char* left;
    const char* right;
    const char* title;
  };
  const char* kT = "Temperature (F)";
  const Case cases[] = {
      {Type::Temperature, true, 0, 4, "Dry Bulb Temp", 5, "Wet Bulb Temp", kT, "",
       "Ambient Drybulb and Wetbulb Temperatures"},
      {Type::Temperature, true, 1, 4, "Dry Bulb Temp", 6, "Dewpoint Temp", kT, "",
       "Ambient Drybulb and Dewpoint Temperatures"},
      {Type::Temperature, true, 2, 4, "Dry Bulb Temp", 7, "RH (%)", kT, "Relative Humidity (%)",
       "Ambient Drybulb Temperature and Relative Humidity"},
      {Type::Temperature, false, 1, 4, "Dry Bulb Temp", 5, "Dewpoint Temp", kT, "",
       "Ambient Drybulb and Dewpoint Temperatures"},
      {Type::Temperature, false, 2, 4, "Dry Bulb Temp", 5, "RH (%)", kT, "Relative Humidity (%)",
       "Ambient Drybulb Temperature and Relative Humidity"},
      {Type::Solar, true, 1, 9, "Horizontal", 10, "Direct Normal", "Solar Radiation (W/m^2)", "",
       "Global Horizontal and Direct Normal Solar Radiation"},
      {Type::Solar, false, 1, 6, "Horizontal", 0, "", "Solar Radiation (W/m^2)", "",
       "Global Horizontal Solar Radiation"},
      {Type::Wind, true, 1, 11, "Speed", 12, "Direction", "Wind Speed (mph)",
       "Wind Direction (degrees)", "Wind Speed and Direction"},
      {Type::Wind, false, 1, 7, "Speed", 8, "Direction", "Wind Speed (mph)",
       "Wind Direction (degrees)", "Wind Speed and Direction"},
  };
  for (const Case& c : cases) {
    const OverviewSelection s = SelectOverview(c.type, c.final, c.m);
    SCOPED_TRACE(c.title + std::string(c.final ? " final" : " original"));
    EXPECT_EQ(s.series1.file, c.final ? F : O);
    EXPECT_EQ(s.series1.column, c.c1);
    EXPECT_EQ(s.series1.title, c.t1);
    EXPECT_EQ(s.series2.column, c.c2);
    EXPECT_EQ(s.series2.title, c.t2);
    EXPECT_EQ(s.leftAxisTitle, c.left);
    EXPECT_EQ(s.rightAxisTitle, c.right);
    EXPECT_EQ(s.chartTitle, c.title);
    EXPECT_EQ(s.hasSecondSeries(), c.c2 != 0);
  }
}

TEST(SelectDetail, ComparisonPairsOriginalWithFinal) {
  struct Case {
    Type type;
    MoistureOption moisture;
    bool second;
    int c1, c2;
    const char* axis;
    const char* title;
    const char* firstCaption;
    const char* secondCaption;
  };
  using M = MoistureOption;
  const Case cases[] = {
      {Type::Temperature, M::WetBulb, false, 4, 4, "Temperature (F)",
       "Comparison of Dry Bulb Temperature", "Dry Bulb", "Web Bulb"},
      {Type::Temperature, M::WetBulb, true, 5, 5, "Temperature (F)",
       "Comparison of Wetbulb Temperatures", "Dry Bulb", "Web Bulb"},
      {Type::Temperature, M::DewPoint, true, 5, 6, "Temperature (F)",
       "Comparison of Dew Point Temperatures", "Dry Bulb", "Dew Point"},
      {Type::Temperature, M::RelHum, true, 5, 7, "Relative Humidity (%)",
       "Comparison of Relative Humidity", "Dry Bulb", "Rel Hum"},
      {Type::Solar, M::WetBulb, true, 6, 9, "Solar Radiation (W/m^2)",
       "Comparison of Horizontal Solar Radiation", "", ""},
      {Type::Wind, M::WetBulb, false, 7, 11, "Wind Speed (mph)", "Comparison of Wind Speed",
       "Speed", "Direction"},
      {Type::Wind, M::WetBulb, true, 8, 12, "Wind Direction (degrees)",
       "Comparison of Wind Direction", "Speed", "Direction"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.title);
    const DetailSelection s =
        SelectDetail({c.type, c.moisture, SolarOption::Both, c.second, true, true});
    EXPECT_TRUE(s.comparison);
    EXPECT_EQ(s.series1.file, O);
    EXPECT_EQ(s.series1.column, c.c1);
    EXPECT_EQ(s.series1.title, "Original Data");
    EXPECT_EQ(s.series2.file, F);
    EXPECT_EQ(s.series2.column, c.c2);
    EXPECT_EQ(s.series2.title, "Final Data");
    EXPECT_TRUE(s.drawSeries2);
    EXPECT_TRUE(s.legend);
    EXPECT_FALSE(s.rightAxisInUse);
    EXPECT_EQ(s.valueAxisTitle, c.axis);
    EXPECT_EQ(s.chartTitle, c.title);
    EXPECT_EQ(s.firstOptionCaption, c.firstCaption);
    EXPECT_EQ(s.secondOptionCaption, c.secondCaption);
    EXPECT_EQ(s.showCompareOptions, c.type != Type::Solar);
    EXPECT_FALSE(s.showMoistOptions || s.showSolarOptions);
  }
  // The humidity ratio has no original values: the final ones alone, said in the title.
  const DetailSelection hr =
      SelectDetail({Type::Temperature, M::HumRatio, SolarOption::Horizontal, true, true, true});
  EXPECT_EQ(hr.series1.file, F);
  EXPECT_EQ(hr.series1.column, 8);
  EXPECT_FALSE(hr.drawSeries2);
  EXPECT_EQ(hr.secondOptionCaption, "Hum Ratio");
  EXPECT_EQ(hr.chartTitle, "Final Humidity Ratio (the original data hold none to compare)");
}

TEST(SelectDetail, OneFileByDataTypeAndOption) {
  struct Case {
    DetailChoice choice;
    int c1, c2;
    const char* t2;
    const char* right;
    const char* title;
  };
  using M = MoistureOption;
  using S = SolarOption;
  const DetailChoice temp{Type::Temperature, M::WetBulb, S::Horizontal, false, true, false};
  auto with = [](DetailChoice c, auto change) {
    change(c);
    return c;
  };
  const Case cases[] = {
      {temp, 4, 5, "Wet Bulb Temp", "", "Ambient Drybulb and Wetbulb Temperatures"},
      {with(temp, [](auto& c) { c.moisture = M::DewPoint; }), 4, 6, "Dew Pt Temp", "",
       "Ambient Drybulb and Dew Point Temperatures"},
      {with(temp, [](auto& c) { c.moisture = M::RelHum; }), 4, 7, "Relative Humidity", "% RH",
       "Ambient Drybulb Temperature and Relative Humidity"},
      {with(temp, [](auto& c) { c.moisture = M::HumRatio; }), 4, 8, "Humidity Ratio",
       "lbs-water/lbs-Air", "Ambient Drybulb Temperature and Humidity Ratio"},
      {with(temp, [](auto& c) { c.type = Type::Solar; }), 9, 9, "", "",
       "Horizontal Solar Radiation"},
      {with(temp, [](auto& c) { c.type = Type::Solar, c.solar = S::DirectNormal; }), 10, 10, "", "",
       "Direct Normal Solar Radiation"},
      {with(temp, [](auto& c) { c.type = Type::Solar, c.solar = S::Both; }), 9, 10,
       "Direct Normal", "", "Solar Radiation"},
      {with(temp, [](auto& c) { c.type = Type::Wind; }), 11, 12, "Direction",
       "Wind Direction (degrees)", "Wind Speed and Direction"},
      // Original data alone.
      {with(temp, [](auto& c) { c.showFinal = false, c.showOrig = true, c.moisture = M::DewPoint; }),
       4, 5, "Dew Pt Temp", "", "Ambient Drybulb and Dew Point Temperatures"},
      {with(temp, [](auto& c) { c.showFinal = false, c.type = Type::Solar; }), 6, 6, "", "",
       "Horizontal Solar Radiation"},
      {with(temp, [](auto& c) { c.showFinal = false, c.type = Type::Solar, c.solar = S::Both; }), 6,
       9, "Direct Normal", "", "Solar Radiation"},
      {with(temp, [](auto& c) { c.showFinal = false, c.type = Type::Wind; }), 7, 8, "Direction",
       "Wind Direction (degrees)", "Wind Speed and Direction"},
      {with(temp, [](auto& c) { c.showFinal = false, c.moisture = M::HumRatio; }), 4, 4, "", "",
       "Ambient Drybulb Temperature (the original data hold no humidity ratio)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.title);
    const DetailSelection s = SelectDetail(c.choice);
    const ReviewFile file = c.choice.showFinal ? F : O;
    EXPECT_FALSE(s.comparison);
    EXPECT_EQ(s.series1.file, file);
    EXPECT_EQ(s.series2.file, file);
    EXPECT_EQ(s.series1.column, c.c1);
    EXPECT_EQ(s.series2.column, c.c2);
    EXPECT_EQ(s.series2.title, c.t2);
    EXPECT_EQ(s.rightAxisTitle, c.right);
    EXPECT_EQ(s.rightAxisInUse, *c.right != '\0');
    EXPECT_EQ(s.chartTitle, c.title);
    EXPECT_EQ(s.drawSeries2, c.c1 != c.c2);
    EXPECT_EQ(s.legend, c.c1 != c.c2);
    EXPECT_FALSE(s.showCompareOptions);
  }
}

TEST(SelectDetail, OptionPanelsFollowTheDataTypeAndTheOriginalBox) {
  struct Case {
    Type type;
    bool final, orig;
    bool moist, solar;
  };
  for (const Case& c : {Case{Type::Temperature, true, false, true, false},
                        Case{Type::Temperature, false, true, false, false},
                        Case{Type::Temperature, false, false, true, false},
                        Case{Type::Solar, true, false, false, true},
                        Case{Type::Solar, false, true, false, false},
                        Case{Type::Wind, true, false, false, false}}) {
    const DetailSelection s =
        SelectDetail({c.type, MoistureOption::WetBulb, SolarOption::Horizontal, false, c.final, c.orig});
    EXPECT_EQ(s.showMoistOptions, c.moist) << static_cast<int>(c.type) << c.final << c.orig;
    EXPECT_EQ(s.showSolarOptions, c.solar) << static_cast<int>(c.type) << c.final << c.orig;
  }
}

TEST(HourLabel, CountsFromJanuaryFirstOneOClock) {
  EXPECT_EQ(HourLabel(0), "Jan 1 01:00");
  EXPECT_EQ(HourLabel(23), "Jan 1 24:00");
  EXPECT_EQ(HourLabel(1416), "Mar 1 01:00");
  EXPECT_EQ(HourLabel(4670), "Jul 14 15:00");
  EXPECT_EQ(HourLabel(8759), "Dec 31 24:00");
  EXPECT_EQ(HourLabel(8760), "");
  EXPECT_EQ(HourLabel(-1), "");
}

TEST(MonthStarts, TheFirstHourOfEachMonthOfA365DayYear) {
  const auto& starts = MonthStarts();
  const int expected[12] = {0, 744, 1416, 2160, 2880, 3624, 4344, 5088, 5832, 6552, 7296, 8016};
  for (int m = 0; m < 12; ++m) {
    EXPECT_EQ(starts[m].position, expected[m]) << m + 1;
    // Each is hour 1 of day 1 of its month, and the month's short name.
    EXPECT_EQ(HourLabel(starts[m].position), std::string(starts[m].name) + " 1 01:00");
  }
  // Rows 1393 to 1416 are 28 February; row 1417 is 1 March, hour 1.
  EXPECT_EQ(HourLabel(1415), "Feb 28 24:00");
  EXPECT_STREQ(starts[2].name, "Mar");
}

TEST(MoistureOptionOf, TheQuantityTheOriginalFileNames) {
  EXPECT_EQ(MoistureOptionOf(0), MoistureOption::WetBulb);
  EXPECT_EQ(MoistureOptionOf(1), MoistureOption::DewPoint);
  EXPECT_EQ(MoistureOptionOf(2), MoistureOption::RelHum);
}

TEST(PictureCaption, NamesTheRunAndItsData) {
  EXPECT_EQ(PictureCaption("Golden", true, false), "Golden: final data");
  EXPECT_EQ(PictureCaption("Golden", false, true), "Golden: original data");
  EXPECT_EQ(PictureCaption("Golden", true, true), "Golden: original and final data");
}

TEST(SeriesOnTop, TheWindSpeedOverItsDirectionOnly) {
  for (bool final : {true, false}) {
    EXPECT_TRUE(SelectOverview(Type::Wind, final, 1).series1OnTop);
    EXPECT_FALSE(SelectOverview(Type::Temperature, final, 1).series1OnTop);
    EXPECT_FALSE(SelectOverview(Type::Solar, final, 1).series1OnTop);
  }
  DetailChoice c;
  c.type = Type::Wind;
  EXPECT_TRUE(SelectDetail(c).series1OnTop);
  c.showOrig = true;  // comparison: the final data over the original
  EXPECT_FALSE(SelectDetail(c).series1OnTop);
  c.type = Type::Temperature;
  c.showOrig = false;
  EXPECT_FALSE(SelectDetail(c).series1OnTop);
}

TEST(RepairedHours, DifferencesBeyondTheFinalFileRounding) {
  EXPECT_EQ(RepairedHours({6.69, 6.5, -2227.77, 3.0}, {7, 6, 5, 3}, FinalColumnDecimals(11)),
            (std::vector<int>{2}));
  EXPECT_EQ(RepairedHours({40.10, 40.10, -1766.2}, {40.10, 40.11, 38.0}, FinalColumnDecimals(4)),
            (std::vector<int>{1, 2}));
  EXPECT_EQ(RepairedHours({1, 2, 3}, {1}, 2), std::vector<int>{});
  EXPECT_EQ(FinalColumnDecimals(8), 6);
  EXPECT_EQ(FinalColumnDecimals(9), 1);
}

}  // namespace
}  // namespace kestrum
