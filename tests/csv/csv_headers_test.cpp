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

TEST(HeaderKey, CaseBlanksUnitSpellingsAndADoubledParenthesisAside) {
  const struct {
    const char* a;
    const char* b;
    bool same;
  } cases[] = {
      {"DNI (W/m^2))", "dni(w/m2)", true},
      {"DNI (W/m^2)", "DNI (W/m\xC2\xB2)", true},  // UTF-8 superscript two
      {"DNI (W/m^2)", "DNI (W/m\xB2)", true},       // Windows-1252 superscript two
      {"Dry-bulb (\xC2\xB0" "C)", "dry-bulb (C)", true},
      {"Dry-bulb (\xB0" "C)", "Dry-bulb(C)", true},
      {" Wind  Speed ", "windspeed", true},
      {"Dry-bulb (C)", "Dry bulb (C)", false},
      {"GHI", "GHI (W/m^2)", false},
      {"G(h)", "Gd(h)", false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(HeaderKey(c.a) == HeaderKey(c.b), c.same) << c.a << " / " << c.b;
  }
  EXPECT_EQ(HeaderKey("DNI (W/m^2))"), "DNI(W/M2)");
}

TEST(HeadersNamed, AWholeHeaderFirstThenAHeaderLessItsUnit) {
  const std::vector<CsvHeaderColumn> headers = {
      {"GHI (W/m^2)", 5}, {"GHI source", 6}, {"GHI uncert (%)", 7}, {"Dry-bulb (C)", 32},
      {"G(h)", 40},       {"GHI", 41},       {"Wspd (m/s)", 47},     {"WSPD (MPH)", 48}};
  const auto columns = [&](const char* name) {
    std::vector<int> out;
    for (const CsvHeaderColumn* h : HeadersNamed(headers, name)) out.push_back(h->readerColumn);
    return out;
  };
  EXPECT_EQ(columns("ghi"), std::vector<int>{41});  // the whole header wins
  EXPECT_EQ(columns("Dry-bulb"), std::vector<int>{32});
  EXPECT_EQ(columns("dry-bulb (c)"), std::vector<int>{32});
  EXPECT_EQ(columns("G(h)"), std::vector<int>{40});
  EXPECT_EQ(columns("Wspd"), (std::vector<int>{47, 48}));  // two units: ambiguous
  EXPECT_TRUE(columns("DNI").empty());
  EXPECT_TRUE(columns("").empty());
  EXPECT_EQ(SplitHeaderUnit("Date (MM/DD/YYYY)").unit, "MM/DD/YYYY");
  EXPECT_EQ(SplitHeaderUnit("(C)").name, "");
}

}  // namespace
}  // namespace kestrum
