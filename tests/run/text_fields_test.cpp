#include "run/text_fields.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/test_support.h"

namespace kestrum {
namespace {

std::vector<std::string> Fields(std::string_view line, int count,
                                AfterQuote afterQuote = AfterQuote::Keep) {
  std::vector<std::string> out;
  size_t pos = 1;
  for (int i = 0; i < count; ++i) out.push_back(NextField(line, pos, afterQuote));
  return out;
}

using Strings = std::vector<std::string>;

TEST(NextField, SplitsAtCommasAndYieldsEmptyFieldsPastTheEnd) {
  EXPECT_EQ(Fields("abc,12,,x", 6), (Strings{"abc", "12", "", "x", "", ""}));
  EXPECT_EQ(Fields("a,b", 3), (Strings{"a", "b", ""}));
  EXPECT_EQ(Fields("a\tb\fc\rd", 4), (Strings{"a", "b", "c", "d"}));
}

TEST(NextField, KeepsInnerAndTrailingBlanksButSkipsLeadingOnes) {
  EXPECT_EQ(Fields(" 1/ 1,12/31", 2), (Strings{"1/ 1", "12/31"}));
  EXPECT_EQ(Fields("12 ,5", 2), (Strings{"12 ", "5"}));
}

TEST(NextField, QuotedFieldIsUpperCasedAndLeavesItsDelimiterByDefault) {
  EXPECT_EQ(Fields("\"New York\",12", 3), (Strings{"NEW YORK", "", "12"}));
  EXPECT_EQ(Fields("\"a,b\",c", 3), (Strings{"A,B", "", "c"}));
}

TEST(NextField, QuotedFieldSwallowsItsDelimiterWhenAskedTo) {
  EXPECT_EQ(Fields("\"New York\",12", 2, AfterQuote::Consume), (Strings{"NEW YORK", "12"}));
  EXPECT_EQ(Fields("\"a,b\" ,c,d", 3, AfterQuote::Consume), (Strings{"A,B", "c", "d"}));
}

TEST(NextField, UnclosedQuoteRunsToTheEndOfTheLine) {
  size_t pos = 1;
  EXPECT_EQ(NextField("\"abc,def", pos), "ABC,DEF");
  EXPECT_EQ(pos, 10u);  // two past the end
  EXPECT_EQ(NextField("\"abc,def", pos), "");
}

TEST(NextField, PositionZeroCountsAsOneAndPositionPastTheEndStays) {
  size_t pos = 0;
  EXPECT_EQ(NextField("x,y", pos), "x");
  EXPECT_EQ(pos, 3u);
  pos = 9;
  EXPECT_EQ(NextField("x,y", pos), "");
  EXPECT_EQ(pos, 9u);
}

TEST(TextToInt, EmptyTextGivesTheFallbackSilently) {
  testing::RecordingUi ui;
  EXPECT_EQ(TextToInt("", kTextToIntInteger, -888, ui), -888);
  EXPECT_EQ(TextToInt("", kTextToIntRounding, -99, ui), -99);
  EXPECT_TRUE(ui.notices.empty());
}

TEST(TextToInt, RoundingModeRoundsHalvesToEven) {
  testing::RecordingUi ui;
  EXPECT_EQ(TextToInt("12.5", kTextToIntRounding, 0, ui), 12);
  EXPECT_EQ(TextToInt("13.5", kTextToIntRounding, 0, ui), 14);
  EXPECT_EQ(TextToInt("-49.5", kTextToIntRounding, 0, ui), -50);
  EXPECT_EQ(TextToInt("150", kTextToIntRounding, 0, ui), 150);
  EXPECT_TRUE(ui.notices.empty());
}

TEST(TextToInt, TextThatDoesNotConvertShowsOneNoticeAndGivesTheFallback) {
  testing::RecordingUi ui;
  EXPECT_EQ(TextToInt("abc", kTextToIntInteger, 7, ui), 7);
  EXPECT_EQ(TextToInt("-999.0", kTextToIntInteger, -888, ui), -888);
  EXPECT_EQ(TextToInt("abc", kTextToIntRounding, 199, ui), 199);
  EXPECT_EQ(TextToInt("1e99", kTextToIntRounding, 5, ui), 5);  // beyond 32 bits
  EXPECT_EQ(ui.notices, (Strings{"Conversion to Int failed (abc)",
                                 "Conversion to Int failed (-999.0)",
                                 "Rounding conversion to Int failed (abc)",
                                 "Rounding conversion to Int failed (1e99)"}));
  EXPECT_EQ(TextToInt("-999", kTextToIntInteger, 0, ui), -999);
}

TEST(ParseReal, TakesPeriodDecimalsAndRefusesEverythingElse) {
  double v = 0;
  EXPECT_TRUE(ParseReal(" -12.5 ", v));
  EXPECT_EQ(v, -12.5);
  EXPECT_TRUE(ParseReal("+3", v));
  EXPECT_EQ(v, 3.0);
  for (const char* bad : {"", " ", "abc", "1,5", "nan", "inf", "1e999", "12x", "--1"}) {
    EXPECT_FALSE(ParseReal(bad, v)) << bad;
  }
}

}  // namespace
}  // namespace kestrum
