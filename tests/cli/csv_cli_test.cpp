// kestrum-cli converting CSV files: the README's two ways of converting the bundled TMY3
// file, the settings file, the branch by extension, and what bad command lines and bad
// files get.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "support/cli_run.h"
#include "support/test_support.h"

namespace fs = std::filesystem;
using kestrum::testing::CliResult;
using kestrum::testing::ReadBytes;
using kestrum::testing::WriteBytes;

namespace {

const std::string kTmy3 = std::string(KESTRUM_SAMPLE_DATA) + "/723170TYA.CSV";
const std::string kGolden = std::string(KESTRUM_SAMPLE_DATA) + "/USA_CO_Golden-NREL.724666_TMY3.epw";
// The README's second example: the TMY3 layout spelled out flag by flag.
const std::string kExplicitFlags =
    "--first-row 3 --date-form none --moisture dew-point --solar global+dn --temp-unit C "
    "--moist-unit C --solar-unit W/m2 --wind-unit m/s --columns 32,35,5,8,47,44 "
    "--site-desc 'GREENSBORO PIEDMONT TRIAD INT' --lat 36.100 --lon -79.950 --tz -5.0 --elev 273";
const char* kRunFiles[] = {"-orig.csv", "-final.csv", ".ft"};

std::string FirstLines(const std::string& text, int count) {
  size_t end = 0;
  for (int i = 0; i < count; ++i) end = text.find('\n', end) + 1;
  return text.substr(0, end);
}

class CsvCliTest : public ::testing::Test {
 protected:
  CliResult Run(const std::string& args) { return kestrum::testing::RunCli(dir_.str(), args); }
  std::string Read(const std::string& name) const { return ReadBytes(dir_.File(name)); }
  bool Exists(const std::string& name) const { return fs::exists(dir_.File(name)); }

  kestrum::testing::TempDir dir_;
};

TEST_F(CsvCliTest, TheReadmeExamplesMakeTheSameBinFromTheTmy3Sample) {
  CliResult r = Run("convert '" + kTmy3 + "' --layout tmy3 --out a --log run.log");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("  Weather data loaded successfully from CSV file."), std::string::npos);
  r = Run("convert '" + kTmy3 + "' " + kExplicitFlags + " --out b -q");
  ASSERT_EQ(r.status, 0) << r.err;
  for (const std::string name : {"-orig.csv", "-final.csv", ".ft", ".bin"}) {
    const std::string a = Read("a/723170TYA" + name);
    EXPECT_FALSE(a.empty()) << name;
    EXPECT_EQ(a, Read("b/723170TYA" + name)) << name;
  }
  const std::string ft = Read("a/723170TYA.ft");
  EXPECT_EQ(ft.substr(0, ft.find("\r\n")), "GREENSBORO PIEDMONT TRIAD   36.10   79.95    5    5");
  const std::string orig = Read("a/723170TYA-orig.csv");
  EXPECT_NE(orig.find("\r\n1,1,1,   50.00,   42.98,    0.00,   13.83,  200.00,    0.00,    0.00,"
                      "    0.00,    2.00\r\n"),
            std::string::npos);
  EXPECT_EQ(Read("run.log").find("CSV Error"), std::string::npos);
}

TEST_F(CsvCliTest, TheSettingsFileGivesSpecificationAndSiteAndFlagsOverrideSingleValues) {
  WriteBytes(dir_.File("k.INI"),
             "[CSV Specs]\r\nCSVdesc=Greensboro from the settings\r\nCSVlat=36.1\r\n"
             "CSVlong=-79.95\r\nCSVtz=-5\r\nCSVelev=273\r\nFirstRow=3\r\nDateInd=2\r\n"
             "MoistInd=0\r\nSolarInd=1\r\nDBTunits=1\r\nMoistUnits=1\r\nWindUnits=2\r\n"
             "CSVgridCol1=32\r\nCSVgridCol2=35\r\nCSVgridCol3=5\r\nCSVgridCol4=8\r\n"
             "CSVgridCol5=47\r\nCSVgridCol6=44\r\n");
  ASSERT_EQ(Run("convert '" + kTmy3 + "' --layout tmy3 --out a -q").status, 0);
  CliResult r = Run("convert '" + kTmy3 + "' --settings k.INI --out s -q");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(Read("s/723170TYA-final.csv"), Read("a/723170TYA-final.csv"));
  EXPECT_EQ(Read("s/723170TYA.ft").substr(0, 25), "Greensboro from the setti");

  // Without the direct normal the items keep their columns; it is estimated every hour.
  r = Run("convert '" + kTmy3 + "' --settings k.INI --solar global --site-desc Elsewhere --out g -q");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(Read("g/723170TYA.ft").substr(0, 25), "Elsewhere                ");
  const std::string orig = Read("g/723170TYA-orig.csv");
  EXPECT_NE(orig.find("\r\n1,1,1,   50.00,   42.98,    0.00,   13.83,  200.00,   -1.00,"), std::string::npos);
}

