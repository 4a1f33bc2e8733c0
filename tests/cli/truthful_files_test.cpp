// kestrum-cli on real files and variants of them: a failed run keeps the earlier NAME.bin,
// a leap year converts as its 365 days, half-hourly rows give hourly means, a quoted date
// column keeps the TMY3 layout right, every kind of odd row is warned in every channel, and
// the time options refuse what they cannot do.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <numbers>
#include <sstream>
#include <string>
#include <vector>

#include "cli_fixture.h"
#include "run/calendar.h"

namespace kestrum {
namespace {

using Strings = std::vector<std::string>;
using testing::CliResult;

const std::string kTmy3 = std::string(KESTRUM_SAMPLE_DATA) + "/723170TYA.CSV";
const std::string kPsm3 = std::string(KESTRUM_TEST_DATA) + "/csv/NSRDB_PSM3_401182_2017_30min.csv";
// The Golden EPW file read as a CSV file by month, day and hour.
const std::string kEpwAsCsv =
    " --first-row 9 --date-form mdh --moisture dew-point --solar global+dn --temp-unit C "
    "--moist-unit C --wind-unit m/s --columns 2,3,4,7,8,14,15,22,21 --lat 39.74 --lon -105.18 "
    "--tz -7 --elev 1829";
const std::string kPsm3Flags =
    " --first-row 4 --date-form mdh --moisture dew-point --solar global+dn --temp-unit C "
    "--moist-unit C --wind-unit m/s --columns 2,3,4,21,13,7,8,17,18 --lat 40.53 --lon -108.54 "
    "--tz -7 --elev 2168";

// The lines of text without their ends (LF or CR LF).
Strings Lines(const std::string& text) {
  Strings lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

std::string Joined(const Strings& lines, const std::string& end) {
  std::string text;
  for (const std::string& line : lines) text += line + end;
  return text;
}

Strings Split(const std::string& line) {
  Strings fields;
  std::istringstream in(line);
  for (std::string field; std::getline(in, field, ',');) fields.push_back(field);
  return fields;
}

std::string Merged(const Strings& fields) {
  std::string line;
  for (const std::string& f : fields) line += (line.empty() ? "" : ",") + f;
  return line;
}

class TruthfulFilesTest : public testing::CliFixture {
 protected:
  // The data rows of the Golden EPW file.
  Strings GoldenRows() const {
    Strings lines = Lines(Sample());
    return Strings(lines.begin() + 8, lines.end());
  }
  Strings GoldenHeader() const {
    Strings lines = Lines(Sample());
    return Strings(lines.begin(), lines.begin() + 8);
  }
};

TEST_F(TruthfulFilesTest, AFailedRunInTheOutputDirectoryKeepsTheEarlierBin) {
  // EPW: a row that does not convert stops the second run.
  ASSERT_EQ(Run("convert '" + testing::kGoldenEpw + "' --out o --name G -q").status, 0);
  const std::string good = Read("o/G.bin");
  ASSERT_EQ(good.size(), 385612u);
  Strings rows = GoldenRows();
  Strings f = Split(rows[99]);
  f[6] = "abc";
  rows[99] = Merged(f);
  Write("bad.epw", Joined(GoldenHeader(), "\r\n") + Joined(rows, "\r\n"));
  CliResult r = Run("convert bad.epw --out o --name G -q");
  EXPECT_EQ(r.status, 1) << r.err;
  EXPECT_NE(r.err.find("G.bin in " + (dir_ / "o").string() + " is from an earlier run"),
            std::string::npos)
      << r.err;
  EXPECT_EQ(Read("o/G.bin"), good);

  // CSV: a cleaning pass that fails (no wind direction converts), and a file refused at once.
  ASSERT_EQ(Run("convert '" + kTmy3 + "' --layout tmy3 --out c --name T -q").status, 0);
  const std::string goodCsv = Read("c/T.bin");
  Strings lines = Lines(testing::ReadBytes(kTmy3));
  for (size_t i = 2; i < lines.size(); ++i) {
    Strings fields = Split(lines[i]);
    fields[43] = "x";
    lines[i] = Merged(fields);
  }
  Write("nowind.csv", Joined(lines, "\n"));
  r = Run("convert nowind.csv --layout tmy3 --out c --name T -q");
  EXPECT_EQ(r.status, 3) << r.err;
  EXPECT_NE(r.err.find("8760 values of WindDir did not convert (first at line 3)"),
            std::string::npos)
      << r.err;
  EXPECT_EQ(Read("c/T.bin"), goodCsv);
  lines.resize(100);
  Write("short.csv", Joined(lines, "\n"));
  r = Run("convert short.csv --layout tmy3 --out c --name T -q");
  EXPECT_EQ(r.status, 1) << r.err;
  EXPECT_EQ(Read("c/T.bin"), goodCsv);
}

TEST_F(TruthfulFilesTest, ALeapYearGivesTheBinOfTheSameDataWithout29February) {
  // The TMY3 sample with a 29 February of its own after 28 February, and blank lines at
  // the end: without a date form, the rows of a leap year.
  const Strings lines = Lines(testing::ReadBytes(kTmy3));
  Strings leap(lines.begin(), lines.begin() + 2 + 1416);
  for (int hour = 1; hour <= 24; ++hour) {
    Strings fields = Split(lines[static_cast<size_t>(2 + 1392 + hour - 1)]);
    fields[0] = "02/29/1988";
    fields[31] = "40.0";  // a dry bulb no hour of the year has
    leap.push_back(Merged(fields));
  }
  leap.insert(leap.end(), lines.begin() + 2 + 1416, lines.end());
  Write("leap.csv", Joined(leap, "\n") + "\n\n");
  CliResult r = Run("convert leap.csv --layout tmy3 --out leap -q");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "kestrum-cli: warning: 24 rows of 29 February were left out: the year has "
                   "365 days (first at line 1419).\n");
  ASSERT_EQ(Run("convert '" + kTmy3 + "' --layout tmy3 --out plain --name leap -q").status, 0);
  EXPECT_EQ(Read("leap/leap.bin"), Read("plain/leap.bin"));

  // An EPW file of a leap year: its 29 February takes no part in the means of 1 March.
  Strings rows = GoldenRows();
  Strings withLeapDay(rows.begin(), rows.begin() + 1416);
  for (int hour = 0; hour < 24; ++hour) {
    Strings fields = Split(rows[static_cast<size_t>(1392 + hour)]);
    fields[2] = "29";
    fields[6] = "40.0";
    withLeapDay.push_back(Merged(fields));
  }
  withLeapDay.insert(withLeapDay.end(), rows.begin() + 1416, rows.end());
  Write("leap.epw", Joined(GoldenHeader(), "\r\n") + Joined(withLeapDay, "\r\n"));
  r = Run("convert leap.epw --subhourly mean --out leap -q");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.err.find("24 rows of 29 February were left out: the year has 365 days (first at "
                       "line 1425)."),
            std::string::npos);
  ASSERT_EQ(Run("convert '" + testing::kGoldenEpw + "' --out plain --name leap -q").status, 0);
  EXPECT_EQ(Read("leap/leap.bin"), Read("plain/leap.bin"));
}

TEST_F(TruthfulFilesTest, HalfHourlyRowsWithSubhourlyMeanGiveTheHourlyMeans) {
  const CliResult r = Run("convert '" + kPsm3 + "'" + kPsm3Flags + " --subhourly mean --name p --out m -q");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "kestrum-cli: warning: 8760 hours were filled by more than one row; each holds "
                   "the mean of its 2 rows (first at line 5).\n");

