// The weather files analysts download, converted by their layouts with nothing but
// `--layout auto`: the values of NAME-orig.csv are the source's (hourly means of half-hourly
// rows) in stored units, hour by hour, at the hours the source's own stamps name; the sun
// check stays quiet; `inspect` tells what each file is and the command that converts it;
// --columns by name and --constant.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <map>
#include <nlohmann/json.hpp>
#include <numbers>

#include "cli/cli_fixture.h"
#include "run/calendar.h"
#include "support/weather_variants.h"

namespace kestrum::testing {
namespace {

using nlohmann::json;
namespace fs = std::filesystem;

// The values of one hour as NAME-orig.csv writes them: dry bulb (F), moisture (F or %),
// global horizontal (W/m2), wind speed (mph), wind direction (degrees), direct normal.
using HourValues = std::array<double, 6>;

struct OrigRow {
  std::string label;  // "month,day,hour"
  HourValues values;
};

std::vector<OrigRow> ReadOrig(const std::string& text) {
  std::vector<OrigRow> rows;
  const std::vector<std::string> lines = TextLines(text);
  for (size_t i = 2; i < lines.size(); ++i) {
    const Fields f = SplitCommas(lines[i]);
    OrigRow row;
    row.label = f[0] + "," + f[1] + "," + f[2];
    for (size_t k = 0; k < 6; ++k) row.values[k] = std::stod(f[3 + k]);
    rows.push_back(row);
  }
  return rows;
}

// The rows of a source landing on each hour of the year, in the source's units (deg C, %
// or deg C, W/m2, m/s, degrees), and their means in stored units.
class SourceHours {
 public:
  void Add(int h, double dryBulbC, double moisture, double global, double speedMs,
           double direction, double directNormal) {
    Hour& s = hours_[static_cast<size_t>(h - 1)];
    ++s.rows;
    s.sums[0] += dryBulbC;
    s.sums[1] += moisture;
    s.sums[2] += global;
    s.sums[3] += speedMs;
    s.sums[5] += directNormal;
    const double radians = direction * std::numbers::pi / 180;
    s.east += speedMs * std::sin(radians);
    s.north += speedMs * std::cos(radians);
    s.lastDirection = direction;
  }

  // Stored units; moistureIsTemperature: a dew point in deg C (else relative humidity).
  HourValues Expected(int h, bool moistureIsTemperature) const {
    const Hour& s = hours_[static_cast<size_t>(h - 1)];
    HourValues v{};
    for (size_t k = 0; k < 6; ++k) v[k] = s.sums[k] / s.rows;
    v[0] = v[0] * 1.8 + 32;
    if (moistureIsTemperature) v[1] = v[1] * 1.8 + 32;
    v[3] *= 2.23;
    if (s.rows == 1) {
      v[4] = s.lastDirection;
    } else if (s.sums[3] == 0) {
      v[4] = 0;  // calm
    } else {
      v[4] = std::fmod(std::atan2(s.east, s.north) * 180 / std::numbers::pi + 360, 360);
    }
    return v;
  }
  int Rows(int h) const { return hours_[static_cast<size_t>(h - 1)].rows; }