TEST_F(CsvCliTest, TheExtensionChoosesTheBranchInAnyCaseAndFormatOverridesIt) {
  fs::copy_file(kTmy3, dir_.File("upper.CsV"));
  fs::copy_file(kTmy3, dir_.File("station.txt"));
  fs::copy_file(kGolden, dir_.File("golden.csv"));
  EXPECT_EQ(Run("convert upper.CsV --layout tmy3 -q").status, 0);
  EXPECT_EQ(Run("convert station.txt --format csv --layout tmy3 -q").status, 0);
  EXPECT_EQ(Read("station.ft"), Read("upper.ft").replace(0, 0, ""));
  const CliResult r = Run("convert golden.csv --format EPW -q");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(Read("golden.ft").substr(0, 4), "EPW ");
}

TEST_F(CsvCliTest, ABadCommandLineIsRefusedBeforeAnythingIsWritten) {
  fs::copy_file(kTmy3, dir_.File("s.csv"));
  fs::copy_file(kGolden, dir_.File("g.epw"));
  WriteBytes(dir_.File("one.csv"), "723170,\"X\",NC,-5.0,36.1,-79.9,273\n");
  WriteBytes(dir_.File("noheads.csv"), "723170,\"X\",NC,-5.0,36.1,-79.9,273\nDry-bulb (C),b\n1,2\n");
  const std::string site = " --lat 36.1 --lon -79.95 --tz -5 --elev 273";
  const struct {
    std::string args;
    int status;
    std::string message;
  } cases[] = {
      {"g.epw --layout tmy3", 2, "--layout applies to CSV input only; g.epw converts as EPW"},
      {"g.epw --lat 36", 2, "--lat applies to CSV input only"},
      {"s.csv --layout tmy3 --use-rh", 2, "--use-rh applies to EPW input only"},
      {"s.csv --date-form weekly", 2, "--date-form"},
      {"s.csv --layout gridded", 2, "--layout"},
      {"s.csv --first-row 0", 2, "--first-row: Value 0 not in range 1 to 2147483647"},
      {"s.csv --format xls", 2, "--format"},
      {"s.csv --date-form none --columns 32,35,5,47,44,1,2,3,4", 2,
       "--columns lists 9 columns, but the layout of date form none has 8 slots: DBTemp,WetBlb,"},
      {"s.csv --columns 1,2,x", 2, "--columns item 3 (Hour) is \"x\", not a column number 1..255."},
      {"s.csv --columns 1,2,300", 2, "--columns item 3 (Hour)"},
      {"s.csv --layout tmy3 --moist-unit percent", 2, "--moist-unit percent is a unit of relative humidity"},
      {"s.csv --layout tmy3 --moisture wet-bulb", 2, "a TMY3 file has no wet-bulb column"},
      {"s.csv" + site, 2, "assigns no column to \"Month\" (slot 1), which is required."},
      {"s.csv --layout tmy3 --columns 32,35,,8,47,44", 2, "assigns no column to \"SolarHor\""},
      {"s.csv --date-form none --columns 32,35,5,47,44", 2, "The site latitude \"\" is not a number."},
      {"s.csv --layout tmy3 --lat north", 2, "The site latitude \"north\" is not a number."},
      {"one.csv --layout tmy3", 1, "one.csv is not a TMY3 file: it has fewer than two lines"},
      {"noheads.csv --layout tmy3", 1, "noheads.csv, line 2: no column is headed \"Dew-point (C)\""},
  };
  for (const auto& c : cases) {
    const CliResult r = Run("convert " + c.args + " -q");
    EXPECT_EQ(r.status, c.status) << c.args << "\n" << r.err;
    EXPECT_NE(r.err.find(c.message), std::string::npos) << c.args << "\n" << r.err;
    // One line; CLI11's own refusals add a hint to --help.
    const bool byCli11 = r.err.find("Run with --help") != std::string::npos;
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), byCli11 ? 2 : 1) << c.args << "\n" << r.err;
  }
  for (const auto& entry : fs::directory_iterator(dir_.str())) {
    EXPECT_EQ(entry.path().string().find("-orig.csv"), std::string::npos) << entry.path();
  }
}

