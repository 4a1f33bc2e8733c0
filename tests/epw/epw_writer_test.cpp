// The repaired year as EPW, piece by piece: row edits that keep every other byte, made
// rows, and the whole text from a source with shifted, missing, doubled and leap-day rows.
#include "epw/epw_writer.h"
#include "run/hour_placement.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "epw/epw_builder.h"
#include "epw/epw_row_text.h"
#include "support/test_support.h"

namespace kestrum {
namespace {

using Strings = std::vector<std::string>;

Strings SplitFields(const std::string& row) {
  Strings fields;
  size_t start = 0;
  for (;;) {
    const size_t comma = row.find(',', start);
    fields.push_back(row.substr(start, comma == std::string::npos ? comma : comma - start));
    if (comma == std::string::npos) return fields;
    start = comma + 1;
  }
}

Strings SplitCrLf(const std::string& text) {
  Strings lines;
  size_t start = 0;
  while (start < text.size()) {
    const size_t end = text.find("\r\n", start);
    if (end == std::string::npos) {
      lines.push_back(text.substr(start) + "<no CR LF>");
      break;
    }
    lines.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

TEST(EpwRowText, EditsReplaceOnlyTheirFieldsAndKeepEveryOtherByte) {
  const std::string row = "1999,1,1,1,0,?9?9E0, -3.0,-4.0,92,80600,0,0,257,0,0,0";
  const struct {
    const char* what;
    std::vector<std::tuple<int, double, int>> edits;
    std::string expected;
  } cases[] = {
      {"nothing", {}, row},
      {"dry bulb with its leading blank, halves away from zero",
       {{kEpwDryBulb, -2.25, 1}},
       "1999,1,1,1,0,?9?9E0,-2.3,-4.0,92,80600,0,0,257,0,0,0"},
      {"three fields given out of order",
       {{kEpwRelHum, 87.5, 0}, {kEpwMonth, 3, 0}, {kEpwDewPoint, -0.04, 1}},
       "1999,3,1,1,0,?9?9E0, -3.0,0.0,88,80600,0,0,257,0,0,0"},
      {"the last field of the row", {{16, 12, 0}}, "1999,1,1,1,0,?9?9E0, -3.0,-4.0,92,80600,0,0,257,0,0,12"},
      {"a field past the row's end",
       {{kEpwGlobal, 5, 0}, {kEpwWindSpeed, 1.04, 1}},
       "1999,1,1,1,0,?9?9E0, -3.0,-4.0,92,80600,0,0,257,5,0,0,,,,,,1.0"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EpwFieldEdits edits;
    for (const auto& [field, value, decimals] : c.edits) edits.SetNumber(field, value, decimals);
    TextSink out;
    edits.Apply(out, row);
    EXPECT_EQ(out.view(), c.expected);
  }
}

TEST(EpwRowText, AMadeRowHasThe35FieldsWithMissingCodesForWhatNothingGives) {
  EpwRowValues v;
  v.year = "1988";
  v.month = 2;
  v.day = 28;
  v.hour = 24;
  v.dryBulbC = -0.04;
  v.dewPointC = -1.25;
  v.relHumPct = 90.5;
  v.pressurePa = 98765.4;
  v.globalWh = 0;
  v.directNormalWh = 0;
  v.diffuseWh = 0;
  v.windDirectionDeg = 359.6;
  v.windSpeedMs = 2.25;
  TextSink out;
  AppendEpwRow(out, v);
  const Strings f = SplitFields(std::string(out.view()));
  ASSERT_EQ(f.size(), 35u);
  EXPECT_EQ(Strings(f.begin(), f.begin() + 10),
            (Strings{"1988", "2", "28", "24", "0", std::string(kEpwUnknownSourceFlags), "0.0",
                     "-1.3", "91", "98765"}));
  EXPECT_EQ(f[10] + f[11] + f[12], "999999999999");
  EXPECT_EQ(f[20], "360");
  EXPECT_EQ(f[21], "2.3");
  EXPECT_EQ(f[26], "9");
  EXPECT_EQ(f[27], "999999999");
  EXPECT_EQ(f[29], ".999");
}

TEST(EpwRowText, DiffuseIsGlobalLessTheBeamNeverBelowZero) {
  EXPECT_DOUBLE_EQ(DiffuseFromGlobal(500, 600, 0.5), 200);
  EXPECT_DOUBLE_EQ(DiffuseFromGlobal(100, 600, 0.5), 0);    // beam above the global
  EXPECT_DOUBLE_EQ(DiffuseFromGlobal(15, 400, 0.0), 15);    // sun down
  EXPECT_DOUBLE_EQ(DiffuseFromGlobal(15, 400, -0.2), 15);
  EXPECT_NEAR(EpwCelsius(26.6), -3.0, 1e-12);
  EXPECT_NEAR(EpwMetresPerSecond(4.46), 2.0, 1e-12);
}

// A source read as a run reads it, and the writer's inputs as if nothing needed repair.
class EpwWriterTest : public ::testing::Test {
 protected:
  EpwWriterTest() { state.outputBaseName = "w"; }

  void ReadSource(const std::string& text, EpwOptions options = {}) {
    source = text;
    options_ = options;
    table.ResetOptionalSeries();
    ASSERT_TRUE(ReadEPWData(dir.Write("in.epw", text), options, ctx));
    asRead = table;
    for (auto* v : {&formatted.directNormalWm2, &formatted.dewPointF, &formatted.relHumPct,
                    &formatted.pressureKPa}) {
      v->assign(kHoursPerYear, 0.0);
    }
    for (int h = 1; h <= kHoursPerYear; ++h) {
      const auto i = static_cast<size_t>(h - 1);
      formatted.directNormalWm2[i] = table.at(SolarDirectNormal, h) == -1.0f ? 321.0 : 0.0;
      formatted.dewPointF[i] = 41.0;
      formatted.relHumPct[i] = 66.4;
      formatted.pressureKPa[i] = 84.0;
    }
  }
  std::string Write(int shift = 0) {
    const EpwYearInputs in{asRead, table, formatted, repairs, state.moistureIndicator, site};
    return RepairedEpwFromEpw(source, "in.epw", in, options_, shift);
  }
  // The data rows of a written text: the lines after DATA PERIODS.
  static Strings Rows(const std::string& text) {
    Strings lines = SplitCrLf(text);
    size_t i = 0;
    while (i < lines.size() && lines[i].rfind("DATA PERIODS", 0) != 0) ++i;
    return Strings(lines.begin() + static_cast<std::ptrdiff_t>(i) + 1, lines.end());
  }

  testing::TempDir dir;
  HourlyTable table;
  HourlyTable asRead;
  RunState state;
  testing::RecordingUi ui;
  RunLog log{dir.File("run.log")};
  StageContext ctx{table, state, ui, log, dir.str()};
  FormattedYear formatted;
  RepairRecord repairs;
  SiteInfo site{"Testville", "40.00", "-105.00", "-7.0", "1600.0"};
  std::string source;
  EpwOptions options_;
};

TEST_F(EpwWriterTest, AnUndamagedFileKeepsItsRowsAndHeaderButForTheRepairComment) {
  ReadSource(testing::EpwYearText([](int h) {
    testing::EpwValues v;
    v.dryBulbC = h % 50 - 20.3;
    v.windSpeed = h % 13 * 0.7;
    return v;
  }));
  const std::string text = Write();
  const Strings in = SplitCrLf(source);
  const Strings out = SplitCrLf(text);
  ASSERT_EQ(out.size(), in.size());
  for (size_t i = 0; i < in.size(); ++i) {
    if (in[i].rfind("COMMENTS 2", 0) == 0) {
      EXPECT_EQ(out[i],
                "COMMENTS 2,Repaired by Kestrum: dry bulb 0 h; dew point 0 h; global horizontal "
                "0 h; wind speed 0 h; wind direction 0 h; direct normal estimated for 0 h; a "
                "365-day year (29 February left out)");
    } else {
      EXPECT_EQ(out[i], in[i]) << "line " << i + 1;
    }
  }
}

TEST_F(EpwWriterTest, RepairedAndEstimatedValuesAreRewrittenInEpwUnits) {
  ReadSource(testing::EpwYearText([](int) { return testing::EpwValues{}; }));
  // What a cleaning pass and the formatter would leave: hour 10's dry bulb and wind,
  // hour 20's dew point, hour 30's global, and hour 40's direct normal to be estimated.
  table.at(DryBulb, 10) = 55.13f;   // 12.85 C
  table.at(WindSpeed, 10) = 7.0f;   // 3.139 m/s
  table.at(WindDirection, 10) = 200.4f;
  table.at(Moisture, 20) = 30.02f;  // -1.1 C
  table.at(SolarHorizontal, 30) = 123.5f;
  table.at(SolarDirectNormal, 40) = -1.0f;
  formatted.directNormalWm2[39] = 456.5;
  const Strings rows = Rows(Write());
  ASSERT_EQ(rows.size(), 8760u);
  const Strings plain = SplitFields(rows[0]);
  const auto changed = [&](int h) {
    std::map<int, std::string> diff;
    const Strings f = SplitFields(rows[static_cast<size_t>(h - 1)]);
    EXPECT_EQ(f.size(), plain.size());
    for (size_t k = 4; k < f.size() && k < plain.size(); ++k) {
      if (f[k] != plain[k]) diff[static_cast<int>(k) + 1] = f[k];
    }
    return diff;
  };
  using Diff = std::map<int, std::string>;
  EXPECT_EQ(changed(10), (Diff{{7, "12.9"}, {9, "66"}, {21, "200"}, {22, "3.1"}}));
  EXPECT_EQ(changed(20), (Diff{{8, "-1.1"}, {9, "66"}}));
  EXPECT_EQ(changed(30), (Diff{{14, "124"}}));
  EXPECT_EQ(changed(40), (Diff{{15, "457"}}));
  EXPECT_EQ(changed(41), Diff{});
}

TEST_F(EpwWriterTest, ShiftedRowsTakeTheirNewHourAroundTheYearAndAnHourWithoutARowIsMade) {
  // Every hour but 1 January hour 5 has its row.
  std::string text = testing::EpwYearText([](int) { return testing::EpwValues{}; });
  const std::string missing = testing::EpwRowText(1, 1, 5, {}) + "\r\n";
  text.erase(text.find(missing), missing.size());
  ReadSource(text);
  const Strings rows = Rows(Write(1));
  ASSERT_EQ(rows.size(), 8760u);
  // Hour 2 holds the row stamped hour 1, dated anew; the row stamped 31/12 hour 24 wraps
  // around to hour 1; hour 6, whose row would have been stamped hour 5, is made from the
  // converted values with the year of the row before it.
  EXPECT_EQ(rows[0], testing::EpwRowText(1, 1, 1, {}));
  EXPECT_EQ(rows[1], testing::EpwRowText(1, 1, 2, {}));
  EXPECT_EQ(rows[24], testing::EpwRowText(1, 2, 1, {}));
  EXPECT_EQ(rows[8759], testing::EpwRowText(12, 31, 24, {}));
  const Strings made = SplitFields(rows[5]);
  ASSERT_EQ(made.size(), 35u);
  EXPECT_EQ(Strings(made.begin(), made.begin() + 5), (Strings{"1999", "1", "1", "6", "60"}));
  EXPECT_EQ(made[6], "10.0");   // the converted dry bulb
  EXPECT_EQ(made[7], "5.0");    // the formatter's dew point, 41 F
  EXPECT_EQ(made[9], "84000");  // station pressure, Pa
  EXPECT_EQ(made[15], "0");     // diffuse: no sun at 5 am
  EXPECT_NE(Write(1).find("a 365-day year (29 February left out); 1 h without a source row"),
            std::string::npos);
}

TEST_F(EpwWriterTest, LeapDayRowsAndDoubledHoursAreLeftOutAndThePeriodIsMadeWhole) {
  std::string text = testing::EpwHeaderText();
  text.replace(text.find("HOLIDAYS/DAYLIGHT SAVINGS,No"), 28, "HOLIDAYS/DAYLIGHT SAVINGS,Yes");
  text.replace(text.find("DATA PERIODS,1,1"), 16, "DATA PERIODS,1,4");
  testing::EpwValues v;
  for (int m = 1; m <= 12; ++m) {
    for (int d = 1; d <= (m == 2 ? 29 : DaysInMonth[static_cast<size_t>(m)]); ++d) {
      for (int hr = 1; hr <= 24; ++hr) {
        v.dryBulbC = m == 2 && d == 29 ? 30 : 10;
        text += testing::EpwRowText(m, d, hr, v) + "\n";  // LF line ends are kept
        if (m == 6 && d == 1 && hr == 5) {
          v.minute = 30;
          text += testing::EpwRowText(m, d, hr, v) + "\n";  // the second row of one hour
          v.minute = 60;
        }
      }
    }
  }
  ReadSource(text);
  const std::string out = Write();
  EXPECT_NE(out.find("HOLIDAYS/DAYLIGHT SAVINGS,No,0,0,0\r\n"), std::string::npos);
  EXPECT_NE(out.find("\r\nDATA PERIODS,1,1,Data,Sunday, 1/ 1,12/31\r\n"), std::string::npos);
  EXPECT_EQ(out.find(",2,29,"), std::string::npos);
  size_t lines = 0;  // the header's CR LF and the rows' own LF
  for (char c : out) lines += c == '\n' ? 1 : 0;
  EXPECT_EQ(lines, 8u + 8760u);
  EXPECT_NE(out.find(testing::EpwRowText(6, 1, 5, {.minute = 30}) + "\n"), std::string::npos);
  EXPECT_EQ(out.find(testing::EpwRowText(6, 1, 5, {}) + "\n"), std::string::npos);
}

TEST_F(EpwWriterTest, AnHourWhoseRowsWereAveragedIsWrittenWithTheirMeans) {
  std::string text = testing::EpwYearText([](int) { return testing::EpwValues{}; });
  testing::EpwValues second;
  second.minute = 30;
  second.dryBulbC = 12.0;
  second.windSpeed = 4.0;
  const std::string first = testing::EpwRowText(6, 1, 5, {}) + "\r\n";
  text.insert(text.find(first) + first.size(), testing::EpwRowText(6, 1, 5, second) + "\r\n");
  const size_t hour = static_cast<size_t>(HourOfYear(6, 1, 5) - 1);

  // Kept last: the hour's row is the second one, as it stands.
  ReadSource(text);
  EXPECT_EQ(Rows(Write())[hour], testing::EpwRowText(6, 1, 5, second));

  // Averaged: the same row, its values the means of the two.
  EpwOptions mean;
  mean.subhourly = kSubhourlyMean;
  ReadSource(text, mean);
  const Strings f = SplitFields(Rows(Write())[hour]);
  ASSERT_EQ(f.size(), 35u);
  EXPECT_EQ(f[4], "30");    // the row's own minute
  EXPECT_EQ(f[6], "11.0");  // dry bulb
  EXPECT_EQ(f[21], "3.0");  // wind speed
  EXPECT_EQ(f[20], "180");  // wind direction
}

TEST_F(EpwWriterTest, AMadeFileFromACsvSourceGivesItsSiteYearsAndFlags) {
  ReadSource(testing::EpwYearText([](int h) {
    testing::EpwValues v;
    v.globalHorizontal = h % 24 == 13 ? 600 : 0;
    return v;
  }));
  for (int h = 1; h <= kHoursPerYear; ++h) formatted.directNormalWm2[static_cast<size_t>(h - 1)] = 500;
  table.at(RainFlag, 13) = 1.0f;
  table.at(SnowFlag, 14) = 1.0f;
  site = {"Fort Alpha, CO, USA, North", "39.7412", "-105.18", "-7", "1829"};
  std::vector<int16_t> years(kHoursPerYear, 0);
  for (int h = 745; h <= kHoursPerYear; ++h) years[static_cast<size_t>(h - 1)] = 2019;
  for (int h = 1; h <= 744; ++h) years[static_cast<size_t>(h - 1)] = h == 5 ? 0 : 2001;
  CsvEpwSource csv{"Fort, Alpha.csv", years, true, true};
  const EpwYearInputs in{asRead, table, formatted, repairs, kMoistureWetBulb, site};
  const std::string text = RepairedEpwFromCsv(in, csv);
  const Strings lines = SplitCrLf(text);
  ASSERT_EQ(lines.size(), 8u + 8760u);
  EXPECT_EQ(lines[0], "LOCATION,Fort Alpha,CO,USA North,CSV,-,39.7412,-105.18,-7.0,1829.0");
  EXPECT_EQ(lines[3].rfind("GROUND TEMPERATURES,1,3.05,1.30,1500.0,1343.3,", 0), 0u);
  EXPECT_EQ(SplitFields(lines[3]).size(), 18u);
  EXPECT_EQ(lines[5].rfind("COMMENTS 1,Made by Kestrum from the CSV file Fort; Alpha.csv -- ", 0), 0u);
  EXPECT_EQ(lines[6].rfind("COMMENTS 2,Repaired by Kestrum: dry bulb 0 h; wet bulb 0 h;", 0), 0u);
  EXPECT_EQ(lines[7], "DATA PERIODS,1,1,Data,Monday, 1/ 1,12/31");  // 1 January 2001
  const auto row = [&](int h) { return SplitFields(lines[static_cast<size_t>(7 + h)]); };
  EXPECT_EQ(row(5)[0], "2001");  // no year given: the one before
  EXPECT_EQ(row(745)[0], "2019");
  EXPECT_EQ(row(13)[26] + "," + row(13)[27], "0,909999999");  // rain
  EXPECT_EQ(row(14)[27], "999099999");                        // snow
  EXPECT_EQ(row(15)[27], "999999999");
  // Diffuse at 1 pm in January: the global less the beam, within 0..global.
  const double diffuse = std::stod(row(13)[15]);
  EXPECT_GT(diffuse, 0.0);
  EXPECT_LT(diffuse, 600.0);
  EXPECT_EQ(row(1)[15], "0");

  // Without years: 2005 (a Saturday), and COMMENTS 1 says so.
  const std::string plain = RepairedEpwFromCsv(in, CsvEpwSource{"x.csv", {}, false, false});
  EXPECT_NE(plain.find("the file gives no year: the rows are dated 2005\r\n"), std::string::npos);
  EXPECT_NE(plain.find("DATA PERIODS,1,1,Data,Saturday, 1/ 1,12/31\r\n2005,1,1,1,0,"),
            std::string::npos);
}

}  // namespace
}  // namespace kestrum
