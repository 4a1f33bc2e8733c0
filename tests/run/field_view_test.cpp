// The copying and the non-copying field scanners split every line alike.
#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "run/text_fields.h"

namespace kestrum {
namespace {

TEST(NextFieldView, SplitsLikeNextFieldAndPositionsAgree) {
  const char* const lines[] = {
      "",
      "abc,12,,x",
      " 1/ 1,12/31\t  7 ,\f\r",
      "\"New York\",12",
      "\"a,b\" ,c,d",
      "\"unclosed,quote",
      "x,\"\",y",
      "1986,1,1,1,0,?9?9?9?9E0?9,-12.2,-16.1,73,99500",
      "\"mixed Case\"  \t,\"second\"x,tail",
  };
  for (const char* line : lines) {
    for (AfterQuote afterQuote : {AfterQuote::Keep, AfterQuote::Consume}) {
      for (size_t start : {0u, 1u, 3u, 60u}) {
        size_t posCopy = start;
        size_t posView = start;
        std::string copied;
        std::string quoted;
        for (int i = 0; i < 12; ++i) {
          NextField(line, posCopy, copied, afterQuote);
          const std::string_view view = NextFieldView(line, posView, quoted, afterQuote);
          ASSERT_EQ(view, copied) << '"' << line << "\" field " << i + 1;
          ASSERT_EQ(posView, posCopy) << '"' << line << "\" field " << i + 1;
        }
      }
    }
  }
}

TEST(NextFieldView, PlainFieldsAreViewsOfTheLineAndQuotedOnesLiveInTheBuffer) {
  const std::string line = "ab,\"cd\",ef";
  size_t pos = 1;
  std::string quoted = "old text";
  const std::string_view first = NextFieldView(line, pos, quoted, AfterQuote::Consume);
  EXPECT_EQ(first.data(), line.data());
  EXPECT_EQ(quoted, "old text");  // untouched by a plain field
  EXPECT_EQ(NextFieldView(line, pos, quoted, AfterQuote::Consume), "CD");
  EXPECT_EQ(quoted, "CD");
  EXPECT_EQ(NextFieldView(line, pos, quoted, AfterQuote::Consume), "ef");
}

// Long fields are searched several bytes at a time: every delimiter ends a field wherever
// it stands, and bytes next to the delimiters in value (other control characters, bytes
// with the high bit set) do not.
TEST(NextFieldView, LongFieldsEndAtTheirFirstDelimiterWhereverItIs) {
  const std::string filler = std::string("ab\0\n\v\x0e\x1f\x01\x08", 9) + "\x8c\xac\xff+-x";
  for (char delimiter : {',', '\t', '\f', '\r'}) {
    for (size_t length = 1; length < 40; ++length) {
      std::string field;
      for (size_t i = 0; i < length; ++i) field += filler[(i * 7 + length) % filler.size()];
      const std::string line = field + delimiter + "next";
      size_t pos = 1;
      std::string quoted;
      ASSERT_EQ(NextFieldView(line, pos, quoted), field) << "length " << length;
      EXPECT_EQ(pos, length + 2) << "length " << length;
      EXPECT_EQ(NextFieldView(line, pos, quoted), "next");
      pos = 1;
      EXPECT_EQ(NextFieldView(field, pos, quoted), field) << "length " << length << ", no delimiter";
      EXPECT_EQ(pos, length + 2);
    }
  }
}

}  // namespace
}  // namespace kestrum