  // The source's rows by hour: Hour 0 to 23 is the hour ending one later.
  struct Sums {
    int rows = 0;
    double t = 0, td = 0, ghi = 0, dni = 0, ws = 0, east = 0, north = 0;
  };
  std::map<int, Sums> hours;
  const Strings source = Lines(testing::ReadBytes(kPsm3));
  for (size_t i = 3; i < source.size(); ++i) {
    const Strings f = Split(source[i]);
    const int h = HourOfYear(static_cast<uint16_t>(std::stoi(f[1])), static_cast<uint16_t>(std::stoi(f[2])),
                             static_cast<uint16_t>(std::stoi(f[3]) + 1));
    Sums& s = hours[h];
    ++s.rows;
    s.t += std::stod(f[20]);
    s.td += std::stod(f[12]);
    s.ghi += std::stod(f[6]);
    s.dni += std::stod(f[7]);
    const double ws = std::stod(f[16]);
    const double wd = std::stod(f[17]) * std::numbers::pi / 180;
    s.ws += ws;
    s.east += ws * std::sin(wd);
    s.north += ws * std::cos(wd);
  }
  ASSERT_EQ(hours.size(), 8760u);

  const Strings orig = Lines(Read("m/p-orig.csv"));
  ASSERT_EQ(orig.size(), 8762u);
  for (int h = 1; h <= 8760; ++h) {
    const Sums& s = hours[h];
    ASSERT_EQ(s.rows, 2) << h;
    const Strings f = Split(orig[static_cast<size_t>(h + 1)]);
    const CalendarHour t = SplitHourOfYear(h);
    ASSERT_EQ(f[0] + "," + f[1] + "," + f[2],
              std::to_string(t.month) + "," + std::to_string(t.day) + "," + std::to_string(t.hour));
    const auto near = [&](size_t column, double expected, const char* what) {
      EXPECT_NEAR(std::stod(f[column]), expected, 0.006) << what << " at hour " << h;
    };
    near(3, s.t / 2 * 1.8 + 32, "dry bulb");
    near(4, s.td / 2 * 1.8 + 32, "dew point");
    near(5, s.ghi / 2, "global horizontal");
    near(6, s.ws / 2 * 2.23, "wind speed");
    near(8, s.dni / 2, "direct normal");
    double direction = s.ws == 0 ? 0 : std::atan2(s.east, s.north) * 180 / std::numbers::pi;
    if (direction < 0) direction += 360;
    const double apart = std::fabs(std::stod(f[7]) - direction);
    EXPECT_LE(std::min(apart, 360 - apart), 0.006) << "wind direction at hour " << h;
  }
  // A known hour: 1 July, 12:00 and 12:30 local standard time, hour 13 of the day.
  EXPECT_EQ(orig[1 + static_cast<size_t>(HourOfYear(7, 1, 13))].substr(0, 7), "7,1,13,");

