// Bad input as users produce it, given to the real kestrum-cli: one row per case with the
// input, the options, the exit status, the key words of the message, and what must hold
// afterwards. Every case runs in a directory of its own with in/ (inputs), work/ (the
// interim directory) and out/ (the output directory); nothing outside work/ and out/ may
// change, the inputs included.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "support/test_support.h"

namespace fs = std::filesystem;
using kestrum::testing::ReadBytes;
using kestrum::testing::WriteBytes;

namespace {

const std::string kCli = std::string(KESTRUM_BIN_DIR) + "/kestrum-cli";
const std::string kSample =
    std::string(KESTRUM_SAMPLE_DATA) + "/USA_CO_Golden-NREL.724666_TMY3.epw";

struct Result {
  int status = -1;
  std::string out, err;
};

// The directory of one case.
class CaseDir {
 public:
  explicit CaseDir(const std::string& name)
      : root_(fs::temp_directory_path() /
              ("kestrum-bad-input-" + std::to_string(getpid()) + "-" + name)) {
    fs::remove_all(root_);
    for (const char* d : {"in", "work", "out"}) fs::create_directories(root_ / d);
  }
  ~CaseDir() {
    std::error_code ec;
    fs::remove_all(root_, ec);
  }
  const fs::path& root() const { return root_; }
  std::string In(const std::string& name, const std::string& bytes) const {
    WriteBytes((root_ / "in" / name).string(), bytes);
    return "in/" + name;
  }
  // kestrum-cli with args, in this directory; a run that hangs is stopped after 60 s.
  Result Run(const std::string& args) const {
    const fs::path err = root_ / "stderr.txt";
    const std::string command = "cd '" + root_.string() + "' && timeout 60 '" + kCli + "' " +
                                args + " 2> '" + err.string() + "'";
    Result r;
    FILE* pipe = popen(command.c_str(), "r");
    char buf[4096];
    for (size_t n; (n = fread(buf, 1, sizeof buf, pipe)) > 0;) r.out.append(buf, n);
    const int raw = pclose(pipe);
    r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    r.err = ReadBytes(err.string());
    fs::remove(err);
    return r;
  }
  // Every file outside work/ and out/, with its content (a pipe or socket by its kind).
  std::map<std::string, std::string> Outside() const {
    std::map<std::string, std::string> files;
    for (auto it = fs::recursive_directory_iterator(root_); it != fs::recursive_directory_iterator();
         ++it) {
      const fs::path rel = fs::relative(it->path(), root_);
      const std::string top = rel.begin()->string();
      if (top == "work" || top == "out") {
        if (it->is_directory()) it.disable_recursion_pending();
        continue;
      }
      if (it->is_regular_file()) files[rel.string()] = ReadBytes(it->path().string());
      else if (!it->is_directory()) files[rel.string()] = "<special>";
    }
    return files;
  }

