#include "csv/csv_reader.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "csv/csv_test_support.h"
#include "run/hour_placement.h"
#include "run/run_error.h"
#include "support/test_support.h"

namespace kestrum {
namespace {

using testing::MakeFieldMap;
using testing::ReadCrLfLines;
using testing::YearLines;
using Strings = std::vector<std::string>;

constexpr const char* kLoaded = "  Weather data loaded successfully from CSV file.";
constexpr const char* kHourFormat = "  Detected Weather data Hour Format 0 - 23.";

// Three date fields, then dry bulb, moisture, global, wind speed, wind direction.
CsvFieldMap MdhMap(int32_t firstRow = 1) {
  return MakeFieldMap(kDateThreeFields, 0, 0, {"1", "2", "3", "4", "5", "6", "7", "8"}, firstRow);
}
// No date: dry bulb, moisture, global, wind speed, wind direction.
CsvFieldMap NoDateMap(int32_t firstRow = 1) {
  return MakeFieldMap(kDateNone, 0, 0, {"1", "2", "3", "4", "5"}, firstRow);
}

// rows, then copies of filler up to a year of 8760 rows, each line ended by end: without
// a date form a file holds a whole year.
std::string Year(const Strings& rows, const std::string& filler = "0,0,0,0,0",
                 const std::string& end = "\n") {
  std::string text;
  for (const std::string& row : rows) text += row + end;
  for (size_t h = rows.size(); h < 8760; ++h) text += filler + end;
  return text;
}

class CsvReaderTest : public ::testing::Test {
 protected:
  CsvReaderTest() {
    table.ResetOptionalSeries();
    state.outputBaseName = "Test";
  }
  bool Read(const std::string& text, const CsvFieldMap& fieldMap) {
    return ReadCSVData(dir.Write("in.csv", text), fieldMap, ctx);
  }
  std::string ErrorOf(const std::string& text, const CsvFieldMap& fieldMap) {
    try {
      Read(text, fieldMap);
    } catch (const RunError& e) {
      return e.what();
    }
    return "no error";
  }
  Strings LogLines() const {
    return std::filesystem::exists(log.path()) ? ReadCrLfLines(log.path()) : Strings{};
  }
  Strings OrigLines() const { return ReadCrLfLines(ctx.RunFile("-orig.csv")); }
  std::string In() const { return dir.File("in.csv"); }