 private:
  struct Hour {
    int rows = 0;
    std::array<double, 6> sums{};
    double east = 0, north = 0, lastDirection = 0;
  };
  std::array<Hour, 8760> hours_{};
};

// Every hour of orig against the source's, within the two decimals orig is written with.
void ExpectHourByHour(const std::vector<OrigRow>& orig, const SourceHours& source,
                      bool moistureIsTemperature) {
  ASSERT_EQ(orig.size(), 8760u);
  int wrong = 0;
  for (int h = 1; h <= 8760 && wrong < 5; ++h) {
    ASSERT_EQ(source.Rows(h) > 0, true) << "no source row for hour " << h;
    const HourValues want = source.Expected(h, moistureIsTemperature);
    const HourValues& got = orig[static_cast<size_t>(h - 1)].values;
    for (size_t k = 0; k < 6; ++k) {
      double diff = std::fabs(got[k] - want[k]);
      if (k == 4) diff = std::min(diff, 360 - diff);
      if (diff > 0.0051 + 1e-5 * std::fabs(want[k])) {
        ADD_FAILURE() << "hour " << h << " (" << orig[static_cast<size_t>(h - 1)].label
                      << ") value " << k << ": " << got[k] << ", source " << want[k];
        ++wrong;
      }
    }
  }
}

// The hours of a PSM file: a row stamped hour H (0..23) of its day fills the hour that
// ends at H + 1, moved by shift hours.
SourceHours PsmHours(const PsmFile& f, int shift = 0) {
  SourceHours hours;
  for (const Fields& r : f.rows) {
    const int month = f.Int(r, "Month"), day = f.Int(r, "Day");
    if (month == 2 && day == 29) continue;
    int h = HourOfYear(static_cast<uint16_t>(month), static_cast<uint16_t>(day),
                       static_cast<uint16_t>(f.Int(r, "Hour") + 1));
    h = (h - 1 + shift + 8760) % 8760 + 1;
    hours.Add(h, f.Value(r, "Temperature"), f.Value(r, "Dew Point"), f.Value(r, "GHI"),
              f.Value(r, "Wind Speed"), f.Value(r, "Wind Direction"), f.Value(r, "DNI"));
  }
  return hours;
}

class LayoutsTest : public CliFixture {
 protected:
  // Converts by --layout auto and nothing else (the run files beside the .bin), with a
  // report; fails the test unless it converted with the sun check quiet.
  json ConvertAuto(const std::string& input, const std::string& name, const std::string& more = "") {
    const CliResult r = Run("convert '" + input + "' --layout auto --out " + name + " -q --report " +
                            name + "/r.json" + more);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err.find("The sun in"), std::string::npos) << r.err;
    const json report = json::parse(Read(name + "/r.json"));
    EXPECT_EQ(report["sun_offset_hours"], 0) << input;
    return report;
  }
  std::vector<OrigRow> Orig(const std::string& name, const std::string& base) {
    return ReadOrig(Read(name + "/" + base + "-orig.csv"));
  }
  json Inspect(const std::string& input) {
    const CliResult r = Run("inspect --json '" + input + "'");
    EXPECT_EQ(r.status, 0) << r.err;
    return json::parse(r.out);
  }
};

TEST_F(LayoutsTest, EveryDownloadedFileConvertsWithLayoutAutoAndNothingElse) {
  for (const std::string& path :
       {kPsmFile, kPvgisFile, kTmy3File, kGoldenEpw,
        std::string(KESTRUM_TEST_DATA) + "/USA_IL_Chicago-OHare.Intl.AP.725300_TMY3.epw"}) {
    const fs::path name = fs::path(path).filename();
    fs::copy_file(path, dir_ / name);
    const CliResult r = Run("convert '" + name.string() + "' --layout auto");
    EXPECT_EQ(r.status, 0) << name << "\n" << r.err;
    EXPECT_EQ(r.err.find("The sun in"), std::string::npos) << name << "\n" << r.err;
    EXPECT_TRUE(fs::exists(dir_ / fs::path(name).replace_extension(".bin"))) << name;
  }
}

TEST_F(LayoutsTest, APsmHalfHourlyYearGivesTheMeanOfEachHourInStoredUnits) {
  const json report = ConvertAuto(kPsmFile, "o");
  EXPECT_EQ(report["warnings"], json::array({"8760 hours were filled by more than one row; each "
                                             "holds the mean of its 2 rows (first at line 5)."}));
  const PsmFile source = PsmFile::Read();
  const std::vector<OrigRow> orig = Orig("o", "NSRDB_PSM3_401182_2017_30min");
  ExpectHourByHour(orig, PsmHours(source), true);

  // The source's own labels: the rows of 1 July 12:00 and 12:30 are the hour ending 13:00.
  const auto rowsAt = [&](int month, int day, int hour) {
    std::vector<Fields> rows;
    for (const Fields& r : source.rows) {
      if (source.Int(r, "Month") == month && source.Int(r, "Day") == day && source.Int(r, "Hour") == hour) {
        rows.push_back(r);
      }
    }
    return rows;
  };
  const struct {
    int month, day, hour;
    const char* label;
  } known[] = {{1, 1, 0, "1,1,1"}, {7, 1, 12, "7,1,13"}, {12, 31, 23, "12,31,24"}};
  for (const auto& k : known) {
    const std::vector<Fields> rows = rowsAt(k.month, k.day, k.hour);
    ASSERT_EQ(rows.size(), 2u);
    const auto at = std::find_if(orig.begin(), orig.end(), [&](const OrigRow& o) { return o.label == k.label; });
    ASSERT_NE(at, orig.end());
    const double celsius = (source.Value(rows[0], "Temperature") + source.Value(rows[1], "Temperature")) / 2;
    EXPECT_NEAR(at->values[0], celsius * 1.8 + 32, 0.006) << k.label;
    const double ghi = (source.Value(rows[0], "GHI") + source.Value(rows[1], "GHI")) / 2;
    EXPECT_NEAR(at->values[2], ghi, 0.006) << k.label;
  }
}

TEST_F(LayoutsTest, PsmVariantsConvertAsTheirStampsSay) {
  const PsmFile source = PsmFile::Read();
  const PsmFile hourly = source.AtMinute(0);
  Write("hourly.csv", hourly.Text());
  ConvertAuto((dir_ / "hourly.csv").string(), "hourly");
  const std::vector<OrigRow> hourlyOrig = Orig("hourly", "hourly");
  ExpectHourByHour(hourlyOrig, PsmHours(hourly), true);

  // Hourly rows stamped at half past (as hourly downloads are).
  const PsmFile halfPast = source.AtMinute(30);
  Write("halfpast.csv", halfPast.Text());
  ConvertAuto((dir_ / "halfpast.csv").string(), "halfpast");
  ExpectHourByHour(Orig("halfpast", "halfpast"), PsmHours(halfPast), true);

  // A typical year: each month from another year.
  PsmFile typical = hourly;
  for (Fields& r : typical.rows) r[0] = std::to_string(1998 + 2 * typical.Int(r, "Month") + 1);
  // Stamped in UTC (Time Zone 0): every row 7 hours later, those past the year's end first.
  PsmFile utc = hourly;
  utc.Meta("Time Zone") = "0";
  utc.rows.clear();
  for (size_t i = 0; i < hourly.rows.size(); ++i) {
    Fields r = hourly.rows[(i + hourly.rows.size() - 7) % hourly.rows.size()];
    const CalendarHour t = SplitHourOfYear(static_cast<int32_t>(i) + 1);  // its hour 1..24
    r[1] = std::to_string(t.month);
    r[2] = std::to_string(t.day);
    r[3] = std::to_string(t.hour - 1);
    utc.rows.push_back(r);
  }
  // A leap year: 29 February, with a dry bulb no other day has, between 28 February and
  // 1 March.
  PsmFile leap = hourly;
  for (Fields& r : leap.rows) r[0] = "2020";
  const auto march = std::find_if(leap.rows.begin(), leap.rows.end(),
                                  [&](const Fields& r) { return leap.Int(r, "Month") == 3; });
  std::vector<Fields> leapDay(march - 24, march);
  for (Fields& r : leapDay) {
    r[2] = "29";
    r[leap.Column("Temperature")] = "40.0";
  }
  leap.rows.insert(march, leapDay.begin(), leapDay.end());

  const struct {
    const char* name;
    const PsmFile* file;
    json warnings;
    const char* timeBase;
    bool leapDay;
  } variants[] = {
      {"typical", &typical, json::array(), "local", false},
      {"utc", &utc,
       json::array({"The file is stamped in UTC: its rows move to the site's time zone, -7 h."}),
       "UTC", false},
      {"leap", &leap, json::array({"24 rows of 29 February were left out: the year has 365 days "
                                   "(first at line 1420)."}),
       "local", true},
  };
  for (const auto& v : variants) {
    SCOPED_TRACE(v.name);
    const std::string file = (dir_ / (std::string(v.name) + ".csv")).string();
    Write(std::string(v.name) + ".csv", v.file->Text());
    const json report = ConvertAuto(file, v.name);
    EXPECT_EQ(report["warnings"], v.warnings);
    EXPECT_EQ(Read(std::string(v.name) + "/" + v.name + "-orig.csv"), Read("hourly/hourly-orig.csv"));
    const json inspected = Inspect(file);
    EXPECT_EQ(inspected["layout"], "psm");
    EXPECT_EQ(inspected["time_base"], v.timeBase);
    EXPECT_EQ(inspected["step_minutes"], 60);
    EXPECT_EQ(inspected["leap_day"], v.leapDay);
  }
}

TEST_F(LayoutsTest, PvgisRowsInUtcMoveToTheSitesTimeAndItsNotesAreNoData) {
  const CliResult r = Run("convert '" + kPvgisFile + "' --layout auto --out o --report o/r.json");
  ASSERT_EQ(r.status, 0) << r.err;
  // What the layout took upon itself is warned; the notes after the rows are not read and
  // the sun is on time, so nothing else is.
  const std::string zone = "The file states no time zone: 1 h, its longitude 8.000 / 15 "
                           "rounded, is taken for its site.";
  const std::string utc = "The file is stamped in UTC: its rows move to the site's time zone, +1 h.";
  EXPECT_EQ(r.err, "kestrum-cli: warning: " + zone + "\nkestrum-cli: warning: " + utc + "\n");
  EXPECT_NE(r.out.find("     " + zone + "\n     " + utc + "\n"), std::string::npos) << r.out;
  const json report = json::parse(Read("o/r.json"));
  EXPECT_EQ(report["warnings"], json::array({zone, utc}));
  EXPECT_EQ(report["sun_offset_hours"], 0);
  EXPECT_EQ(report["site"]["time_zone"], 1.0);
  EXPECT_EQ(report["options"]["time_shift_hours"], 1);

  // A row stamped HH:00 in UTC begins the hour that ends at HH+1 UTC, HH+2 at UTC+1.
  SourceHours hours;
  std::map<std::string, Fields> byStamp;
  for (const std::string& line : TextLines(ReadBytes(kPvgisFile))) {
    const Fields f = SplitCommas(line);
    if (f.size() != 10 || f[0].size() != 13 || f[0][8] != ':') continue;
    byStamp[f[0]] = f;
    const int month = std::stoi(f[0].substr(4, 2)), day = std::stoi(f[0].substr(6, 2));
    const int hour = std::stoi(f[0].substr(9, 2));
    const int h = HourOfYear(static_cast<uint16_t>(month), static_cast<uint16_t>(day),
                             static_cast<uint16_t>(hour + 1)) % 8760 + 1;
    hours.Add(h, std::stod(f[1]), std::stod(f[2]), std::stod(f[3]), std::stod(f[7]),
              std::stod(f[8]), std::stod(f[4]));
  }
  const std::vector<OrigRow> orig = Orig("o", "PVGIS_TMY_45.000_8.000_2005_2023");
  ExpectHourByHour(orig, hours, false);
  const struct {
    const char* stamp;
    const char* label;
  } known[] = {{"20180101:1200", "1,1,14"}, {"20161231:2300", "1,1,1"}, {"20110715:0500", "7,15,7"}};
  for (const auto& k : known) {
    const Fields& f = byStamp.at(k.stamp);
    const auto at = std::find_if(orig.begin(), orig.end(), [&](const OrigRow& o) { return o.label == k.label; });
    ASSERT_NE(at, orig.end());
    EXPECT_NEAR(at->values[0], std::stod(f[1]) * 1.8 + 32, 0.006) << k.stamp;
    EXPECT_NEAR(at->values[2], std::stod(f[3]), 0.006) << k.stamp;
  }

  // A time zone given: the rows move by it, and none is taken from the longitude.
  const CliResult east = Run("convert '" + kPvgisFile + "' --layout auto --tz 2 --out tz2 --report tz2/r.json");
  ASSERT_EQ(east.status, 0) << east.err;
  EXPECT_EQ(east.out.find("states no time zone"), std::string::npos);
  EXPECT_EQ(json::parse(Read("tz2/r.json"))["options"]["time_shift_hours"], 2);
  // Even the zone the longitude would give, when given, is no guess.
  const CliResult given = Run("convert '" + kPvgisFile + "' --layout auto --tz 1 -q --out tz1");
  ASSERT_EQ(given.status, 0) << given.err;
  EXPECT_EQ(given.err, "kestrum-cli: warning: " + utc + "\n");
}

TEST_F(LayoutsTest, InspectTellsEachFileAndTheCommandThatConvertsIt) {
  const struct {
    std::string path;
    const char* layout;
    const char* latitude;
    int rows, step;
    const char* timeBase;
  } files[] = {
      {kPsmFile, "psm", "40.53", 17520, 30, "local"},
      {kPvgisFile, "pvgis", "45.000", 8760, 60, "UTC"},
      {kTmy3File, "tmy3", "36.100", 8760, 60, "local"},
      {kGoldenEpw, "epw", "39.74", 8760, 60, "local"},
  };
  for (const auto& f : files) {
    SCOPED_TRACE(f.path);
    const json j = Inspect(f.path);
    for (const char* key : {"layout", "site", "rows", "step_minutes", "time_base", "leap_day",
                            "columns", "field_map", "missing", "command"}) {
      EXPECT_TRUE(j.contains(key)) << key;
    }
    EXPECT_EQ(j["layout"], f.layout);
    EXPECT_EQ(j["site"]["latitude"], f.latitude);
    EXPECT_EQ(j["rows"], f.rows);
    EXPECT_EQ(j["step_minutes"], f.step);
    EXPECT_EQ(j["time_base"], f.timeBase);
    EXPECT_EQ(j["leap_day"], false);
    EXPECT_EQ(j["missing"], json::array());
    EXPECT_EQ(j["field_map"]["DBTemp"]["column"],
              std::string(f.layout) == "psm" ? 21 : std::string(f.layout) == "pvgis" ? 2
                                                  : std::string(f.layout) == "tmy3" ? 32 : 7);
    // The command, run as printed, makes the .bin --layout auto makes.
    const std::string name = f.layout;
    const std::string command = j["command"];
    ASSERT_EQ(command.rfind("kestrum-cli convert ", 0), 0u) << command;
    const CliResult byCommand = Run(command.substr(12) + " --out cmd-" + name + " --name x -q");
    ASSERT_EQ(byCommand.status, 0) << j["command"] << "\n" << byCommand.err;
    ASSERT_EQ(Run("convert '" + f.path + "' --layout auto --out auto-" + name + " --name x -q").status, 0);
    EXPECT_EQ(Read("cmd-" + name + "/x.bin"), Read("auto-" + name + "/x.bin"));
  }
  EXPECT_EQ(Inspect(kPsmFile)["field_map"]["DewPtT"], json({{"column", 13}, {"header", "Dew Point"}}));

  const CliResult missing = Run("inspect nothing.csv");
  EXPECT_EQ(missing.status, 1);
  EXPECT_NE(missing.err.find("nothing.csv"), std::string::npos) << missing.err;
  EXPECT_EQ(Run("inspect .").status, 1);
}

TEST_F(LayoutsTest, ColumnsByTheirHeadersGiveTheBinOfTheSameColumnsByNumber) {
  const std::string psm = " --first-row 4 --date-form mdh --moisture dew-point --solar global+dn "
                          "--temp-unit C --moist-unit C --wind-unit m/s --subhourly mean "
                          "--lat 40.53 --lon -108.54 --tz -7 --elev 2168 -q --out ";
  const struct {
    std::string args, byName, byNumber;
  } cases[] = {
      {"'" + kPsmFile + "'" + psm, "Month,Day,Hour,Temperature,Dew Point,GHI,DNI,Wind Speed,Wind Direction",
       "2,3,4,21,13,7,8,17,18"},
      {"'" + kPsmFile + "' --layout psm -q --out ", " month , DAY,hour,temperature,dewpoint,ghi,dni,"
       "Wind Speed,Wind Direction", "2,3,4,21,13,7,8,17,18"},
      {"'" + kTmy3File + "' --layout tmy3 -q --out ", "dry-bulb (c),Dew-point,GHI (W/m2),DNI (W/m^2)),Wspd,Wdir",
       "32,35,5,8,47,44"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.byName);
    const CliResult name = Run("convert " + c.args + "n --name x --columns '" + c.byName + "'");
    ASSERT_EQ(name.status, 0) << name.err;
    ASSERT_EQ(Run("convert " + c.args + "m --name x --columns " + c.byNumber).status, 0);
    EXPECT_EQ(Read("n/x.bin"), Read("m/x.bin"));
  }

  // Unknown and ambiguous names are usage errors that list the headers.
  Write("two.csv", "Month,Day,Hour,T (C),T (F),Td,GHI,WS,WD\n1,1,1,1,34,0,0,1,1\n");
  const struct {
    std::string args, message;
  } bad[] = {
      {"'" + kPsmFile + "' --layout psm --columns 'Month,Day,Hour,Temprature'",
       "--columns item 4 (DBTemp) \"Temprature\" is no header of line 3; its headers (column): "
       "\"Year\" (1), \"Month\" (2)"},
      {"two.csv --first-row 2 --date-form mdh --columns Month,Day,Hour,T,Td,GHI,WS,WD",
       "--columns item 4 (DBTemp) \"T\" heads 2 columns of line 1: give its column's number"},
      {"two.csv --date-form mdh --columns Month,Day,Hour,4,5,6,7,8",
       "--columns item 1 (Month) is \"Month\", not a column number 1..255. A header's name needs "
       "a line of headers, and the first data row is line 1: give --header-row N."},
  };
  for (const auto& b : bad) {
    const CliResult r = Run("convert " + b.args + " -q --out bad");
    EXPECT_EQ(r.status, 2) << b.args;
    EXPECT_NE(r.err.find(b.message), std::string::npos) << r.err;
  }
}

TEST_F(LayoutsTest, AMissingQuantityIsRefusedAtOnceOrFilledWithAConstantAsAsked) {
  Write("nowind.csv", PsmFile::Read().AtMinute(0).Without("Wind Direction").Text());
  CliResult r = Run("convert nowind.csv --layout auto --out o -q");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("nowind.csv, line 3: no column is headed \"Wind Direction\" (WindDir), "
                       "which an NSRDB PSM file has; the columns of line 3: \"Year\", \"Month\","),
            std::string::npos)
      << r.err;
  EXPECT_NE(r.err.find("Give a missing item one value for every hour with --constant ITEM=VALUE"),
            std::string::npos);
  EXPECT_FALSE(fs::exists(dir_ / "o" / "nowind-orig.csv"));
  // inspect names it and leaves a place for its value in the command.
  const json inspected = Inspect((dir_ / "nowind.csv").string());
  EXPECT_EQ(inspected["missing"], json::array({"WindDir"}));
  std::string command = inspected["command"];
  const size_t value = command.find("--constant WindDir=VALUE");
  ASSERT_NE(value, std::string::npos) << command;
  command.replace(value, 24, "--constant WindDir=0");
  ASSERT_EQ(Run(command.substr(12) + " --out c -q").status, 0) << command;