TEST_F(CsvCliTest, NegativeNumbersAreValues) {
  const CliResult r = Run("convert '" + kTmy3 + "' --layout tmy3 --lon -105.18 --tz -7 --lat=-39.5 -q");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(Read("723170TYA.ft").substr(25, 21), "  -39.50  105.18    7");
}

// The sample rewritten in the forms CSV files come in converts to the very same files; bad
// files end with status 1 and one line naming the file, the line and the text.
TEST_F(CsvCliTest, EveryFormOfTheSampleConvertsAlikeAndBadFilesAreNamed) {
  const std::string sample = ReadBytes(kTmy3);
  ASSERT_EQ(Run("convert '" + kTmy3 + "' --layout tmy3 --name plain -q").status, 0);
  auto replaceAll = [](std::string s, const std::string& from, const std::string& to) {
    for (size_t p = 0; (p = s.find(from, p)) != std::string::npos; p += to.size()) s.replace(p, from.size(), to);
    return s;
  };
  auto prefixLines = [](const std::string& s, const std::string& prefix) {
    std::string out = prefix;
    for (char c : s) {
      out.push_back(c);
      if (c == '\n') out += prefix;
    }
    out.resize(out.size() - prefix.size());
    return out;
  };
  const struct {
    const char* name;
    std::string text;
  } alike[] = {
      {"crlf", replaceAll(sample, "\n", "\r\n")},
      {"cr", replaceAll(sample, "\n", "\r")},
      {"tabs", replaceAll(sample, ",", "\t")},
      {"bom", "\xEF\xBB\xBF" + sample},
      // A quoted field before the headers and data shifts their columns by two.
      {"quoted", sample.substr(0, sample.find('\n') + 1) +
                     prefixLines(sample.substr(sample.find('\n') + 1), "\"x, y\",")},
      {"extra", replaceAll(sample, "\n", ",1,2,3\n")},
      {"trailing-empty-line", sample + "\n"},
  };
  for (const auto& c : alike) {
    WriteBytes(dir_.File(std::string(c.name) + ".csv"), c.text);
    const CliResult r = Run(std::string("convert ") + c.name + ".csv --layout tmy3 -q");
    ASSERT_EQ(r.status, 0) << c.name << "\n" << r.err;
    for (const char* suffix : kRunFiles) {
      EXPECT_EQ(Read(std::string(c.name) + suffix), Read(std::string("plain") + suffix)) << c.name << suffix;
    }
  }

  std::mt19937 random(3);
  std::string garbage(100000, '\0');
  for (char& c : garbage) c = static_cast<char>(random() & 0xFF);
  const std::string mdh = " --date-form mdh --columns 1,2,3,4,5,6,7,8 --lat 36 --lon -80 --tz -5 --elev 0";
  const struct {
    const char* name;
    std::string text;
    std::string args;
    int status;
    std::string message;
  } bad[] = {
      {"garbage", garbage, mdh, 1, "garbage.csv, line 1: \""},
      {"empty-line", "1,1,1,5,5,0,1,1\n\n1,1,3,5,5,0,1,1\n", mdh, 1,
       "empty-line.csv, line 2: \"\" is not a whole number (month)"},
      {"beyond", "1,1,1,5,5,0,1,1\n", mdh + " --first-row 9", 1,
       "beyond.csv has 1 line: the first data row, line 9, lies beyond its end."},
      // Without a date form eight rows are no year.
      {"short", FirstLines(sample, 10), " --layout tmy3", 1,
       "short.csv has 8 data rows; without a date form a file must hold 8760 (or 8784 for a "
       "leap year) rows, one per hour"},
      // One hour: the rest of the year has no earlier day to be copied from.
      {"one-hour", "1,1,1,5,5,0,1,1\n", mdh, 3, "cleaning pass could not repair"},
  };
  for (const auto& c : bad) {
    WriteBytes(dir_.File(std::string(c.name) + ".csv"), c.text);
    const CliResult r = Run(std::string("convert ") + c.name + ".csv" + c.args + " -q");
    EXPECT_EQ(r.status, c.status) << c.name << "\n" << r.err;
    EXPECT_NE(r.err.find(c.message), std::string::npos) << c.name << "\n" << r.err;
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << c.name << "\n" << r.err;
  }
}

}  // namespace