  // Kept last instead, the rows of :30 fill each hour, and that is said too.
  const CliResult last = Run("convert '" + kPsm3 + "'" + kPsm3Flags + " --name p --out l -q");
  EXPECT_EQ(last.err, "kestrum-cli: warning: 8760 hours were filled by more than one row; the "
                      "last row of each was kept (first at line 5).\n");
}

TEST_F(TruthfulFilesTest, AQuotedDateColumnConvertsLikeThePlainTmy3File) {
  Strings lines = Lines(testing::ReadBytes(kTmy3));
  for (size_t i = 2; i < lines.size(); ++i) lines[i] = "\"" + lines[i].substr(0, 10) + "\"" + lines[i].substr(10);
  Write("quoted.csv", Joined(lines, "\n"));
  const CliResult r = Run("convert quoted.csv --layout tmy3 --out q --name t -q");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "");  // every row alike: nothing to warn of
  ASSERT_EQ(Run("convert '" + kTmy3 + "' --layout tmy3 --out p --name t -q").status, 0);
  for (const char* file : {"t-orig.csv", "t.bin"}) {
    EXPECT_EQ(Read(std::string("q/") + file), Read(std::string("p/") + file)) << file;
  }
}

TEST_F(TruthfulFilesTest, EveryWarningReachesStderrTheLogTheReportAndTheBatchSummary) {
  Strings rows = GoldenRows();
  Strings f = Split(rows[99]);
  f[6] = "abc";  // line 108: a dry bulb that does not convert
  rows[99] = Merged(f);
  f = Split(rows[199]);
  f[5] = "\"" + f[5] + "\"";  // line 208: a quoted field moves the columns after it
  rows[199] = Merged(f);
  Strings leapDay = Split(rows[1415]);
  leapDay[2] = "29";
  rows.insert(rows.begin() + 1416, Merged(leapDay));  // line 1425
  rows.insert(rows.begin() + 1418, rows[1417]);       // 1 March hour 1 twice: line 1427
  Strings outside = Split(rows.back());
  outside[1] = "13";
  rows.push_back(Merged(outside));  // line 8771
  Write("in/odd.csv", Joined(GoldenHeader(), "\r\n") + Joined(rows, "\r\n"));

  const Strings warnings = {
      "1 data row whose date or hour is not in the 365-day year was skipped (first at line 8771).",
      "1 row of 29 February was left out: the year has 365 days (first at line 1425).",
      "1 hour was filled by more than one row; the last row of each was kept (first at line "
      "1427).",
      "1 data row splits into another number of fields than the 35 of the first data row (first "
      "at line 208): a quoted field shifts the columns of such rows, so their values may come "
      "from the wrong columns.",
      "2 values of DBTemp did not convert (first at line 108): they count as missing.",
  };
  CliResult r = Run("convert in/odd.csv" + kEpwAsCsv + " --out o --log o/run.log --report o/r.json");
  ASSERT_EQ(r.status, 0) << r.err;
  std::string stderrLines;
  for (const std::string& w : warnings) stderrLines += "kestrum-cli: warning: " + w + "\n";
  EXPECT_EQ(r.err, stderrLines);
  const std::string log = Read("o/run.log");
  const std::string json = Read("o/r.json");
  for (const std::string& w : warnings) {
    EXPECT_NE(("\n" + r.out).find("\n     " + w + "\n"), std::string::npos) << w;  // progress
    EXPECT_NE(log.find("\r\n     " + w + "\r\n"), std::string::npos) << w;
  }
  std::string jsonWarnings = "\"warnings\": [\n";
  for (size_t i = 0; i < warnings.size(); ++i) {
    jsonWarnings += "    \"" + warnings[i] + (i + 1 < warnings.size() ? "\",\n" : "\"\n");
  }
  EXPECT_NE(json.find(jsonWarnings + "  ]"), std::string::npos) << json;

  r = Run("batch in" + kEpwAsCsv + " --out b -q --summary b/summary.csv");
  ASSERT_EQ(r.status, 0) << r.out << r.err;
  const Strings summary = Lines(Read("b/summary.csv"));
  ASSERT_EQ(summary.size(), 2u);
  const Strings cells = Split(summary[1]);
  ASSERT_GE(cells.size(), 5u);
  EXPECT_EQ(cells[1], "converted");
  EXPECT_EQ(cells[4], "5");
}