 private:
  fs::path root_;
};

std::string Sample() {
  static const std::string text = ReadBytes(kSample);
  return text;
}

// The sample with line n (1-based, CR LF lines) replaced by text, or text inserted before
// it when insert is set.
std::string SampleWithLine(int n, const std::string& text, bool insert = false) {
  std::string s = Sample();
  size_t start = 0;
  for (int i = 1; i < n; ++i) start = s.find("\r\n", start) + 2;
  const size_t end = insert ? start : s.find("\r\n", start) + 2;
  s.replace(start, end - start, text + "\r\n");
  return s;
}

// Line 9 of the sample, its first data row (1 January hour 1), with a new date.
std::string FirstRowDated(const std::string& monthDayHour) {
  const std::string s = Sample();
  size_t start = 0;
  for (int i = 1; i < 9; ++i) start = s.find("\r\n", start) + 2;
  std::string row = s.substr(start, s.find("\r\n", start) - start);
  const size_t dateEnd = row.find(',', row.find(',', row.find(',', row.find(',') + 1) + 1) + 1);
  return "1999," + monthDayHour + row.substr(dateEnd);
}

// The .bin the unchanged sample gives (made once).
const std::string& SampleBin() {
  static const std::string bin = [] {
    CaseDir dir("reference");
    const Result r = dir.Run("convert '" + kSample + "' --name run --interim work --out out -q");
    EXPECT_EQ(r.status, 0) << r.err;
    return ReadBytes((dir.root() / "out" / "run.bin").string());
  }();
  return bin;
}

struct Case {
  const char* name;
  std::function<std::string(CaseDir&)> setup;  // writes the inputs, returns the arguments
  int status;
  std::vector<std::string> words;       // each appears in stderr
  std::vector<std::string> absent;      // paths (below the case directory) that must not exist
  bool binLikeSample = false;           // out/run.bin is the unchanged sample's
  std::vector<std::string> written = {};  // files outside work/ and out/ the case may write
};

// The case by its name in test listings (not its bytes).
void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

// "convert FILE" into work/ and out/ under the name run.
std::string Convert(const std::string& file, const std::string& more = "") {
  return "convert " + file + " --name run --interim work --out out -q" + more;
}

std::string Utf16(const std::string& text) {
  std::string out = "\xFF\xFE";
  for (char c : text) out += std::string{c, '\0'};
  return out;
}

std::string Header() { return Sample().substr(0, Sample().find("1999,")); }

const std::string kTmy3 = std::string(KESTRUM_SAMPLE_DATA) + "/723170TYA.CSV";

// The TMY3 sample with another site line.
std::string Tmy3WithSiteLine(const std::string& line) {
  static const std::string text = ReadBytes(kTmy3);
  return line + text.substr(text.find('\n'));
}

// Section "CSV Specs" of a settings file for the TMY3 sample, with one line replaced.
std::string CsvSpecs(const std::string& line, const std::string& replacement) {
  std::string s =
      "[CSV Specs]\r\nCSVdesc=GREENSBORO\r\nCSVlat=36.1\r\nCSVlong=-79.95\r\nCSVtz=-5\r\n"
      "CSVelev=273\r\nFirstRow=3\r\nDateInd=2\r\nMoistInd=0\r\nSolarInd=1\r\nDBTunits=1\r\n"
      "MoistUnits=1\r\nSolUnits=0\r\nWindUnits=2\r\nCSVgridCol1=32\r\nCSVgridCol2=35\r\n"
      "CSVgridCol3=5\r\nCSVgridCol4=8\r\nCSVgridCol5=47\r\nCSVgridCol6=44\r\n";
  const size_t at = s.find(line + "\r\n");
  if (at != std::string::npos) s.replace(at, line.size(), replacement);
  return s;
}

const std::vector<Case>& Cases() {
  static const std::vector<Case> cases = {
      // Files that are not weather data, or not files.
      {"NamedPipe", [](CaseDir& d) { mkfifo((d.root() / "in/pipe.epw").c_str(), 0600); return Convert("in/pipe.epw"); },
       1, {"pipe.epw", "named pipe"}, {"work/run-orig.csv"}},
      {"EndlessDevice", [](CaseDir&) { return Convert("/dev/zero"); }, 1, {"/dev/zero", "device"}},
      {"Directory", [](CaseDir& d) { fs::create_directory(d.root() / "in/dir.epw"); return Convert("in/dir.epw"); },
       1, {"dir.epw", "is a directory"}},
      {"MissingFile", [](CaseDir&) { return Convert("in/none.epw"); }, 1, {"none.epw", "does not exist"}},
      {"EmptyFile", [](CaseDir& d) { return Convert(d.In("e.epw", "")); }, 1,
       {"e.epw is not an EPW file", "it is empty"}, {"work/run-orig.csv"}},
      {"CsvFileAsEpw", [](CaseDir& d) {
         return Convert(d.In("t.csv", "Date,Time,Temp\r\n1/1/1999,1:00,5\r\n"), " --format epw");
       }, 1, {"t.csv is not an EPW file", "no LOCATION line"}},
      {"CsvFileWithoutSpecification", [](CaseDir& d) {
         return Convert(d.In("t.csv", "Date,Time,Temp\r\n1/1/1999,1:00,5\r\n"));
       }, 2, {"assigns no column to \"Month\"", "--layout"}, {"work/run-orig.csv"}},
      {"Utf16Text", [](CaseDir& d) { return Convert(d.In("u.epw", Utf16(Sample().substr(0, 5000)))); },
       1, {"u.epw is not an EPW file", "UTF-16"}},
      {"BinaryGarbage", [](CaseDir& d) {
         std::string b;
         for (int i = 0; i < 5000; ++i) b.push_back(static_cast<char>((i * 131 + 7) & 0xFF));
         return Convert(d.In("b.epw", b));
       }, 1, {"b.epw is not an EPW file"}},
      {"NoDataPeriods", [](CaseDir& d) { return Convert(d.In("n.epw", SampleWithLine(8, "COMMENTS 3,x"))); },
       1, {"n.epw is not an EPW file", "no DATA PERIODS line"}},
      {"NoLocation", [](CaseDir& d) { return Convert(d.In("n.epw", SampleWithLine(1, "COMMENTS 0,x"))); },
       1, {"n.epw is not an EPW file", "no LOCATION line"}},
      {"HeaderWithoutRows", [](CaseDir& d) { return Convert(d.In("h.epw", Header() + "\r\n")); },
       1, {"h.epw is not an EPW file", "no data rows"}},
      {"LineOverOneMegabyte", [](CaseDir& d) {
         return Convert(d.In("l.epw", SampleWithLine(9, std::string((1 << 20) + 1, '7'))));
       }, 1, {"l.epw, line 9", "longer than 1 MB"}},
      // Text as editors and other programs leave it: converted as if it were not there.
      {"BlankLineAtTheEnd", [](CaseDir& d) { return Convert(d.In("b.epw", Sample() + "\r\n")); }, 0, {}, {}, true},
      {"ByteOrderMark", [](CaseDir& d) { return Convert(d.In("b.epw", "\xEF\xBB\xBF" + Sample())); }, 0, {}, {}, true},
      {"LineFeedsOnly", [](CaseDir& d) {
         std::string s = Sample();
         std::erase(s, '\r');
         return Convert(d.In("b.epw", s));
       }, 0, {}, {}, true},
      // Rows that used to be stored on another hour: skipped, counted, warned about.
      {"HourZero", [](CaseDir& d) { return Convert(d.In("z.epw", SampleWithLine(20, FirstRowDated("1,1,0"), true))); },
       0, {"warning: 1 data row", "skipped (first at line 20)"}, {}, true},
      {"DayZero", [](CaseDir& d) { return Convert(d.In("z.epw", SampleWithLine(20, FirstRowDated("1,0,5"), true))); },
       0, {"warning: 1 data row", "skipped (first at line 20)"}, {}, true},
      {"DatesOutsideTheYear", [](CaseDir& d) {
         std::string rows = FirstRowDated("2,30,1") + "\r\n" + FirstRowDated("13,1,1") + "\r\n" +
                            FirstRowDated("4,31,2") + "\r\n" + FirstRowDated("1,1,25");
         return Convert(d.In("z.epw", SampleWithLine(100, rows, true)));
       }, 0, {"warning: 4 data rows", "skipped (first at line 100)"}, {}, true},
      {"TwoYears", [](CaseDir& d) { return Convert(d.In("y.epw", Sample() + Sample().substr(Header().size()))); },
       0, {"warning: 8760 hours were filled by more than one row", "first at line 8769"}, {}, true},
      {"DecimalCommaAddsAField", [](CaseDir& d) {
         std::string row = FirstRowDated("1,1,4");
         row.replace(row.find(",-3.0,"), 6, ",12,5,");
         return Convert(d.In("c.epw", SampleWithLine(12, row)));
       }, 1, {"c.epw, line 12", "fields beyond the 35"}, {"out/run.bin"}},
      {"TruncatedRow", [](CaseDir& d) { return Convert(d.In("t.epw", SampleWithLine(30, "1999,1,1"))); },
       1, {"t.epw, line 30", "(hour)"}},
      {"TextInANumberField", [](CaseDir& d) {
         std::string row = FirstRowDated("1,1,4");
         row.replace(row.find(",-3.0,"), 6, ",warm,");
         return Convert(d.In("t.epw", SampleWithLine(12, row)));
       }, 1, {"t.epw, line 12: \"warm\" is not a number (dry bulb)"}},
      {"SiteValueNamesItsHeaderLine", [](CaseDir& d) {
         return Convert(d.In("s.epw", SampleWithLine(1, "LOCATION,A,B,C,TMY3,1,north,-105.18,-7.0,1829.0")));
       }, 1, {"s.epw, LOCATION line 1", "latitude \"north\" is not a number"}, {"out/run.bin"}},
      {"LatitudeOutOfRange", [](CaseDir& d) {
         return Convert(d.In("s.epw", SampleWithLine(1, "LOCATION,A,B,C,TMY3,1,722886,-105.18,-7.0,1829.0")));
       }, 1, {"s.epw, LOCATION line 1", "latitude 722886 is outside -90..90"}, {"work/run.ft", "out/run.bin"}},
      // Output names and files that a run must not write.
      {"NameEscapesTheDirectory", [](CaseDir&) { return "convert '" + kSample + "' --name ../escape --interim work --out out"; },
       2, {"may not hold"}},
      {"NameWithSlash", [](CaseDir&) { return "convert '" + kSample + "' --name sub/x --interim work --out out"; },
       2, {"may not hold"}},
      {"NameWithBackslash", [](CaseDir&) { return "convert '" + kSample + "' --name 'a\\b' --interim work --out out"; },
       2, {"may not hold"}},
      {"EmptyName", [](CaseDir&) { return "convert '" + kSample + "' --name '' --interim work --out out"; },
       2, {"gives no file name"}},
      {"LogIsTheInput", [](CaseDir& d) { const std::string in = d.In("a.epw", Sample()); return Convert(in, " --log " + in); },
       2, {"log file", "a.epw"}, {"work/run-orig.csv"}},
      {"LogIsTheSettingsFile", [](CaseDir& d) { return Convert("'" + kSample + "'", " --settings " + d.In("k.INI", "[SetUp]\r\n") + " --log in/k.INI"); },
       2, {"log file", "k.INI"}},
      {"InputIsARunFile", [](CaseDir& d) { return "convert " + d.In("run.ft", Sample()) + " --name run --interim in --out out -q"; },
       1, {"source file", "run.ft"}},
      {"LogOnAFullDisk", [](CaseDir&) { return Convert("'" + kSample + "'", " --log /dev/full"); },
       1, {"/dev/full", "No space left on device"}, {"work/run-orig.csv"}},
      // Names the packer cannot take: refused before anything is written.
      {"NameLongerThanThePackerTakes", [](CaseDir&) {
         return "convert '" + kSample + "' --name " + std::string(130, 'n') + " --interim work --out out -q";
       }, 2, {"--name", "has 130 characters", "at most 127"},
       {"work/" + std::string(130, 'n') + "-orig.csv", "out/" + std::string(130, 'n') + ".bin"}},
      {"NameOfTheLongestLengthThePackerTakes", [](CaseDir&) {
         return "convert '" + kSample + "' --name " + std::string(127, 'n') + " --interim work --out out -q";
       }, 0, {}, {}},
      {"DefaultNameLongerThanThePackerTakes", [](CaseDir& d) {
         return "convert " + d.In(std::string(128, 'l') + ".epw", Sample()) + " --interim work --out out -q";
       }, 2, {"has 128 characters", "at most 127"}, {"work/" + std::string(128, 'l') + "-orig.csv"}},
      // Option values that do not convert or lie out of range: usage errors.
      {"LatitudeOptionOutOfRange", [](CaseDir&) { return Convert("'" + kTmy3 + "'", " --layout tmy3 --lat 95"); },
       2, {"The site latitude 95 is outside -90..90"}, {"work/run-orig.csv"}},
      {"ColumnsLackARequiredItem", [](CaseDir&) { return Convert("'" + kTmy3 + "'", " --layout tmy3 --columns 32,35"); },
       2, {"assigns no column to \"SolarHor\"", "--columns"}, {"work/run-orig.csv"}},
      {"SiteDescriptionWithALineBreak", [](CaseDir&) {
         return Convert("'" + kTmy3 + "'", " --layout tmy3 --site-desc \"$(printf 'Greens\\nboro')\"");
       }, 2, {"--site-desc holds a line break"}, {"work/run-orig.csv"}},
      // A TMY3 site line whose station name is not closed by its quote: the file and the line
      // are named; the site given by flags stands in for it.
      {"Tmy3SiteLineWithAnOpenQuote", [](CaseDir& d) {
         return Convert(d.In("open.csv", Tmy3WithSiteLine("723170,\"GREENSBORO,NC,-5.0,36.100,-79.950,273")),
                        " --layout tmy3");
       }, 1, {"open.csv, line 1", "a double quote is not closed", "--lat"}, {"work/run-orig.csv"}},
      {"Tmy3SiteLineWithAnOpenQuoteAndTheSiteGiven", [](CaseDir& d) {
         return Convert(d.In("open.csv", Tmy3WithSiteLine("723170,\"GREENSBORO,NC,-5.0,36.100,-79.950,273")),
                        " --layout tmy3 --lat 36.1 --lon -79.95 --tz -5 --elev 273");
       }, 0, {}, {}},
      {"Tmy3SiteLineWithALatitudeThatIsNoNumber", [](CaseDir& d) {
         return Convert(d.In("north.csv", Tmy3WithSiteLine("723170,\"GREENSBORO\",NC,-5.0,north,-79.950,273")),
                        " --layout tmy3");
       }, 1, {"north.csv, line 1: The site latitude \"north\" is not a number."}, {"work/run-orig.csv"}},
      // A CSV field map or site from the settings file that does not convert: the file and
      // the key are named.
      {"SettingsDateFormThatDoesNotConvert", [](CaseDir& d) {
         return Convert("'" + kTmy3 + "'", " --settings " + d.In("k.INI", CsvSpecs("DateInd=2", "DateInd=abc")));
       }, 2, {"k.INI", "[CSV Specs] DateInd=abc does not convert"}, {"work/run-orig.csv"}},
      {"SettingsColumnThatDoesNotConvert", [](CaseDir& d) {
         return Convert("'" + kTmy3 + "'", " --settings " + d.In("k.INI", CsvSpecs("CSVgridCol3=5", "CSVgridCol3=G")));
       }, 2, {"k.INI", "[CSV Specs] CSVgridCol3=G does not convert", "\"SolarHor\""}, {"work/run-orig.csv"}},
      {"SettingsWithoutARequiredColumn", [](CaseDir& d) {
         return Convert("'" + kTmy3 + "'", " --settings " + d.In("k.INI", CsvSpecs("CSVgridCol6=44", "CSVgridCol6=")));
       }, 2, {"k.INI", "[CSV Specs] CSVgridCol6= gives no column to \"WindDir\""}, {"work/run-orig.csv"}},
      {"SettingsLatitudeThatDoesNotConvert", [](CaseDir& d) {
         return Convert("'" + kTmy3 + "'", " --settings " + d.In("k.INI", CsvSpecs("CSVlat=36.1", "CSVlat=95")));
       }, 2, {"k.INI", "[CSV Specs] CSVlat=95 does not convert"}, {"work/run-orig.csv"}},
      {"SettingsLatitudeThatAFlagReplaces", [](CaseDir& d) {
         return Convert("'" + kTmy3 + "'", " --lat 36.1 --settings " + d.In("k.INI", CsvSpecs("CSVlat=36.1", "CSVlat=95")));
       }, 0, {}, {}},
      // Settings files the command line cannot use: refused before any file is written.
      {"SettingsMinAboveMax", [](CaseDir& d) { return Convert("'" + kSample + "'", " --settings " + d.In("k.INI", "[SetUp]\r\nSOLmin=1300\r\n")); },
       2, {"k.INI", "\"Solar Horiz.\" has its Min (1300) above its Max (1200)", "SOLmin"}, {"work/run-orig.csv"}},
      {"SettingsLimitThatDoesNotConvert", [](CaseDir& d) { return Convert("'" + kSample + "'", " --settings " + d.In("k.INI", "[SetUp]\r\nDBTmin=cold\r\n")); },
       2, {"k.INI", "DBTmin=cold"}, {"work/run-orig.csv"}},
      {"SettingsOptionThatDoesNotConvert", [](CaseDir& d) { return Convert("'" + kSample + "'", " --settings " + d.In("k.INI", "[EPW Specs]\r\nEPWUseRH=yes\r\n")); },
       2, {"k.INI", "EPWUseRH=yes"}},
      {"SettingsIsADirectory", [](CaseDir& d) { fs::create_directory(d.root() / "in/k.INI"); return Convert("'" + kSample + "'", " --settings in/k.INI"); },
       2, {"k.INI", "is a directory"}},
      {"SettingsMissing", [](CaseDir&) { return Convert("'" + kSample + "'", " --settings in/none.INI"); },
       2, {"none.INI", "does not exist"}},
      {"SettingsIsAPipe", [](CaseDir& d) { mkfifo((d.root() / "in/k.INI").c_str(), 0600); return Convert("'" + kSample + "'", " --settings in/k.INI"); },
       2, {"k.INI", "named pipe"}},
      // Runs under a name an earlier run used.
      {"FailedRerunLeavesNoEarlierFileAsItsOwn", [](CaseDir& d) {
         EXPECT_EQ(d.Run(Convert("'" + kSample + "'")).status, 0);
         return Convert("'" + kSample + "'", " --settings " + d.In("k.INI", "[SetUp]\r\nDBTmax=-45\r\n"));
       }, 3, {"bad hours remain", "run.bin in ", "is from an earlier run ("},
       {"work/run-final.csv", "work/run.ft", "work/run.bin"}},
      {"EarlierCleaningSnapshotIsRemoved", [](CaseDir& d) {
         EXPECT_EQ(d.Run(Convert("'" + kSample + "'", " --settings " + d.In("k.INI", "[SetUp]\r\nDBTmax=-45\r\n"))).status, 3);
         return Convert("'" + kSample + "'");
       }, 0, {}, {"work/postclean-c.csv"}, true},
      // unpack never replaces what it reads.
      {"UnpackOntoItself", [](CaseDir& d) { d.In("x.bin", SampleBin()); return std::string("unpack in/x.bin -o in/x.bin"); },
       2, {"x.bin"}},
      {"UnpackAnFtFile", [](CaseDir& d) { d.In("x.ft", "an FT file"); return std::string("unpack in/x.ft"); },
       2, {"x.ft"}},
      {"UnpackDamagedBin", [](CaseDir& d) {
         std::string bin = SampleBin();
         bin[bin.size() / 2] ^= 0x10;
         d.In("x.bin", bin);
         return std::string("unpack in/x.bin -o out/x.ft");
       }, 1, {"x.bin", "cannot be unpacked"}, {"out/x.ft"}},
      {"UnpackToAFullDisk", [](CaseDir& d) { d.In("x.bin", SampleBin()); return std::string("unpack in/x.bin -o /dev/full"); },
       1, {"/dev/full", "No space left on device"}},
      {"UnpackAPipe", [](CaseDir& d) { mkfifo((d.root() / "in/p.bin").c_str(), 0600); return std::string("unpack in/p.bin -o out/p.ft"); },
       1, {"p.bin", "not a regular file"}, {"out/p.ft"}},
  };
  return cases;
}

class BadInput : public ::testing::TestWithParam<Case> {};

TEST_P(BadInput, IsRefusedOrHandledAsUsersExpect) {
  const Case& c = GetParam();
  CaseDir dir(c.name);
  const std::string args = c.setup(dir);
  const auto before = dir.Outside();
  const Result r = dir.Run(args);
  EXPECT_EQ(r.status, c.status) << r.err;
  for (const std::string& word : c.words) {
    EXPECT_NE(r.err.find(word), std::string::npos) << "\"" << word << "\" not in: " << r.err;
  }
  if (c.status == 1 || c.status == 3) {
    EXPECT_EQ(r.err.rfind("kestrum-cli: ", 0), 0u) << r.err;  // one sentence, named
  }
  for (const std::string& path : c.absent) EXPECT_FALSE(fs::exists(dir.root() / path)) << path;
  if (c.binLikeSample) {
    EXPECT_TRUE(ReadBytes((dir.root() / "out/run.bin").string()) == SampleBin());
  }
  for (const char* device : {"/dev/full", "/dev/zero"}) {  // written to, never replaced
    struct stat st {};
    EXPECT_TRUE(stat(device, &st) == 0 && S_ISCHR(st.st_mode)) << device;
  }
  auto after = dir.Outside();
  for (const std::string& path : c.written) after.erase(path);
  EXPECT_TRUE(after == before) << "files outside work/ and out/ changed";
}

INSTANTIATE_TEST_SUITE_P(Cli, BadInput, ::testing::ValuesIn(Cases()),
                         [](const ::testing::TestParamInfo<Case>& info) { return info.param.name; });

}  // namespace