  const std::string warning = "As asked, wind direction is the constant 0 for every hour: no value "
                              "of the file is read for it.";
  r = Run("convert nowind.csv --layout auto --constant WindDir=0 --out o -q --report o/r.json");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "kestrum-cli: warning: " + warning + "\n");
  EXPECT_EQ(json::parse(Read("o/r.json"))["warnings"], json::array({warning}));
  for (const OrigRow& row : Orig("o", "nowind")) ASSERT_EQ(row.values[4], 0.0) << row.label;

  // A TMY3 file whose wind-direction column is empty in every row.
  std::vector<std::string> lines = TextLines(ReadBytes(kTmy3File));
  for (size_t i = 2; i < lines.size(); ++i) {
    Fields f = SplitCommas(lines[i]);
    f[43] = "";
    lines[i] = JoinCommas(f);
  }
  std::string text;
  for (const std::string& line : lines) text += line + "\n";
  Write("emptywind.csv", text);
  r = Run("convert emptywind.csv --layout tmy3 --constant winddir=180 --out t -q --report t/r.json");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(json::parse(Read("t/r.json"))["warnings"],
            json::array({"As asked, wind direction is the constant 180 for every hour: no value of "
                          "the file is read for it."}));

  const struct {
    const char* constant;
    const char* message;
  } refused[] = {
      {"DBTemp=5", "DBTemp takes no constant"},
      {"SolarHor=0", "SolarHor takes no constant"},
      {"Pressure=1000", "\"Pressure\" is no item that takes a constant"},
      {"WindDir=400", "--constant WindDir=400: 400 is outside 0..360 degrees."},
      {"WindDir", "give ITEM=VALUE with a number"},
  };
  for (const auto& c : refused) {
    r = Run(std::string("convert nowind.csv --layout auto --out o -q --constant ") + c.constant);
    EXPECT_EQ(r.status, 2) << c.constant;
    EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
  }
}

