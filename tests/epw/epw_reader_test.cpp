#include "epw/epw_reader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>

#include "cleaning/cleaning_pass.h"
#include "run/hour_placement.h"
#include "epw/epw_builder.h"
#include "run/run_error.h"
#include "support/test_support.h"

namespace kestrum {
namespace {

using testing::EpwValues;
using testing::ReadCrLfLines;
using Strings = std::vector<std::string>;

class EpwReaderTest : public ::testing::Test {
 protected:
  EpwReaderTest() {
    table.ResetOptionalSeries();
    state.outputBaseName = "Test";
  }
  bool Read(const std::string& text, EpwOptions options = {}) {
    return ReadEPWData(dir.Write("in.epw", text), options, ctx);
  }
  // The message of the InputError that reading text raises.
  std::string ErrorOf(const std::string& text, EpwOptions options = {}) {
    try {
      Read(text, options);
    } catch (const InputError& e) {
      return e.what();
    }
    return "no error";
  }
  Strings LogLines() const {
    return std::filesystem::exists(log.path()) ? ReadCrLfLines(log.path()) : Strings{};
  }
  Strings OrigLines() const { return ReadCrLfLines(ctx.RunFile("-orig.csv")); }
  std::string InPath() const { return dir.File("in.epw"); }

  testing::TempDir dir;
  HourlyTable table;
  RunState state;
  testing::RecordingUi ui;
  RunLog log{dir.File("run.log")};
  Strings warnings;
  StageContext ctx{table, state, ui, log, dir.str(), &warnings};
};

// Every hour carries its own dry bulb, so a misplaced row shows.
EpwValues ByHour(int h) {
  EpwValues v;
  v.dryBulbC = h / 1000.0;
  v.globalHorizontal = h % 24 == 12 ? 500 : 0;
  v.directNormal = h % 24 == 12 ? 700 : 0;
  return v;
}

TEST_F(EpwReaderTest, CompleteYearFillsTheTableInStoredUnits) {
  ASSERT_TRUE(Read(testing::EpwYearText(ByHour)));
  for (int h : {1, 12, 1417, 8760}) {
    EXPECT_FLOAT_EQ(table.at(DryBulb, h), static_cast<float>(h / 1000.0f * 1.8 + 32)) << h;
  }
  EXPECT_FLOAT_EQ(table.at(Moisture, 1), 41.0f);   // 5 C dew point
  EXPECT_FLOAT_EQ(table.at(WindSpeed, 1), 4.46f);  // 2 m/s
  EXPECT_EQ(table.at(WindDirection, 1), 180.0f);
  EXPECT_EQ(table.at(SolarHorizontal, 12), 500.0f);
  EXPECT_EQ(table.at(SolarDirectNormal, 12), 700.0f);
  EXPECT_EQ(table.at(CloudType, 12), 2.0f);

  EXPECT_EQ(state.moistureIndicator, 1);
  EXPECT_EQ(ui.caption, "Varnell-Kestrum (convert EPW)");
  EXPECT_EQ(ui.title, "Kestrum: convert EPW");
  EXPECT_EQ(ui.offered, Strings{"Test"});
  EXPECT_EQ(ui.echoed, Strings{"  Weather data loaded successfully from EPW file."});
  EXPECT_EQ(ui.repaints, 1);
  EXPECT_TRUE(LogLines().empty());

  const Strings orig = OrigLines();
  ASSERT_EQ(orig.size(), 8762u);
  EXPECT_EQ(orig[0], " , , ,DryBulbT,DewPtT,Sol-GlobHor,WindSpd,WindDir,Sol-DirNorm");
  EXPECT_EQ(orig[1 + 12], "1,1,12,   32.02,   41.00,  500.00,    4.46,  180.00,  700.00");
}

TEST_F(EpwReaderTest, HourMissingFromTheFileKeepsTheNormalisedPlaceholders) {
  std::string text = testing::EpwHeaderText();
  for (int h = 1; h <= 8760; ++h) {
    const CalendarHour t = SplitHourOfYear(h);
    if (h != 1000) text += testing::EpwRowText(t.month, t.day, t.hour, {}) + "\n";
  }
  ASSERT_TRUE(Read(text));
  EXPECT_EQ(table.at(DryBulb, 1000), -1766.2f);
  EXPECT_EQ(table.at(Moisture, 1000), -1766.2f);
  EXPECT_EQ(table.at(SolarHorizontal, 1000), -999.0f);
  EXPECT_EQ(table.at(WindSpeed, 1000), -2227.77f);
  EXPECT_EQ(table.at(WindDirection, 1000), -999.0f);
  EXPECT_EQ(table.at(SolarDirectNormal, 1000), -1.0f);
  EXPECT_EQ(OrigLines()[1 + 1000], "2,11,16,-1766.20,-1766.20, -999.00,-2227.77, -999.00,   -1.00");

  ASSERT_TRUE(Read(text, {.useRelHum = true}));
  EXPECT_EQ(table.at(Moisture, 1000), -999.0f);  // percent: not converted
}

TEST_F(EpwReaderTest, RelativeHumidityOptionTakesField9Unconverted) {
  EpwValues v;
  v.relHum = 45.5;
  std::string text = testing::EpwHeaderText() + testing::EpwRowText(1, 1, 1, v) + "\n";
  text += "1999,1,1,2,60,x,10,not a number,80,0,0,0,0,0,0,0,0,0,0,0,90,1\n";  // dew point unused
  ASSERT_TRUE(Read(text, {.useRelHum = true}));
  EXPECT_EQ(state.moistureIndicator, 2);
  EXPECT_EQ(table.at(Moisture, 1), 45.5f);
  EXPECT_EQ(table.at(Moisture, 2), 80.0f);
  EXPECT_EQ(OrigLines()[0], " , , ,DryBulbT,RelHum,Sol-GlobHor,WindSpd,WindDir,Sol-DirNorm");
  EXPECT_EQ(OrigLines()[1], "Month,Day,Hour,F,%,w/m\xB2,mph,degrees,w/m\xB2");
}

TEST_F(EpwReaderTest, EstimatedDirectNormalLeavesEveryHourAbsentAndDropsTheColumn) {
  std::string text = testing::EpwYearText(ByHour);
  text += "1999,1,1,3,60,x,10,5,70,0,0,0,0,0,n/a,0,0,0,0,0,90,1\n";  // direct normal not read
  ASSERT_TRUE(Read(text, {.calcDirectNormal = true}));
  EXPECT_EQ(table.at(SolarDirectNormal, 12), -1.0f);
  const Strings orig = OrigLines();
  EXPECT_EQ(orig[0], " , , ,DryBulbT,DewPtT,Sol-GlobHor,WindSpd,WindDir,Sol-DirNorm");
  EXPECT_EQ(orig[1 + 12], "1,1,12,   32.02,   41.00,  500.00,    4.46,  180.00");
}

TEST_F(EpwReaderTest, DirectNormalMissingCodeIsLeftToTheEstimate) {
  std::string text = testing::EpwYearText([](int h) {
    EpwValues v = ByHour(h);
    if (h == 12 || h == 36) v.directNormal = 9999;
    return v;
  });
  EpwValues late = ByHour(60);
  late.directNormal = 99999;
  text += testing::EpwRowText(1, 3, 12, late) + "\n";   // a later row for hour 60
  late.directNormal = 650;
  text += testing::EpwRowText(1, 2, 12, late) + "\n";   // hour 36 given after all
  ASSERT_TRUE(Read(text));
  EXPECT_EQ(table.at(SolarDirectNormal, 12), -1.0f);
  EXPECT_EQ(table.at(SolarDirectNormal, 36), 650.0f);
  EXPECT_EQ(table.at(SolarDirectNormal, 60), -1.0f);
  EXPECT_EQ(table.at(SolarDirectNormal, 84), 700.0f);
  EXPECT_EQ(LogLines(),
            (Strings{"     2 hours were filled by more than one row; the last row of each was kept "
                     "(first at line 8769).",
                     "     2 hours with a missing direct-normal value (9999) will be estimated."}));
}

TEST_F(EpwReaderTest, LeapYearFileKeepsA365DayYear) {
  static constexpr int kLeapDays[13] = {0, 31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  std::string text = testing::EpwHeaderText();
  int dayOfLeapYear = 0;
  for (int m = 1; m <= 12; ++m) {
    for (int d = 1; d <= kLeapDays[m]; ++d) {
      ++dayOfLeapYear;
      for (int hr = 1; hr <= 24; ++hr) {
        EpwValues v;
        v.dryBulbC = dayOfLeapYear;
        text += testing::EpwRowText(m, d, hr, v) + "\r\n";
      }
    }
  }
  ASSERT_TRUE(Read(text));
  const auto dayOf = [&](int m, int d, int hr) {
    return (table.at(DryBulb, HourOfYear(m, d, hr)) - 32.0) / 1.8;
  };
  EXPECT_NEAR(dayOf(2, 28, 24), 59, 1e-4);
  EXPECT_NEAR(dayOf(3, 1, 1), 61, 1e-4);  // 29 February was left out
  EXPECT_NEAR(dayOf(12, 31, 24), 366, 1e-4);
  EXPECT_EQ(OrigLines().size(), 8762u);
  EXPECT_EQ(LogLines(), Strings{"     24 rows of 29 February were left out: the year has 365 "
                                "days (first at line 1425)."});
  EXPECT_EQ(warnings, Strings{"24 rows of 29 February were left out: the year has 365 days "
                              "(first at line 1425)."});
}

TEST_F(EpwReaderTest, LastOfSeveralSubHourlyRowsWins) {
  std::string text = testing::EpwHeaderText();
  for (int minute : {15, 30, 45, 60}) {
    EpwValues v;
    v.minute = minute;
    v.windDirection = minute;
    text += testing::EpwRowText(7, 4, 13, v) + "\n";
  }
  ASSERT_TRUE(Read(text));
  EXPECT_EQ(table.at(WindDirection, HourOfYear(7, 4, 13)), 60.0f);
}

TEST_F(EpwReaderTest, SubHourlyMeansLeaveOutTheMissingValueCodes) {
  // Hour 13 of 4 July: three rows; the third carries EPW's missing codes in every field.
  const auto row = [](double db, double dp, double gh, double dn, double wd, double ws, int minute) {
    EpwValues v;
    v.dryBulbC = db;
    v.dewPointC = dp;
    v.globalHorizontal = gh;
    v.directNormal = dn;
    v.windDirection = wd;
    v.windSpeed = ws;
    v.minute = minute;
    return testing::EpwRowText(7, 4, 13, v) + "\n";
  };
  std::string text = testing::EpwHeaderText() + row(20, 10, 600, 800, 90, 2, 20) +
                     row(22, 12, 700, 9999, 180, 2, 40) + row(99.9, 99.9, 9999, 9999, 999, 999, 60);
  // Hour 14: no row has a direct normal: the hour is left to the estimate.
  EpwValues first;
  first.directNormal = 9999;
  text += testing::EpwRowText(7, 4, 14, first) + "\n";
  EpwValues missing;
  missing.dryBulbC = 99.9;
  missing.directNormal = 9999;
  text += testing::EpwRowText(7, 4, 14, missing) + "\n";
  EpwOptions options;
  options.subhourly = kSubhourlyMean;
  ASSERT_TRUE(Read(text, options));
  const int h = HourOfYear(7, 4, 13);
  EXPECT_FLOAT_EQ(table.at(DryBulb, h), 21.0f * 1.8f + 32.0f);
  EXPECT_FLOAT_EQ(table.at(Moisture, h), 11.0f * 1.8f + 32.0f);
  EXPECT_FLOAT_EQ(table.at(SolarHorizontal, h), 650.0f);
  EXPECT_FLOAT_EQ(table.at(SolarDirectNormal, h), 800.0f);  // the one row that has it
  EXPECT_FLOAT_EQ(table.at(WindSpeed, h), 2.0f * 2.23f);
  EXPECT_NEAR(table.at(WindDirection, h), 135.0, 1e-4);  // east and south, alike
  EXPECT_FLOAT_EQ(table.at(DryBulb, h + 1), 50.0f);  // 10 deg C: 99.9 is no temperature
  EXPECT_EQ(table.at(SolarDirectNormal, h + 1), -1.0f);
  EXPECT_EQ(LogLines(),
            (Strings{"     2 hours were filled by more than one row; each holds the mean of its 2 "
                     "to 3 rows (first at line 10).",
                     "     1 hour with a missing direct-normal value (9999) will be estimated."}));

  // With the last row kept instead, the codes of the last row stay.
  ASSERT_TRUE(Read(text));
  EXPECT_NEAR(table.at(DryBulb, h), 99.9 * 1.8 + 32, 1e-3);
  EXPECT_EQ(table.at(SolarDirectNormal, h), -1.0f);  // 9999: to be estimated
}

TEST_F(EpwReaderTest, ATimeShiftMovesEveryRowAndWrapsAroundTheYear) {
  ASSERT_TRUE(ReadEPWData(dir.Write("in.epw", testing::EpwYearText(ByHour)), {}, ctx, -7));
  // The row of hour 8 fills hour 1; those of hours 1 to 7 the last hours of the year.
  const auto hourOfRow = [&](int h) {
    return std::lround((table.at(DryBulb, h) - 32.0) / 1.8 * 1000.0);
  };
  EXPECT_EQ(hourOfRow(1), 8);
  EXPECT_EQ(hourOfRow(8753), 8760);
  EXPECT_EQ(hourOfRow(8754), 1);
  EXPECT_EQ(hourOfRow(8760), 7);
  EXPECT_TRUE(warnings.empty());  // asked for: a plain line
  EXPECT_EQ(LogLines().front(),
            "     Hours shifted by -7 h: the row stamped hour s fills hour s - 7 of the "
            "year, wrapping around its ends.");
  EXPECT_THROW(ReadEPWData(dir.File("in.epw"), {}, ctx, 24), RunError);
}

TEST_F(EpwReaderTest, RowsWithoutADateOfTheYearAreSkippedNeverStoredElsewhere) {
  std::string text = testing::EpwHeaderText();
  const auto row = [](const char* date, double windDir) {
    return std::string("1999,") + date + ",60,x,10,5,70,0,0,0,0,0,0,0,0,0,0,0," +
           testing::Num(windDir) + ",1\n";
  };
  text += row("1,1,1", 100) + row("2,28,3", 101) + row("2,9,2", 102) + row("1,1,24", 103);
  // Hour 0, day 0, 30 February and the like used to land on an hour before or after.
  text += row("13,1,1", 1) + row("0,31,24", 2) + row("1,0,5", 3) + row("1,1,0", 4) +
          row("12,32,1", 5) + row("-1,1,1", 6) + row("1,1,99999", 7) + row("3,0,3", 30) +
          row("1,40,2", 40) + row("1,2,0", 20) + row("2,30,1", 50) + row("4,31,1", 60) +
          row("1,1,25", 70);
  ASSERT_TRUE(Read(text));
  EXPECT_EQ(table.at(WindDirection, 1), 100.0f);
  EXPECT_EQ(table.at(WindDirection, HourOfYear(2, 28, 3)), 101.0f);
  EXPECT_EQ(table.at(WindDirection, HourOfYear(2, 9, 2)), 102.0f);
  EXPECT_EQ(table.at(WindDirection, 24), 103.0f);
  for (int h : {5, HourOfYear(3, 2, 1), HourOfYear(5, 1, 1), 8760}) {
    EXPECT_EQ(table.at(WindDirection, h), -999.0f) << h;
  }
  const std::string line =
      "     13 data rows whose date or hour is not in the 365-day year were skipped (first at "
      "line 13).";
  EXPECT_EQ(LogLines(), Strings{line});
  EXPECT_EQ(ui.echoed.front(), line);  // the warning of the progress box
}

TEST_F(EpwReaderTest, HoursFilledTwiceAreCountedLeapDaysAside) {
  std::string twoYears = testing::EpwYearText(ByHour);
  twoYears += twoYears.substr(twoYears.find("\r\n1999,") + 2);  // the rows once more
  ASSERT_TRUE(Read(twoYears));
  EXPECT_EQ(LogLines(), Strings{"     8760 hours were filled by more than one row; the last row "
                                "of each was kept (first at line 8769)."});
  EXPECT_EQ(ui.echoed.front(), LogLines()[0]);

  // 29 February is left out, not stored on 1 March: it fills no hour twice.
  EpwValues leapDay;
  leapDay.windDirection = 29;
  std::string leap = testing::EpwHeaderText() + testing::EpwRowText(2, 29, 5, leapDay) + "\n" +
                     testing::EpwRowText(3, 1, 5, {}) + "\n";
  ASSERT_TRUE(Read(leap));
  EXPECT_EQ(table.at(WindDirection, HourOfYear(3, 1, 5)), EpwValues{}.windDirection);
  EXPECT_EQ(LogLines().back(), "     1 row of 29 February was left out: the year has 365 days "
                               "(first at line 9).");
  ASSERT_TRUE(Read(testing::EpwHeaderText() + testing::EpwRowText(3, 1, 5, {}) + "\n" +
                   testing::EpwRowText(3, 1, 5, {}) + "\n"));
  EXPECT_EQ(LogLines().back(), "     1 hour was filled by more than one row; the last row of each "
                               "was kept (first at line 10).");
}

TEST_F(EpwReaderTest, OneSkippedRowIsCountedInTheSingular) {
  std::string text = testing::EpwHeaderText() + testing::EpwRowText(1, 1, 1, {}) + "\n";
  text += "1999,13,1,1,60,x,10,5,70,0,0,0,0,0,0,0,0,0,0,0,180,1\n";
  ASSERT_TRUE(Read(text));
  EXPECT_EQ(LogLines(), Strings{"     1 data row whose date or hour is not in the 365-day year "
                                "was skipped (first at line 10)."});
}

TEST_F(EpwReaderTest, QuotedFieldInARowDoesNotShiftTheOthers) {
  ASSERT_TRUE(Read(testing::EpwHeaderText() +
                   "1999,1,1,1,60,\"A,B\",10,5,70,0,0,0,0,0,0,0,0,0,0,0,250,3\n"));
  EXPECT_EQ(table.at(WindDirection, 1), 250.0f);
}

TEST_F(EpwReaderTest, TextsThatDoNotConvertNameFileLineAndField) {
  const std::string head = testing::EpwHeaderText();  // 8 lines
  const std::string good = testing::EpwRowText(1, 1, 1, {}) + "\n";
  const std::string p = InPath();
  EXPECT_EQ(ErrorOf(head + good + "1999,1,1,2,60,x,abc,5,70\n"),
            p + ", line 10: \"abc\" is not a number (dry bulb)");
  EXPECT_EQ(ErrorOf(head + good + "\n" + good), p + ", line 10: \"\" is not a whole number (month)");
  std::string decimalComma = testing::EpwRowText(1, 1, 2, {});  // dry bulb typed "12,5"
  decimalComma.replace(decimalComma.find(",10,"), 4, ",12,5,");
  EXPECT_EQ(ErrorOf(head + good + decimalComma + "\n"),
            p + ", line 10: the row has fields beyond the 35 of an EPW row (field 36 is \"1.0\")");
  EXPECT_EQ(ErrorOf(head + "1999,1,1\n"), p + ", line 9: \"\" is not a whole number (hour)");
  EXPECT_EQ(ErrorOf(head + "1999,1.5,1,1\n"), p + ", line 9: \"1.5\" is not a whole number (month)");
  EXPECT_EQ(ErrorOf(head + "1999,1,1,1,60,x,10,5,70,101300,0,0\n"),
            p + ", line 9: \"\" is not a number (global horizontal radiation)");
  EXPECT_EQ(ErrorOf(head + "1999,1,1,1,60,x,10,5,70,0,0,0,0,0,0,0,0,0,0,0,90\n"),
            p + ", line 9: \"\" is not a number (wind speed)");
  EXPECT_EQ(ErrorOf(head + "1999,1,1,1,60,x,1e39,5,70\n"),
            p + ", line 9: \"1e39\" is out of range (dry bulb)");
  EXPECT_EQ(ErrorOf(head + "1999,1,1,1,60,x,10,5,abc,0,0,0,0,0,0,0,0,0,0,0,90,1\n",
                    {.useRelHum = true}),
            p + ", line 9: \"abc\" is not a number (relative humidity)");
  EXPECT_FALSE(std::filesystem::exists(ctx.RunFile("-orig.csv")));
}

TEST_F(EpwReaderTest, HugeOrBinaryRowsGiveShortErrors) {
  const std::string huge = ErrorOf(testing::EpwHeaderText() + "1999,1,1,1,60,x," +
                                   std::string((1 << 20) - 16, 'x') + "\n");
  EXPECT_LT(huge.size(), InPath().size() + 120);
  EXPECT_NE(huge.find("\"xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx...\" is not a number (dry bulb)"),
            std::string::npos) << huge;

  std::string binary = "LOCATION\nDATA PERIODS\n";
  for (int i = 0; i < 3000; ++i) binary.push_back(static_cast<char>((i * 131 + 7) & 0xFF));
  const std::string message = ErrorOf(binary);
  EXPECT_NE(message.find(", line 3: \""), std::string::npos) << message;
  for (char c : message) EXPECT_GE(static_cast<unsigned char>(c), 0x20);
}

TEST_F(EpwReaderTest, TextOddsAndEndsOfRealFiles) {
  std::string year = testing::EpwYearText(ByHour);
  const auto orig = [&](const std::string& text) {
    EXPECT_TRUE(Read(text));
    return testing::ReadBytes(ctx.RunFile("-orig.csv"));
  };
  const std::string plain = orig(year);
  EXPECT_EQ(orig("\xEF\xBB\xBF" + year), plain);          // a UTF-8 byte-order mark
  EXPECT_EQ(orig(year + "\r\n \r\n\t\r\n"), plain);      // blank lines after the last row
  std::string lf = year, cr = year;
  std::erase(lf, '\r');
  std::replace(cr.begin(), cr.end(), '\n', '\r');
  cr.erase(std::unique(cr.begin(), cr.end(), [](char a, char b) { return a == '\r' && b == '\r'; }),
           cr.end());
  EXPECT_EQ(orig(lf), plain);
  EXPECT_EQ(orig(cr), plain);  // CR alone ends a line too
  EXPECT_TRUE(LogLines().empty());
  // Empty fields after the 35th are no fields too many.
  EXPECT_TRUE(Read(testing::EpwHeaderText() + testing::EpwRowText(1, 1, 1, {}) + ",, ,\n"));
}

TEST_F(EpwReaderTest, LineLongerThanOneMegabyteEndsTheRead) {
  const std::string head = testing::EpwHeaderText();
  const std::string longRow = "1999,1,1,1,60,x," + std::string(1 << 20, '1');
  EXPECT_EQ(ErrorOf(head + longRow + "\n"),
            InPath() + ", line 9: the line is longer than 1 MB (1048576 bytes); this is not a "
                       "text file of weather data.");
  EXPECT_EQ(ErrorOf(head + longRow), ErrorOf(head + longRow + "\n"));  // no line end at all
  EXPECT_FALSE(std::filesystem::exists(ctx.RunFile("-orig.csv")));
}

TEST_F(EpwReaderTest, FileThatCannotBeReadIsAnInputError) {
  EXPECT_THROW(ReadEPWData(dir.File("absent.epw"), {}, ctx), InputError);
  EXPECT_THROW(ReadEPWData(dir.str(), {}, ctx), InputError);
  EXPECT_FALSE(std::filesystem::exists(ctx.RunFile("-orig.csv")));
}

TEST_F(EpwReaderTest, FileThatIsNoEpwFileIsRefusedWithTheReason) {
  std::string binary;
  for (int i = 0; i < 3000; ++i) binary.push_back(static_cast<char>((i * 131 + 7) & 0xFF));
  const std::string head = testing::EpwHeaderText();
  const std::string noLocation = head.substr(head.find("\r\n") + 2);
  std::string utf16 = "\xFF\xFE";
  for (char c : head) utf16 += std::string{c, '\0'};
  const std::pair<std::string, std::string> cases[] = {
      {"", "it is empty"},
      {head.substr(0, 40), "it has no DATA PERIODS line"},
      {"Date,Time,Temp\r\n1/1/1999,1:00,5\r\n", "it has no LOCATION line and no DATA PERIODS line"},
      {noLocation + testing::EpwRowText(1, 1, 1, {}), "its header has no LOCATION line"},
      {head + "\r\n\r\n", "it has no data rows after its DATA PERIODS line"},
      {head + "1999,1,1,0,60,x,10,5,70,0,0,0,0,0,0,0,0,0,0,0,180,1\n",
       "none of its 1 data rows has a date and hour of the 365-day year"},
      {utf16, "it is UTF-16 text (save it as UTF-8 or plain text)"},
      {binary, "it holds NUL bytes, so it is no text file"},
  };
  for (const auto& [text, reason] : cases) {
    EXPECT_EQ(ErrorOf(text), InPath() + " is not an EPW file: " + reason + ".");
  }
  EXPECT_FALSE(std::filesystem::exists(ctx.RunFile("-orig.csv")));
}

struct RealFileRows {
  const char* path;
  std::vector<std::pair<int, std::string>> rows;  // hour of year, expected row of -orig.csv
};

TEST_F(EpwReaderTest, RealWeatherFilesReadAndClean) {
  // Rows worked by hand from the EPW rows: deg C * 1.8 + 32, m/s * 2.23.
  const RealFileRows files[] = {
      {KESTRUM_SAMPLE_DATA "/USA_CO_Golden-NREL.724666_TMY3.epw",
       {{1, "1,1,1,   26.60,   24.80,    0.00,    0.00,    0.00,    0.00"},
        {HourOfYear(7, 1, 13), "7,1,13,   73.40,   51.80, 1004.00,    9.14,   40.00,  935.00"},
        {8760, "12,31,24,   39.20,   30.20,    0.00,   13.83,  130.00,    0.00"}}},
      {KESTRUM_TEST_DATA "/USA_CA_San.Francisco.Intl.AP.724940_TMY3.epw",
       {{2, "1,1,2,   44.96,   42.08,    0.00,    4.68,  170.00,    0.00"}}},
      {KESTRUM_TEST_DATA "/USA_IL_Chicago-OHare.Intl.AP.725300_TMY3.epw",
       {{1, "1,1,1,   10.04,    3.02,    0.00,    5.80,  270.00,    0.00"},
        {HourOfYear(3, 1, 12), "3,1,12,   39.02,   35.96,  154.00,   16.06,  250.00,    5.00"}}},
  };
  for (const RealFileRows& f : files) {
    SCOPED_TRACE(f.path);
    table.ResetOptionalSeries();
    ASSERT_TRUE(ReadEPWData(f.path, {}, ctx));
    const Strings orig = OrigLines();
    ASSERT_EQ(orig.size(), 8762u);
    for (const auto& [h, row] : f.rows) EXPECT_EQ(orig[1 + h], row);
    EXPECT_TRUE(CleanWeatherData(true, CleaningLimits::Defaults(), false, ctx));
  }
}

}  // namespace
}  // namespace kestrum