  testing::TempDir dir;
  HourlyTable table;
  RunState state;
  testing::RecordingUi ui;
  RunLog log{dir.File("run.log")};
  Strings warnings;
  StageContext ctx{table, state, ui, log, dir.str(), &warnings};
};

TEST_F(CsvReaderTest, ThreeDateFieldsPutEachRowOnItsHourInStoredUnits) {
  CsvFieldMap fieldMap = MdhMap(2);
  fieldMap.dbtUnits = 1;   // deg C
  fieldMap.moistUnits = 1;
  fieldMap.solUnits = 1;   // Btu/hr-ft2
  fieldMap.windUnits = 2;  // m/s
  ASSERT_TRUE(Read("Month,Day,Hour,T,Td,GH,WS,WD\n"
                   "7,1,14,30.5,20,800.5,10,270\n"
                   "1,1,1,10,5,0,2,180\n"
                   "12,31,24,-5,-10,0,0,0\n",
                   fieldMap));
  EXPECT_FLOAT_EQ(table.at(DryBulb, 1), 50.0f);
  EXPECT_FLOAT_EQ(table.at(Moisture, 1), 41.0f);
  EXPECT_FLOAT_EQ(table.at(WindSpeed, 1), 4.46f);
  EXPECT_EQ(table.at(WindDirection, 1), 180.0f);
  EXPECT_FLOAT_EQ(table.at(DryBulb, 4358), 86.9f);
  EXPECT_FLOAT_EQ(table.at(SolarHorizontal, 4358), 2525.5775f);
  EXPECT_FLOAT_EQ(table.at(DryBulb, 8760), 23.0f);
  // An hour no row supplies keeps the marker, converted like any value.
  EXPECT_FLOAT_EQ(table.at(DryBulb, 2), -1766.2f);
  EXPECT_FLOAT_EQ(table.at(SolarHorizontal, 2), -3151.845f);
  EXPECT_EQ(table.at(SolarDirectNormal, 4358), -1.0f);  // no direct normal column
  EXPECT_EQ(table.at(CloudType, 1), 2.0f);

  EXPECT_EQ(state.moistureIndicator, 0);
  EXPECT_EQ(ui.caption, "Varnell-Kestrum (convert CSV)");
  EXPECT_EQ(ui.title, "Kestrum: convert CSV");
  EXPECT_EQ(ui.offered, Strings{"Test"});
  EXPECT_EQ(ui.echoed, Strings{kLoaded});
  EXPECT_EQ(ui.repaints, 1);
  EXPECT_TRUE(LogLines().empty());

  const Strings orig = OrigLines();
  ASSERT_EQ(orig.size(), 8762u);
  EXPECT_EQ(orig[0], " , , ,DryBulbT,DewPtT,Sol-GlobHor,WindSpd,WindDir,Sol-DirNorm,Snow,Rain,CldType");
  EXPECT_EQ(orig[1], "Month,Day,Hour,F,F,w/m\xB2,mph,degrees,w/m\xB2");
  EXPECT_EQ(orig[2], "1,1,1,   50.00,   41.00,    0.00,    4.46,  180.00,   -1.00,    0.00,    0.00,    2.00");
  EXPECT_EQ(orig[3], "1,1,2,-1766.20,-1766.20,-3151.84,-2227.77, -999.00,   -1.00,    0.00,    0.00,    2.00");
  EXPECT_EQ(orig[8761], "12,31,24,   23.00,   14.00,    0.00,    0.00,    0.00,   -1.00,    0.00,    0.00,    2.00");
}

TEST_F(CsvReaderTest, FirstRowWithHourZeroMeansHoursNumbered0To23) {
  ASSERT_TRUE(Read("1,1,0,1,0,0,0,0\n1,1,1,2,0,0,0,0\n12,31,23,3,0,0,0,0\n", MdhMap()));
  EXPECT_EQ(table.at(DryBulb, 1), 1.0f);
  EXPECT_EQ(table.at(DryBulb, 2), 2.0f);
  EXPECT_EQ(table.at(DryBulb, 8760), 3.0f);
  EXPECT_EQ(ui.echoed, (Strings{kHourFormat, kLoaded}));

  // Numbered 1..24: no message; a later hour 0 is the day before's hour 24, and 1 January
  // hour 0 lies outside the year.
  ui.echoed.clear();
  ASSERT_TRUE(Read("1,1,1,1,0,0,0,0\n1,2,0,2,0,0,0,0\n1,1,0,9,0,0,0,0\n12,31,24,3,0,0,0,0\n",
                   MdhMap()));
  EXPECT_EQ(table.at(DryBulb, 1), 1.0f);
  EXPECT_EQ(table.at(DryBulb, 24), 2.0f);
  EXPECT_EQ(table.at(DryBulb, 8760), 3.0f);
  const std::string skipped =
      "     1 data row whose date or hour is not in the 365-day year was skipped (first at "
      "line 3).";
  EXPECT_EQ(ui.echoed, (Strings{skipped, kLoaded}));
  EXPECT_EQ(LogLines(), Strings{skipped});
  EXPECT_EQ(warnings, Strings{skipped.substr(5)});
}

TEST_F(CsvReaderTest, DatesPastTheirMonthRunOnAndLeapDaysAreLeftOut) {
  ASSERT_TRUE(Read("2,29,1,1,0,0,0,0\n3,1,1,2,0,0,0,0\n2,29,2,3,0,0,0,0\n2,30,5,4,0,0,0,0\n"
                   "13,1,1,5,0,0,0,0\n0,31,1,6,0,0,0,0\n12,32,1,7,0,0,0,0\n",
                   MdhMap()));
  EXPECT_EQ(table.at(DryBulb, 1417), 2.0f);  // 1 March hour 1: the row of 1 March
  EXPECT_EQ(table.at(DryBulb, 1418), -999.0f);  // not 29 February's
  EXPECT_EQ(table.at(DryBulb, 1445), 4.0f);  // 30 February is 2 March
  EXPECT_EQ(warnings,
            (Strings{"3 data rows whose date or hour is not in the 365-day year were skipped "
                     "(first at line 5).",
                     "2 rows of 29 February were left out: the year has 365 days (first at line "
                     "1)."}));
  EXPECT_EQ(LogLines().size(), 2u);
}

TEST_F(CsvReaderTest, OneDateFieldTakesSerialNumbersAndIso8601Dates) {
  const CsvFieldMap fieldMap = MakeFieldMap(kDateOneField, 1, 0, {"1", "2", "3", "4", "5", "6"});
  ASSERT_TRUE(Read("44927.0416666667,10,9,0,0,0\n"  // 1 January 1:00
                   "44928,11,9,0,0,0\n"             // 2 January 0:00
                   "2023-07-01T14:00,12,9,0,0,0\n"
                   "2023-07-01 15:00,13,9,0,0,0\n"
                   "44927,99,9,0,0,0\n",            // 1 January 0:00: outside
                   fieldMap));
  EXPECT_EQ(table.at(DryBulb, 1), 10.0f);
  EXPECT_EQ(table.at(DryBulb, 24), 11.0f);
  EXPECT_EQ(table.at(DryBulb, 4358), 12.0f);
  EXPECT_EQ(table.at(DryBulb, 4359), 13.0f);
  EXPECT_EQ(state.moistureIndicator, 1);
  EXPECT_EQ(LogLines(), Strings{"     1 data row whose date or hour is not in the 365-day year "
                                "was skipped (first at line 5)."});

  const std::string error = ErrorOf("44927.5,1,1,0,0,0\n7/1/2023 14:00,1,1,0,0,0\n", fieldMap);
  EXPECT_EQ(error.rfind(In() + ", line 2: \"7/1/2023 14:00\" is not a date: a one-field date is "
                        "a date-time serial number (days since 30 December 1899",
                        0),
            0u)
      << error;
  EXPECT_NE(error.find("2023-07-01T14:00 or 2023-07-01 14:00"), std::string::npos);
}

TEST_F(CsvReaderTest, WithoutADateRowsAreTheHoursInOrder) {
  // Blank lines after the last row are no rows.
  const std::string text =
      "header\n" + YearLines([](int h) { return std::to_string(h) + ",1,0,0,0"; });
  ASSERT_TRUE(Read(text + "\n  \n\t\n", NoDateMap(2)));
  EXPECT_EQ(table.at(DryBulb, 1), 1.0f);
  EXPECT_EQ(table.at(DryBulb, 8760), 8760.0f);
  EXPECT_TRUE(LogLines().empty());
  EXPECT_TRUE(warnings.empty());
}

TEST_F(CsvReaderTest, WithoutADateOnlyAYearOrALeapYearOfRowsConverts) {
  // A leap year: rows 1417 to 1440 are 29 February, left out; 1 March is row 1441.
  std::string leap;
  for (int row = 1; row <= 8784; ++row) leap += std::to_string(row) + ",1,0,0,0\n";
  ASSERT_TRUE(Read(leap + "\n", NoDateMap()));
  EXPECT_EQ(table.at(DryBulb, 1416), 1416.0f);
  EXPECT_EQ(table.at(DryBulb, 1417), 1441.0f);
  EXPECT_EQ(table.at(DryBulb, 8760), 8784.0f);
  EXPECT_EQ(warnings, Strings{"24 rows of 29 February were left out: the year has 365 days "
                              "(first at line 1417)."});

  // Any other count is refused before anything is written, blank lines at the end aside.
  for (int rows : {1, 8759, 8761, 8783, 17520}) {
    SCOPED_TRACE(rows);
    std::string text = "T,Td,GH,WS,WD\n";
    for (int row = 1; row <= rows; ++row) text += "1,1,0,0,0\n";
    std::filesystem::remove(ctx.RunFile("-orig.csv"));
    EXPECT_EQ(ErrorOf(text + "\n\n", NoDateMap(2)),
              In() + " has " + std::to_string(rows) +
                  " data rows; without a date form a file must hold 8760 (or 8784 for a leap "
                  "year) rows, one per hour");
    EXPECT_FALSE(std::filesystem::exists(ctx.RunFile("-orig.csv")));
  }
  // A blank line between rows is a row (an hour without values).
  EXPECT_NE(ErrorOf(Year({"1,1,0,0,0", ""}) + "1,1,0,0,0\n", NoDateMap()).find(" has 8761 data rows"),
            std::string::npos);
  ASSERT_TRUE(Read(Year({"1,1,0,0,0", ""}), NoDateMap()));
  EXPECT_EQ(table.at(DryBulb, 2), -999.0f);
}

TEST_F(CsvReaderTest, ValuesThatDoNotConvertAreLoggedAndGetTheirFailureValue) {
  const CsvFieldMap fieldMap = MakeFieldMap(kDateNone, 2, 1, {"1", "2", "3", "4", "5", "6"});
  // DBTemp, RelHum, SolarHor, SolarDN, WindSpd, WindDir
  ASSERT_TRUE(Read(Year({"70,50,100,300,5,90", "70,50,100,300,calm,90", ",x,1e39,-,5,north",
                         "70"},  // the other columns lie beyond the row's fields
                        "70,50,100,300,5,90"),
                   fieldMap));
  EXPECT_EQ(table.at(WindSpeed, 2), -999.0f);
  EXPECT_EQ(table.at(DryBulb, 3), -999.0f);
  EXPECT_EQ(table.at(Moisture, 3), -999.0f);
  EXPECT_EQ(table.at(SolarHorizontal, 3), -999.0f);
  EXPECT_EQ(table.at(WindDirection, 3), -999.0f);
  EXPECT_EQ(table.at(SolarDirectNormal, 3), -1.0f);  // the direct normal's failure value
  EXPECT_EQ(table.at(SolarDirectNormal, 1), 300.0f);
  EXPECT_EQ(table.at(DryBulb, 4), 70.0f);
  const std::string i = "CSV Error converting ";
  EXPECT_EQ(LogLines(), (Strings{
                            i + "Wind velocity data to value at index = 2",
                            i + "DBT data to value at index = 3",
                            i + "Moisture data to value at index = 3",
                            i + "SolarHOr data to value at index = 3",
                            i + "Wind direction data to value at index = 3",
                            i + "SolarDN data to value at index = 3",
                            i + "Moisture data to value at index = 4",
                            i + "SolarHOr data to value at index = 4",
                            i + "Wind velocity data to value at index = 4",
                            i + "Wind direction data to value at index = 4",
                            i + "SolarDN data to value at index = 4",
                            // Then one warning per item, in the order of the items.
                            "     1 data row splits into another number of fields than the 6 "
                            "of the first data row (first at line 4): a quoted field shifts "
                            "the columns of such rows, so their values may come from the "
                            "wrong columns.",
                            "     1 value of DBTemp did not convert (first at line 3): it "
                            "counts as missing.",
                            "     2 values of RelHum did not convert (first at line 3): they "
                            "count as missing.",
                            "     2 values of SolarHor did not convert (first at line 3): they "
                            "count as missing.",
                            "     2 values of WindSpd did not convert (first at line 2): they "
                            "count as missing.",
                            "     2 values of WindDir did not convert (first at line 3): they "
                            "count as missing.",
                            "     2 values of SolarDN did not convert (first at line 3): they "
                            "count as missing.",
                        }));
  EXPECT_EQ(warnings.size(), 7u);
}

TEST_F(CsvReaderTest, SnowRainAndCloudFollowTheirTextRules) {
  const struct {
    const char* field;
    float snow;   // the same rule for rain
    float cloud;
  } cases[] = {
      {"0", 0, 2},   {"", 0, 2},   {"1", 1, 1},    {"2", 1, 2},  {"3", 1, 3},
      {"4", 1, 2},   {"yes", 1, 2}, {"0.0", 1, 2}, {" 3", 1, 3}, {"3 ", 1, 2},
  };
  Strings rows;
  for (const auto& c : cases) rows.push_back(std::string("70,50,0,5,90,") + c.field + "," + c.field + "," + c.field);
  ASSERT_TRUE(Read(Year(rows, "70,50,0,5,90,0,0,0"),
                   MakeFieldMap(kDateNone, 0, 0, {"1", "2", "3", "4", "5", "6", "7", "8"})));
  int h = 0;
  for (const auto& c : cases) {
    ++h;
    EXPECT_EQ(table.at(SnowFlag, h), c.snow) << '"' << c.field << '"';
    EXPECT_EQ(table.at(RainFlag, h), c.snow) << '"' << c.field << '"';
    EXPECT_EQ(table.at(CloudType, h), c.cloud) << '"' << c.field << '"';
  }
  EXPECT_TRUE(LogLines().empty());

  // A "0" of a later row of the same hour leaves the flag an earlier row set.
  table.ResetOptionalSeries();
  ASSERT_TRUE(Read("1,1,1,70,50,0,5,90,1\n1,1,1,70,50,0,5,90,0\n",
                   MakeFieldMap(kDateThreeFields, 0, 0, {"1", "2", "3", "4", "5", "6", "7", "8", "9"})));
  EXPECT_EQ(table.at(SnowFlag, 1), 1.0f);
}

TEST_F(CsvReaderTest, AQuotedFieldShiftsTheFollowingColumnsByOne) {
  const std::string row = "\"Denver, CO\",70,50,0,5,90";
  ASSERT_TRUE(Read(Year({}, row), MakeFieldMap(kDateNone, 0, 0, {"3", "4", "5", "6", "7"})));
  EXPECT_EQ(table.at(DryBulb, 1), 70.0f);
  EXPECT_EQ(table.at(WindDirection, 1), 90.0f);
  EXPECT_TRUE(warnings.empty());  // every row alike
  ASSERT_TRUE(Read(Year({}, row), NoDateMap()));
  EXPECT_EQ(table.at(DryBulb, 1), -999.0f);  // column 1 is the quoted text
  EXPECT_EQ(table.at(Moisture, 1), -999.0f);  // column 2 the empty field after it
  EXPECT_EQ(table.at(SolarHorizontal, 1), 70.0f);

  // Rows quoted here and there: each such row is shifted, and the rows are counted.
  warnings.clear();
  ASSERT_TRUE(Read(Year({"Denver,70,50,0,5,90", "Denver,71,50,0,5,90", row, "Denver,72,50,0,5,90", row},
                        "Denver,73,50,0,5,90"),
                   MakeFieldMap(kDateNone, 0, 0, {"2", "3", "4", "5", "6"})));
  EXPECT_EQ(table.at(DryBulb, 2), 71.0f);
  EXPECT_EQ(table.at(DryBulb, 3), -999.0f);  // the empty field after the quoted one
  EXPECT_EQ(warnings.front(),
            "2 data rows split into another number of fields than the 6 of the first data row "
            "(first at line 3): a quoted field shifts the columns of such rows, so their "
            "values may come from the wrong columns.");
}

TEST_F(CsvReaderTest, RowsThatShareAnHourGiveItTheirMean) {
  // Month, day, hour, dry bulb, dew point, global, wind speed and direction, snow, rain,
  // cloud type; hour 1 from three rows, one of them without a dry bulb.
  CsvFieldMap fieldMap =
      MakeFieldMap(kDateThreeFields, 0, 0, {"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11"});
  fieldMap.subhourly = kSubhourlyMean;
  ASSERT_TRUE(Read("1,1,1,10,1,100,4,0,0,1,3\n"
                   "1,1,1,x,2,200,4,90,1,0,1\n"
                   "1,1,1,20,3,300,0,45,0,0,\n"
                   "1,1,2,x,5,0,0,0,0,0,0\n",
                   fieldMap));
  EXPECT_EQ(table.at(DryBulb, 1), 15.0f);  // "x" takes no part
  EXPECT_EQ(table.at(Moisture, 1), 2.0f);
  EXPECT_EQ(table.at(SolarHorizontal, 1), 200.0f);
  EXPECT_FLOAT_EQ(table.at(WindSpeed, 1), 8.0f / 3.0f);
  EXPECT_NEAR(table.at(WindDirection, 1), 45.0, 1e-4);  // north and east, the calm row nothing
  EXPECT_EQ(table.at(SnowFlag, 1), 1.0f);  // any row
  EXPECT_EQ(table.at(RainFlag, 1), 1.0f);
  EXPECT_EQ(table.at(CloudType, 1), 2.0f);  // the last row's: none given
  EXPECT_EQ(table.at(DryBulb, 2), -999.0f);  // no valid value: the failure value
  EXPECT_EQ(warnings,
            (Strings{"1 hour was filled by more than one row; each holds the mean of its 3 rows "
                     "(first at line 2).",
                     "2 values of DBTemp did not convert (first at line 2): they count as missing."}));
}

TEST_F(CsvReaderTest, ATimeShiftMovesRowsAroundTheYearAndOneDateStampsMayBeginTheirHour) {
  CsvFieldMap fieldMap = MakeFieldMap(kDateOneField, 0, 0, {"1", "2", "3", "4", "5", "6"});
  fieldMap.timeStamps = kStampsBeginning;
  ASSERT_TRUE(ReadCSVData(dir.Write("in.csv",
                                    "2023-01-01 00:00,1,0,0,0,0\n"
                                    "2023-12-31 23:00,2,0,0,0,0\n"
                                    "2023-01-01 05:00,3,0,0,0,0\n"
                                    "2024-02-29 10:00,4,0,0,0,0\n"),
                          fieldMap, ctx, 5));
  EXPECT_EQ(table.at(DryBulb, 6), 1.0f);     // hour 1 + 5
  EXPECT_EQ(table.at(DryBulb, 5), 2.0f);     // hour 8760 + 5, around the end
  EXPECT_EQ(table.at(DryBulb, 11), 3.0f);
  EXPECT_EQ(warnings, Strings{"1 row of 29 February was left out: the year has 365 days "
                              "(first at line 4)."});
  EXPECT_EQ(ErrorOf("1,1,0,0,0\n", [&] {
              CsvFieldMap bad = NoDateMap();
              bad.subhourly = 2;
              return bad;
            }()),
            "The CSV field specification has the rule 2 for rows that share an hour, which is "
            "not 0 (the last row) or 1 (their mean).");
}

TEST_F(CsvReaderTest, AnUnusableSpecificationIsRefusedBeforeAnythingIsWritten) {
  const std::string error = ErrorOf("70,50,0,5,90\n", MakeFieldMap(kDateNone, 0, 0, {"1", "2", "", "4", "5"}));
  EXPECT_EQ(error, "The CSV field specification assigns no column to \"SolarHor\" (slot 3), which is required.");
  EXPECT_NE(ErrorOf("70\n", MakeFieldMap(kDateNone, 0, 0, {"1", "2", "3", "4", "300"})).find("slot 5"),
            std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(ctx.RunFile("-orig.csv")));
  EXPECT_TRUE(ui.offered.empty());
}

// The same data in every form a CSV file comes in, and the bad inputs a user meets.
TEST_F(CsvReaderTest, BadInputConvertsAsFarAsItCanOrNamesTheFileLineAndText) {
  std::mt19937 random(8);
  std::string garbage;
  for (int i = 0; i < 20000; ++i) garbage.push_back(static_cast<char>(random() & 0xFF));
  const std::string oneMbField(999'000, '7');  // a line just under 1 MB
  const struct {
    const char* name;
    std::string text;
    CsvFieldMap fieldMap;
    std::string error;  // empty: converts
    float dryBulbHour2 = 2;
  } cases[] = {
      {"LF", Year({"1,50,0,5,90", "2,50,0,5,90"}), NoDateMap(), ""},
      {"CR LF", Year({"1,50,0,5,90", "2,50,0,5,90"}, "0,0,0,0,0", "\r\n"), NoDateMap(), ""},
      {"CR only", Year({"1,50,0,5,90", "2,50,0,5,90"}, "0,0,0,0,0", "\r"), NoDateMap(), ""},
      {"no last line end",
       [] {
         std::string text = Year({"1,50,0,5,90", "2,50,0,5,90"});
         text.pop_back();
         return text;
       }(),
       NoDateMap(), ""},
      {"tabs", Year({"1\t50\t0\t5\t90", "2\t50\t0\t5\t90"}, "0\t0\t0\t0\t0"), NoDateMap(), ""},
      {"byte-order mark", "\xEF\xBB\xBF" "1,1,1,1,50,0,5,90\n1,1,2,2,50,0,5,90\n", MdhMap(), ""},
      {"extra columns", Year({"1,50,0,5,90,x,y,z", "2,50,0,5,90,1,2,3,4,5"}), NoDateMap(), ""},
      {"quoted comma", Year({"1,50,0,5,90,\"a,b\"", "2,50,0,5,90"}), NoDateMap(), ""},
      {"fewer than 8760 rows", "1,50,0,5,90\n2,50,0,5,90\n", NoDateMap(),
       "in.csv has 2 data rows; without a date form a file must hold 8760"},
      {"column beyond the row", Year({"1,50,0,5,90", "2"}), NoDateMap(), ""},
      {"empty line, no date", Year({"1,50,0,5,90", ""}), NoDateMap(), "", -999},
      {"blank lines at the end, three date fields", "1,1,1,1,50,0,5,90\n1,1,2,2,50,0,5,90\n\n \n",
       MdhMap(), ""},
      {"1-line file", "1,50,0,5,90", NoDateMap(), "in.csv has 1 data rows;"},
      {"line of almost 1 MB", Year({"1,50,0,5,90", "2," + oneMbField}), NoDateMap(), ""},
      {"binary garbage, no date", garbage, NoDateMap(), "data rows; without a date form"},
      {"empty line, three date fields", "1,1,1,1,50,0,5,90\n\n1,1,3,3,50,0,5,90\n", MdhMap(),
       "in.csv, line 2: \"\" is not a whole number (month)"},
      {"text hour", "1,1,1,1,50,0,5,90\n1,1,2:00,2,50,0,5,90\n", MdhMap(),
       "in.csv, line 2: \"2:00\" is not a whole number (hour)"},
      {"binary garbage, three date fields", garbage, MdhMap(), "in.csv, line 1: \""},
      {"first row beyond the end", "1,50,0,5,90\n", NoDateMap(5),
       "in.csv has 1 line: the first data row, line 5, lies beyond its end."},
      {"empty file", "", NoDateMap(), "in.csv has 0 lines: the first data row, line 1, lies beyond its end."},
      {"blank lines only", "x\n\n \n", MdhMap(2),
       "in.csv has 3 lines: the first data row, line 2, and every line after it are blank."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::filesystem::remove(ctx.RunFile("-orig.csv"));
    const std::string error = ErrorOf(c.text, c.fieldMap);
    if (!c.error.empty()) {
      EXPECT_NE(error.find(c.error), std::string::npos) << error;
      EXPECT_EQ(error.rfind(dir.str(), 0), 0u) << error;  // the file by its full name
      EXPECT_FALSE(std::filesystem::exists(ctx.RunFile("-orig.csv")));
      continue;
    }
    EXPECT_EQ(error, "no error");
    if (std::string(c.name).starts_with("binary")) continue;
    EXPECT_EQ(table.at(DryBulb, 1), 1.0f);
    EXPECT_EQ(table.at(DryBulb, 2), c.dryBulbHour2);
    EXPECT_EQ(OrigLines().size(), 8762u);
  }
}

TEST_F(CsvReaderTest, AFiftyMegabyteFileIsCountedToItsEnd) {
  std::string row = "1,50,0,5,90";
  for (int i = 0; i < 66; ++i) row += ",1234.5";
  row += "\n";
  std::string text;
  text.reserve(50'000'000 + row.size());
  int rows = 0;
  while (text.size() < 50'000'000) {
    text += row;
    ++rows;
  }
  EXPECT_EQ(ErrorOf(text, NoDateMap()),
            In() + " has " + std::to_string(rows) +
                " data rows; without a date form a file must hold 8760 (or 8784 for a leap "
                "year) rows, one per hour");
  EXPECT_TRUE(LogLines().empty());
}

}  // namespace
}  // namespace kestrum

namespace kestrum {
namespace {

TEST_F(CsvReaderTest, AConstantFillsItsItemForEveryHourAndIsWarned) {
  // Month, day, hour, dry bulb, dew point, global; wind speed and direction constants.
  CsvFieldMap fieldMap = MakeFieldMap(kDateThreeFields, 0, 0, {"1", "2", "3", "4", "5", "6", "", "99"});
  fieldMap.windUnits = 2;  // m/s
  fieldMap.constants = {{CsvItem::WindSpeed, 2, "2"}, {CsvItem::WindDirection, 90, "90"}};
  ASSERT_TRUE(Read("1,1,1,50,40,0\n1,1,2,51,41,0\n", fieldMap));
  for (const int h : {1, 2, 8760}) {
    EXPECT_FLOAT_EQ(table.at(WindSpeed, h), 4.46f) << h;  // 2 m/s in mph
    EXPECT_FLOAT_EQ(table.at(WindDirection, h), 90.0f) << h;
  }
  EXPECT_EQ(warnings,
            (Strings{"As asked, wind speed is the constant 2 m/s for every hour: no value of the "
                     "file is read for it.",
                     "As asked, wind direction is the constant 90 for every hour: no value of the "
                     "file is read for it."}));
  EXPECT_TRUE(LogLines().size() == 2u);  // the warnings; no failed conversion of the columns

  // Not for the dry bulb, nor for an item the layout lacks.
  fieldMap.constants = {{CsvItem::DryBulb, 50, "50"}};
  EXPECT_NE(ErrorOf("1,1,1,50,40,0,1,1\n", fieldMap).find("gives a constant to an item that takes none"),
            std::string::npos);
  fieldMap.constants = {{CsvItem::SolarDirectNormal, 0, "0"}};
  EXPECT_NE(ErrorOf("1,1,1,50,40,0,1,1\n", fieldMap).find("its layout does not have"),
            std::string::npos);
}

TEST_F(CsvReaderTest, RowsEndAtTheLastRowAndEmptyFieldsAtTheirEndsShiftNothing) {
  // Notes after the last data row; rows with more or fewer empty fields at their ends.
  CsvFieldMap fieldMap = MdhMap(2);
  fieldMap.lastRow = 4;
  ASSERT_TRUE(Read("Month,Day,Hour,T,Td,GH,WS,WD,,,\n"
                   "1,1,1,50,40,0,1,1,,,\n"
                   "1,1,2,51,40,0,1,1,,,,,,\n"
                   "1,1,3,52,40,0,1,1\n"
                   "\n"
                   "T: the dry bulb (F)\n",
                   fieldMap));
  EXPECT_EQ(table.at(DryBulb, 3), 52.0f);
  EXPECT_TRUE(warnings.empty()) << warnings.front();
  // A row that lacks a filled field is still warned.
  ASSERT_TRUE(Read("1,1,1,50,40,0,1,1,5,,\n1,1,2,51,40,0,1,1\n", MdhMap()));
  ASSERT_EQ(warnings.size(), 1u);
  EXPECT_EQ(warnings[0].rfind("1 data row splits into another number of fields than the 11", 0), 0u);
}

}  // namespace
}  // namespace kestrum
