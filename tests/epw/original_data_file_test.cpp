#include "format/original_data_file.h"

#include <gtest/gtest.h>

#include <filesystem>

#include <cmath>
#include <functional>

#include "format/line_file.h"
#include "run/run_error.h"
#include "run/run_log.h"
#include "support/test_support.h"

namespace kestrum {
namespace {

using Strings = std::vector<std::string>;

std::string Row(const HourlyTable& t, int h, std::vector<Series> columns) {
  TextSink out;
  AppendHourRow(out, t, h, columns);
  return std::string(out.view());
}

TEST(OriginalDataFile, RowHasPlainDateAndEightWideValues) {
  HourlyTable t;
  t.ResetOptionalSeries();
  t.at(DryBulb, 1) = 40.1f;
  t.at(Moisture, 1) = 31.82f;
  t.at(SolarHorizontal, 1) = 0.0f;
  t.at(WindSpeed, 1) = 6.69f;
  t.at(WindDirection, 1) = 270.0f;
  const auto epw = OriginalDataColumns(OriginalDataSource::Epw, true);
  EXPECT_EQ(Row(t, 1, epw), "1,1,1,   40.10,   31.82,    0.00,    6.69,  270.00,   -1.00");
  EXPECT_EQ(Row(t, 1, OriginalDataColumns(OriginalDataSource::Epw, false)),
            "1,1,1,   40.10,   31.82,    0.00,    6.69,  270.00");

  t.at(DryBulb, 8760) = -1766.2f;
  t.at(Moisture, 8760) = -12345.5f;
  t.at(SolarHorizontal, 8760) = 0.125f;
  t.at(WindSpeed, 8760) = -0.001f;
  EXPECT_EQ(Row(t, 8760, {DryBulb, Moisture, SolarHorizontal, WindSpeed}),
            "12,31,24,-1766.20,-12345.50,    0.13,    0.00");
  t.at(SnowFlag, 1417) = 1.0f;
  EXPECT_EQ(Row(t, 1417, OriginalDataColumns(OriginalDataSource::Csv, false)),
            "3,1,1,    0.00,    0.00,    0.00,    0.00,    0.00,   -1.00,    1.00,    0.00,    2.00");
}

TEST(OriginalDataFile, HeaderNamesTheMoistureOfTheRun) {
  const std::string dp2 = "Month,Day,Hour,F,F,w/m\xB2,mph,degrees,w/m\xB2";
  const std::string rh2 = "Month,Day,Hour,F,%,w/m\xB2,mph,degrees,w/m\xB2";
  EXPECT_EQ(OriginalDataHeader(OriginalDataSource::Epw, 2),
            (Strings{" , , ,DryBulbT,RelHum,Sol-GlobHor,WindSpd,WindDir,Sol-DirNorm", rh2}));
  EXPECT_EQ(OriginalDataHeader(OriginalDataSource::Epw, 1),
            (Strings{" , , ,DryBulbT,DewPtT,Sol-GlobHor,WindSpd,WindDir,Sol-DirNorm", dp2}));
  EXPECT_EQ(OriginalDataHeader(OriginalDataSource::Csv, 0),
            (Strings{" , , ,DryBulbT,DewPtT,Sol-GlobHor,WindSpd,WindDir,Sol-DirNorm,Snow,Rain,CldType",
                     dp2}));
  EXPECT_EQ(OriginalDataHeader(OriginalDataSource::Csv, 1),
            (Strings{" , , ,DryBulbT,WetBulbT,Sol-GlobHor,WindSpd,WindDir,Sol-DirNorm,Snow,Rain,CldType",
                     dp2}));
  EXPECT_EQ(OriginalDataHeader(OriginalDataSource::Csv, 2),
            (Strings{" , , ,DryBulbT,RelHum,Sol-GlobHor,WindSpd,WindDir,Sol-DirNorm,Snow,Rain,CldType",
                     rh2}));
  EXPECT_TRUE(OriginalDataHeader(OriginalDataSource::Csv, 3).empty());
  EXPECT_EQ(dp2.size(), 40u);  // the superscript two is one byte
}

TEST(OriginalDataFile, FileHasTwoHeaderLinesAnd8760RowsInCalendarOrder) {
  testing::TempDir dir;
  HourlyTable t;
  t.ResetOptionalSeries();
  for (int h = 1; h <= 8760; ++h) t.at(DryBulb, h) = static_cast<float>(h);
  const std::string path = dir.File("x-orig.csv");
  WriteOriginalDataFile(path, t, OriginalDataSource::Epw, 1, false);
  const Strings lines = testing::ReadCrLfLines(path);
  ASSERT_EQ(lines.size(), 8762u);
  EXPECT_EQ(lines[1 + 1], "1,1,1,    1.00,    0.00,    0.00,    0.00,    0.00");
  EXPECT_EQ(lines[1 + 1393].substr(0, 16), "2,28,1, 1393.00,");
  EXPECT_EQ(lines[1 + 1416].substr(0, 17), "2,28,24, 1416.00,");
  EXPECT_EQ(lines[1 + 1417].substr(0, 15), "3,1,1, 1417.00,");
  EXPECT_EQ(lines[1 + 8760].substr(0, 18), "12,31,24, 8760.00,");

  WriteOriginalDataFile(path, t, OriginalDataSource::Csv, 7, true);  // replaced, no header
  EXPECT_EQ(testing::ReadCrLfLines(path).size(), 8760u);
}

TEST(OriginalDataFile, WriteFailuresAreErrors) {
  testing::TempDir dir;
  HourlyTable t;
  EXPECT_THROW(WriteOriginalDataFile(dir.File("no/dir/x.csv"), t, OriginalDataSource::Epw, 1, true),
               RunError);
  t.at(WindSpeed, 25) = INFINITY;
  try {
    WriteOriginalDataFile(dir.File("x.csv"), t, OriginalDataSource::Epw, 1, true);
    FAIL() << "an infinite value was written";
  } catch (const RunError& e) {
    EXPECT_NE(std::string(e.what()).find("1/2 hour 1"), std::string::npos) << e.what();
  }
  // Late in the year alone, and with an earlier one too: the earliest hour is named and
  // no file is made.
  for (const bool early : {false, true}) {
    HourlyTable late;
    late.at(DryBulb, 8000) = NAN;
    if (early) late.at(DryBulb, 4380) = NAN;
    try {
      WriteOriginalDataFile(dir.File("late.csv"), late, OriginalDataSource::Epw, 1, true);
      FAIL() << "a NaN was written";
    } catch (const RunError& e) {
      EXPECT_NE(std::string(e.what()).find(early ? "7/2 hour 12" : "11/30 hour 8"),
                std::string::npos)
          << e.what();
    }
    EXPECT_FALSE(std::filesystem::exists(dir.File("late.csv")));
  }
}

// A full disk: every writer of a run names the file and the reason.
TEST(OriginalDataFile, FullDiskIsReportedWithPathAndReason) {
  const std::string full = "/dev/full";
  const std::string why = full + ": No space left on device";
  const auto message = [](const std::function<void()>& write) -> std::string {
    try {
      write();
    } catch (const RunError& e) {
      return e.what();
    }
    return "written";
  };
  HourlyTable t;
  EXPECT_EQ(message([&] { WriteOriginalDataFile(full, t, OriginalDataSource::Epw, 1, true); }),
            "Cannot write " + why);
  EXPECT_EQ(message([&] {
              LineFile f(full);
              f.WriteLine("x");
              f.Close();
            }),
            "The file " + full + " cannot be written: No space left on device.");
  EXPECT_EQ(message([&] { RunLog(full).WriteLogLine("x"); }), "Cannot write the log file " + why);
}

}  // namespace
}  // namespace kestrum
