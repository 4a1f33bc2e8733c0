// kestrum-cli as a user runs it: exit statuses, messages, outputs and the unpack round trip.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "support/test_support.h"

namespace fs = std::filesystem;
using kestrum::testing::ReadBytes;

namespace {

const std::string kCli = std::string(KESTRUM_BIN_DIR) + "/kestrum-cli";
const std::string kGolden =
    std::string(KESTRUM_SAMPLE_DATA) + "/USA_CO_Golden-NREL.724666_TMY3.epw";

struct Result {
  int status = -1;
  std::string out;  // stdout
  std::string err;  // stderr
};

class CliTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("kestrum-cli-test-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  Result Run(const std::string& args, const std::string& program = kCli) {
    const fs::path err = dir_ / "stderr.txt";
    const std::string command = "cd '" + dir_.string() + "' && '" + program + "' " + args +
                                " 2> '" + err.string() + "'";
    Result r;
    FILE* pipe = popen(command.c_str(), "r");
    char buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, pipe)) > 0) r.out.append(buf, n);
    const int raw = pclose(pipe);
    r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    r.err = ReadBytes(err.string());
    return r;
  }

  fs::path Write(const std::string& name, const std::string& text) {
    std::ofstream(dir_ / name, std::ios::binary) << text;
    return dir_ / name;
  }

  fs::path dir_;
};

TEST_F(CliTest, ConvertsTheSampleEndToEndAndUnpacksItByteForByte) {
  const Result r = Run("convert '" + kGolden + "' --out out --interim work --log run.log");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("  Weather data loaded successfully from EPW file."), std::string::npos);
  EXPECT_NE(r.out.find("  Formatted weather data successfully."), std::string::npos);
  const std::string base = "USA_CO_Golden-NREL.724666_TMY3";
  for (const std::string& name : {base + "-orig.csv", std::string("postclean-b.csv"),
                                 base + "-final.csv", base + ".ft"}) {
    EXPECT_TRUE(fs::exists(dir_ / "work" / name)) << name;
  }
  EXPECT_TRUE(fs::exists(dir_ / "out" / (base + ".bin")));
  EXPECT_FALSE(fs::exists(dir_ / "work" / "postclean-c.csv"));

  const std::string log = ReadBytes((dir_ / "run.log").string());
  EXPECT_EQ(log.rfind("Processing started at ", 0), 0u);
  EXPECT_NE(log.find("\r\nProcessing finished at "), std::string::npos);

  const Result u = Run("unpack out/" + base + ".bin -o back.ft");
  ASSERT_EQ(u.status, 0) << u.err;
  EXPECT_EQ(ReadBytes((dir_ / "back.ft").string()), ReadBytes((dir_ / "work" / (base + ".ft")).string()));
}

TEST_F(CliTest, NameAndOptionsShapeTheOutputs) {
  const Result r = Run("convert '" + kGolden + "' --name Golden.bin --calc-dn --use-rh -q");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(r.out.empty());
  const std::string orig = ReadBytes((dir_ / "Golden-orig.csv").string());
  EXPECT_EQ(orig.rfind(" , , ,DryBulbT,RelHum,Sol-GlobHor,WindSpd,WindDir,Sol-DirNorm\r\n", 0), 0u);
  // Direct normal estimated: five value columns in every row.
  const std::string row = orig.substr(orig.find("\r\n1,1,1,") + 2, 60);
  EXPECT_EQ(std::count(row.begin(), row.begin() + row.find("\r\n"), ','), 7);
  EXPECT_TRUE(fs::exists(dir_ / "Golden.bin"));
}

TEST_F(CliTest, SettingsFileSuppliesTheCleaningLimits) {
  // A dry-bulb maximum below every hour makes the whole year one streak that cannot be repaired.
  Write("k.INI", "[SetUp]\r\nDBTmax=-40\r\n");
  const Result r = Run("convert '" + kGolden + "' --settings k.INI -q");
  EXPECT_EQ(r.status, 3);
  EXPECT_NE(r.err.find("cleaning"), std::string::npos);
  EXPECT_TRUE(fs::exists(dir_ / "postclean-c.csv"));
  EXPECT_FALSE(fs::exists(dir_ / "USA_CO_Golden-NREL.724666_TMY3.bin"));
}

TEST_F(CliTest, BadInputGivesOneClearSentenceAndStatusOne) {
  Result r = Run("convert nothere.epw");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("nothere.epw does not exist"), std::string::npos);

  fs::create_directory(dir_ / "adir");
  r = Run("convert adir");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("is a directory"), std::string::npos);

  const std::string good = "1999,1,1,1,0,x,-3.0,-4.0,92,80600,0,0,257,0,0,0,0,0,0,0,0,0.0\r\n";
  Write("row.epw", "LOCATION,a,b,c,d,1,2,3,4,5\r\nDATA PERIODS,1\r\n" + good + "1999,1,1,2,0,x,abc,3\r\n");
  r = Run("convert row.epw");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("row.epw, line 4: \"abc\" is not a number"), std::string::npos) << r.err;
  EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1);

  r = Run("convert '" + kGolden + "' --settings missing.INI");
  EXPECT_EQ(r.status, 2);  // a settings file that cannot be read is a usage error
  EXPECT_NE(r.err.find("missing.INI"), std::string::npos);
}

TEST_F(CliTest, AnEmptyFileIsNoEpwFile) {
  Write("empty.epw", "");
  const Result r = Run("convert empty.epw -q");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("empty.epw is not an EPW file: it is empty."), std::string::npos) << r.err;
  EXPECT_FALSE(fs::exists(dir_ / "empty-orig.csv"));
}

TEST_F(CliTest, UsageErrorsHelpAndVersion) {
  EXPECT_EQ(Run("").status, 2);
  EXPECT_EQ(Run("convert").status, 2);
  EXPECT_EQ(Run("frobnicate").status, 2);
  EXPECT_EQ(Run("convert a.epw --no-such-option").status, 2);
  Result r = Run("--help");
  EXPECT_EQ(r.status, 0);
  EXPECT_NE(r.out.find("convert"), std::string::npos);
  EXPECT_NE(r.out.find("unpack"), std::string::npos);
  r = Run("--version");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out.rfind("kestrum-cli ", 0), 0u);
}

TEST_F(CliTest, UnpackRefusesADamagedFile) {
  ASSERT_EQ(Run("convert '" + kGolden + "' --name g -q").status, 0);
  std::string bin = ReadBytes((dir_ / "g.bin").string());
  bin[bin.size() / 2] ^= 0x01;
  Write("damaged.bin", bin);
  const Result r = Run("unpack damaged.bin");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("damaged.bin"), std::string::npos);
  EXPECT_FALSE(fs::exists(dir_ / "damaged.ft"));
}

TEST_F(CliTest, RefusesToStartWithoutItsLibraries) {
  const fs::path lonely = dir_ / "lonely";
  fs::create_directory(lonely);
  fs::copy_file(kCli, lonely / "kestrum-cli");
  const Result r = Run("convert '" + kGolden + "'", (lonely / "kestrum-cli").string());
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("libsolvane.so is missing"), std::string::npos) << r.err;

  fs::copy_file(std::string(KESTRUM_BIN_DIR) + "/libsolvane.so", lonely / "libsolvane.so");
  const Result r2 = Run("convert '" + kGolden + "'", (lonely / "kestrum-cli").string());
  EXPECT_EQ(r2.status, 1);
  EXPECT_NE(r2.err.find("libftpack.so is missing"), std::string::npos) << r2.err;
}

}  // namespace
