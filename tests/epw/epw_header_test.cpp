#include "epw/epw_header.h"

#include <gtest/gtest.h>

#include "run/run_error.h"
#include "support/test_support.h"

namespace kestrum {
namespace {

using testing::TempDir;

EpwHeader ReadHeaderText(const std::string& text, EpwHeader start = {}) {
  TempDir dir;
  ReadEPWHeader(dir.Write("h.epw", text), start);
  return start;
}

TEST(ReadEPWHeader, TakesTheSiteFromLocationUnchanged) {
  const EpwHeader h = ReadHeaderText(
      "LOCATION,San Francisco Intl Ap,CA,USA,TMY3,724940,37.62,-122.40,-8.0,2.0\r\n"
      "COMMENTS 1,Custom/User Format -- WMO#724940; NREL TMY Data Set (2008)\r\n");
  EXPECT_EQ(h.site.description, "San Francisco Intl Ap,CA,USA");
  EXPECT_EQ(h.site.latitude, "37.62");
  EXPECT_EQ(h.site.longitude, "-122.40");
  EXPECT_EQ(h.site.timeZone, "-8.0");
  EXPECT_EQ(h.site.elevation, "2.0");
  EXPECT_EQ(h.comment, "Custom/User Format -- WMO#724940; NREL TMY Data Set (2008)");
  EXPECT_EQ(h.locationLine, 1u);
}

TEST(ReadEPWHeader, AByteOrderMarkBeforeLocationIsNoPartOfIt) {
  const EpwHeader h = ReadHeaderText("\xEF\xBB\xBFLOCATION,A,B,C,s,1,39.74,-105.18,-7.0,1829.0\r\n");
  EXPECT_EQ(h.site.description, "A,B,C");
  EXPECT_EQ(h.site.latitude, "39.74");
}

TEST(ReadEPWHeader, ShortLocationLineGivesEmptyTexts) {
  const EpwHeader h = ReadHeaderText("LOCATION,Town,ST,USA,src,1,40.5\n");
  EXPECT_EQ(h.site.description, "Town,ST,USA");
  EXPECT_EQ(h.site.latitude, "40.5");
  EXPECT_EQ(h.site.longitude, "");
  EXPECT_EQ(h.site.timeZone, "");
  EXPECT_EQ(h.site.elevation, "");
}

TEST(ReadEPWHeader, LastLocationBeforeTheCommentWins) {
  const EpwHeader h = ReadHeaderText(
      "LOCATION,A,B,C,s,1,1,2,3,4\r\n"
      "location,D,E,F,s,1,5,6,7,8\r\n"          // keywords match in any case
      "LOCATION ,G,H,I,s,1,9,9,9,9\r\n"         // a blank before the comma does not
      "COMMENTS 1,done\r\n"
      "LOCATION,X,Y,Z,s,1,0,0,0,0\r\n");        // after COMMENTS 1: not read
  EXPECT_EQ(h.site.description, "D,E,F");
  EXPECT_EQ(h.site.latitude, "5");
  EXPECT_EQ(h.site.elevation, "8");
  EXPECT_EQ(h.comment, "done");
}

TEST(ReadEPWHeader, QuotedTextsKeepTheirCommasAndDoNotShiftTheFields) {
  const EpwHeader h = ReadHeaderText(
      "LOCATION,\"Denver, Stapleton\",CO,USA,TMY3,724690,39.77,-104.87,-7.0,1611.0\r\n"
      "COMMENTS 1,\"Source: a, b\",more\r\n");
  EXPECT_EQ(h.site.description, "DENVER, STAPLETON,CO,USA");
  EXPECT_EQ(h.site.latitude, "39.77");
  EXPECT_EQ(h.site.elevation, "1611.0");
  EXPECT_EQ(h.comment, "SOURCE: A, B");
  EXPECT_EQ(ReadHeaderText("COMMENTS 1,Source: a, b\r\n").comment, "Source: a");
}

TEST(ReadEPWHeader, TextsWhoseLineIsMissingKeepTheirValues) {
  EpwHeader before;
  before.site = {"Old,Place,X", "1", "2", "3", "4"};
  before.comment = "old comment";
  EXPECT_EQ(ReadHeaderText("", before).site.description, "Old,Place,X");
  const EpwHeader h = ReadHeaderText("DATA PERIODS,1\r\n1999,1,1,1\r\n", before);
  EXPECT_EQ(h.site.latitude, "1");
  EXPECT_EQ(h.comment, "old comment");
  EXPECT_EQ(ReadHeaderText("COMMENTS 1,new\r\n", before).site.elevation, "4");
}

TEST(ReadEPWHeader, OverlongSiteTextsAreCutTo255Characters) {
  const EpwHeader h = ReadHeaderText("LOCATION,a,b,c,s,1," + std::string(1000000, '7') + ",2,3,4\n");
  EXPECT_EQ(h.site.latitude, std::string(255, '7'));
  EXPECT_EQ(h.site.longitude, "2");
}

TEST(ReadEPWHeader, UnreadablePathIsAnInputError) {
  TempDir dir;
  EpwHeader h;
  EXPECT_THROW(ReadEPWHeader(dir.File("missing.epw"), h), InputError);
  EXPECT_THROW(ReadEPWHeader(dir.str(), h), InputError);
  // A binary file is read without harm: nothing in it matches.
  std::string binary;
  for (int i = 0; i < 4096; ++i) binary.push_back(static_cast<char>((i * 37) & 0xFF));
  h.site.latitude = "keep";
  ReadEPWHeader(dir.Write("b.epw", binary), h);
  EXPECT_EQ(h.site.latitude, "keep");
}

struct RealFile {
  const char* path;
  SiteInfo site;
};

TEST(ReadEPWHeader, RealWeatherFiles) {
  const RealFile files[] = {
      {KESTRUM_SAMPLE_DATA "/USA_CO_Golden-NREL.724666_TMY3.epw",
       {"Denver Centennial  Golden   Nr,CO,USA", "39.74", "-105.18", "-7.0", "1829.0"}},
      {KESTRUM_TEST_DATA "/USA_CA_San.Francisco.Intl.AP.724940_TMY3.epw",
       {"San Francisco Intl Ap,CA,USA", "37.62", "-122.40", "-8.0", "2.0"}},
      {KESTRUM_TEST_DATA "/USA_IL_Chicago-OHare.Intl.AP.725300_TMY3.epw",
       {"Chicago Ohare Intl Ap,IL,USA", "41.98", "-87.92", "-6.0", "201.0"}},
  };
  for (const RealFile& f : files) {
    EpwHeader h;
    ReadEPWHeader(f.path, h);
    EXPECT_EQ(h.site.description, f.site.description);
    EXPECT_EQ(h.site.latitude, f.site.latitude);
    EXPECT_EQ(h.site.longitude, f.site.longitude);
    EXPECT_EQ(h.site.timeZone, f.site.timeZone);
    EXPECT_EQ(h.site.elevation, f.site.elevation);
    EXPECT_EQ(h.comment.rfind("Custom/User Format -- WMO#", 0), 0u) << h.comment;
  }
}

}  // namespace
}  // namespace kestrum
