#include "csv/csv_headers.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kestrum {
namespace {

TEST(ReaderColumnsOfFields, AQuotedFieldMovesTheColumnsAfterIt) {
  const struct {
    const char* line;
    std::vector<int> columns;
  } cases[] = {
      {"a,b,c", {1, 2, 3}},
      {"\"01/01/1988\",01:00,5", {1, 3, 4}},
      {"\"x\" ,\"y\",z", {1, 3, 5}},  // blanks before the delimiter: still swallowed with it
      {"a,\"b\"", {1, 2}},            // a quote that closes the line moves nothing
      {"\"ab\"cd,e", {1, 2, 3}},      // text after the closing quote is a field of its own
      {"a,,b,", {1, 2, 3}},
      {"", {}},
  };
  for (const auto& c : cases) EXPECT_EQ(ReaderColumnsOfFields(c.line), c.columns) << c.line;
}

TEST(AlignHeaders, EachHeaderGetsTheColumnOfItsFieldInTheDataRows) {
  // The TMY3 form with the date quoted in every row: headers plain, fields moved.
  std::vector<CsvHeaderColumn> headers =
      AlignHeaders("Date (MM/DD/YYYY),Time (HH:MM),GHI (W/m^2),Dry-bulb (C)",
                   "\"01/01/1988\",01:00,0,5.0");
  ASSERT_EQ(headers.size(), 4u);
  EXPECT_EQ(headers[0].text, "Date (MM/DD/YYYY)");
  EXPECT_EQ(ReaderColumnHeaded(headers, "ghi (w/m^2)"), 4);
  EXPECT_EQ(ReaderColumnHeaded(headers, " Dry-bulb (C) "), 5);
  EXPECT_EQ(ReaderColumnHeaded(headers, "Time (HH:MM)"), 3);
  EXPECT_EQ(ReaderColumnHeaded(headers, "DNI (W/m^2)"), 0);

  // Quoted headers over plain rows: the headers' own quotes do not count.
  headers = AlignHeaders("\"Date\",\"Time\",\"GHI\"", "1/1/1988,01:00,0");
  EXPECT_EQ(ReaderColumnHeaded(headers, "GHI"), 3);
  EXPECT_EQ(headers[2].text, "GHI");

  // Headers beyond the first row's fields follow its last column.
  headers = AlignHeaders("A,B,C,D", "\"1\",2");
  EXPECT_EQ(ReaderColumnHeaded(headers, "B"), 3);
  EXPECT_EQ(ReaderColumnHeaded(headers, "C"), 4);
  EXPECT_EQ(ReaderColumnHeaded(headers, "D"), 5);
}

}  // namespace
}  // namespace kestrum
