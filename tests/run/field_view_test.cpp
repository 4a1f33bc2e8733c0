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

}  // namespace
}  // namespace kestrum
