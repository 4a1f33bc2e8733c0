// Reading the review files: the moisture quantity of a run, one column of values, and
// the runs listed from a directory.
#include "review/review_files.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "format/original_data_file.h"
#include "run/run_error.h"
#include "support/test_support.h"

namespace kestrum {
namespace {

using testing::TempDir;

std::string OriginalWithFifthField(const TempDir& dir, const std::string& field) {
  return dir.Write("run-orig.csv", " , , ,DryBulbT," + field + ",Sol-GlobHor\r\nMonth,Day\r\n");
}

TEST(ReadMoistureOffset, NamesInAnyCaseAndTheirShortForms) {
  TempDir dir;
  struct Case {
    const char* field;
    int offset;
    bool recognised;
  };
  for (const Case& c : {Case{"WetBulbT", 0, true}, Case{"wbt", 0, true}, Case{"DewPtT", 1, true},
                        Case{"DPT", 1, true}, Case{"RelHum", 2, true}, Case{"rh", 2, true},
                        Case{"Humidity", 0, false}, Case{"", 0, false}}) {
    const MoistureOffset m = ReadMoistureOffset(OriginalWithFifthField(dir, c.field));
    EXPECT_EQ(m.offset, c.offset) << c.field;
    EXPECT_EQ(m.recognised, c.recognised) << c.field;
  }
}

TEST(ReadMoistureOffset, FollowsTheHeadersTheReadersWrite) {
  TempDir dir;
  struct Case {
    OriginalDataSource source;
    int indicator;
    int offset;
  };
  for (const Case& c : {Case{OriginalDataSource::Epw, 1, 1}, Case{OriginalDataSource::Epw, 2, 2},
                        Case{OriginalDataSource::Csv, 0, 1}, Case{OriginalDataSource::Csv, 1, 0},
                        Case{OriginalDataSource::Csv, 2, 2}}) {
    const std::vector<std::string> header = OriginalDataHeader(c.source, c.indicator);
    const std::string path = dir.Write("h-orig.csv", header[0] + "\r\n" + header[1] + "\r\n");
    EXPECT_EQ(ReadMoistureOffset(path).offset, c.offset) << header[0];
  }
}

TEST(ReadMoistureOffset, MissingFileIsAnInputError) {
  TempDir dir;
  EXPECT_THROW(ReadMoistureOffset(dir.File("none-orig.csv")), InputError);
  EXPECT_EQ(MoistureIndicatorMessage("/x/a-orig.csv"),
            "Error finding moisture indicator for CSV results file: /x/a-orig.csv");
}

TEST(ReadReviewColumn, SkipsTheHeadersAndEmptyLines) {
  TempDir dir;
  const std::string path = dir.Write(
      "a-final.csv", "h1,2,3\r\nh2,x,y\r\n 1, 1, 1,   40.10,   36.57\r\n\r\n 1, 1, 2,  -12.50,  7\r\n");
  std::vector<double> values;
  ReadReviewColumn(path, 4, values);
  EXPECT_EQ(values, (std::vector<double>{40.10, -12.50}));
  values.clear();
  ReadReviewColumn(path, 5, values);
  EXPECT_EQ(values, (std::vector<double>{36.57, 7.0}));
}

TEST(ReadReviewColumn, StopsAtATextThatIsNoNumberKeepingWhatWasRead) {
  TempDir dir;
  const std::string path = dir.Write("a.csv", "h1\r\nh2\r\n1,2,3,4.5\r\n1,2,3,abc\r\n1,2,3,6\r\n");
  std::vector<double> values;
  try {
    ReadReviewColumn(path, 4, values);
    FAIL() << "no error";
  } catch (const RunError& e) {
    EXPECT_NE(std::string(e.what()).find("line 4"), std::string::npos) << e.what();
    EXPECT_NE(std::string(e.what()).find("\"abc\""), std::string::npos) << e.what();
  }
  EXPECT_EQ(values, (std::vector<double>{4.5}));
  // A row without that column says so.
  values.clear();
  try {
    ReadReviewColumn(path, 9, values);
    FAIL() << "no error";
  } catch (const RunError& e) {
    EXPECT_NE(std::string(e.what()).find("line 3 has no column 9"), std::string::npos) << e.what();
  }
  EXPECT_THROW(ReadReviewColumn(dir.File("missing.csv"), 4, values), InputError);
}

TEST(ListReviewRuns, TakesTheNameBeforeTheFirstOrigSuffixOfOrdinaryCsvFiles) {
  TempDir dir;
  for (const char* name : {"Golden-orig.csv", "Golden-final.csv", "postclean-b.csv",
                           "twice-orig.csv-orig.csv", ".hidden-orig.csv", "Upper-ORIG.csv",
                           "text-orig.csv.txt", "caps-orig.csv.CSV"}) {
    dir.Write(name, "x");
  }
  std::filesystem::create_directory(dir.File("folder-orig.csv"));
  EXPECT_EQ(ListReviewRuns(dir.str()), (std::vector<std::string>{"Golden", "caps", "twice"}));
}

TEST(ListReviewRuns, NoneWithoutOriginalFilesOrDirectory) {
  TempDir dir;
  dir.Write("Golden-final.csv", "x");
  EXPECT_TRUE(ListReviewRuns(dir.str()).empty());
  EXPECT_TRUE(ListReviewRuns(dir.File("no-such-dir")).empty());
  EXPECT_EQ(OriginalDataPath("/i", "G"), "/i/G-orig.csv");
  EXPECT_EQ(FinalDataPath("/i", "G"), "/i/G-final.csv");
}

}  // namespace
}  // namespace kestrum