TEST_F(TruthfulFilesTest, TheTimeOptionsRefuseWhatTheyCannotDo) {
  const std::string golden = "convert '" + testing::kGoldenEpw + "' -q --out o";
  const std::string tmy3 = "convert '" + kTmy3 + "' -q --out o --layout tmy3";
  const struct {
    std::string args;
    std::string message;
  } cases[] = {
      {golden + " --utc --time-shift -7", "--utc and --time-shift both give the time shift"},
      {golden + " --time-shift 24", "--time-shift"},
      {golden + " --subhourly first", "--subhourly"},
      {golden + " --timestamps beginning", "--timestamps applies to CSV input only"},
      {tmy3 + " --tz 5.5 --utc", "5.5 is not a whole number of hours"},
      {tmy3 + " --timestamps beginning",
       "--timestamps applies to the one-field date form (--date-form serial) only"},
  };
  for (const auto& c : cases) {
    const CliResult r = Run(c.args);
    EXPECT_EQ(r.status, 2) << c.args << "\n" << r.err;
    EXPECT_NE(r.err.find(c.message), std::string::npos) << c.args << "\n" << r.err;
    EXPECT_FALSE(std::filesystem::exists(dir_ / "o" / "USA_CO_Golden-NREL.724666_TMY3.bin"));
  }

  // --utc is the shift by the site's time zone, -7 at Golden: the row of hour 8 fills hour 1.
  ASSERT_EQ(Run(golden + " --utc --name utc").status, 0);
  ASSERT_EQ(Run(golden + " --time-shift=-7 --name shifted").status, 0);
  ASSERT_EQ(Run(golden + " --name plain").status, 0);
  EXPECT_EQ(Read("o/utc.bin"), Read("o/shifted.bin"));
  const Strings utc = Lines(Read("o/utc-orig.csv"));
  const Strings plain = Lines(Read("o/plain-orig.csv"));
  ASSERT_EQ(utc.size(), 8762u);
  EXPECT_EQ(utc[2].substr(utc[2].find(',', 4)), plain[9].substr(plain[9].find(',', 4)));
  EXPECT_EQ(utc[2].substr(0, 6), "1,1,1,");
}

}  // namespace
}  // namespace kestrum