TEST_F(LayoutsTest, RespelledTmy3HeadersGiveTheSameBin) {
  std::string text = ReadBytes(kTmy3File);
  for (const auto& [from, to] : {std::pair<std::string, std::string>{"DNI (W/m^2)", "DNI (W/m^2))"},
                                 {"GHI (W/m^2)", "ghi (W/m2)"},
                                 {"Dry-bulb (C)", "DRY-BULB (\xC2\xB0" "C)"},
                                 {"Wspd (m/s)", "Wspd ( m/s )"}}) {
    text.replace(text.find(from), from.size(), to);
  }
  Write("respelled.csv", text);
  ConvertAuto((dir_ / "respelled.csv").string(), "r", " --name x");
  ConvertAuto(kTmy3File, "p", " --name x");
  EXPECT_EQ(Read("r/x.bin"), Read("p/x.bin"));
}

TEST_F(LayoutsTest, ABatchReadsCsvInputsWithoutAFieldMapByTheirLayouts) {
  fs::create_directories(dir_ / "in");
  fs::copy_file(kPsmFile, dir_ / "in" / "psm.csv");
  fs::copy_file(kPvgisFile, dir_ / "in" / "pvgis.csv");
  fs::copy_file(kGoldenEpw, dir_ / "in" / "golden.epw");
  const CliResult r = Run("batch in --out b -q --jobs 2");
  ASSERT_EQ(r.status, 0) << r.out << r.err;
  for (const char* name : {"psm", "pvgis", "golden"}) {
    EXPECT_TRUE(fs::exists(dir_ / "b" / (std::string(name) + ".bin"))) << name;
  }
  ASSERT_EQ(Run("convert in/pvgis.csv --layout auto --out a -q").status, 0);
  EXPECT_EQ(Read("b/pvgis.bin"), Read("a/pvgis.bin"));
}

}  // namespace
}  // namespace kestrum::testing
