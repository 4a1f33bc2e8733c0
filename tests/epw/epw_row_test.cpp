// One EPW data row: the spellings a field may take, and what is said of the ones that do
// not convert.
#include "epw/epw_row.h"

#include <gtest/gtest.h>

#include <string>

namespace kestrum {
namespace {

// A row whose fields are all "0" but for field `n` (1-based), which holds text.
std::string RowWith(int n, const std::string& text) {
  std::string row;
  for (int f = 1; f <= kEpwRowFields; ++f) {
    if (f > 1) row += ',';
    row += f == n ? text : f <= 4 ? "1" : "0";
  }
  return row;
}

// Every way of writing 12.5 that the number reader takes gives the same value, whichever
// field holds it and wherever the field ends.
TEST(EpwRow, EverySpellingOfAValueReadsAlike) {
  const char* const spellings[] = {"12.5",    "12.50",   " 12.5",  "12.5 ", "+12.5",
                                   "\t12.5",  "1.25e1",  "125E-1", "\"12.5\"", "\"12.5\" ",
                                   "0012.5",  "12.500000000000000000001"};
  const struct {
    int field;
    float EpwRow::*value;
  } fields[] = {{7, &EpwRow::dryBulbC},           {8, &EpwRow::moisture},
                {14, &EpwRow::globalHorizontal}, {15, &EpwRow::directNormal},
                {21, &EpwRow::windDirection},    {22, &EpwRow::windSpeed}};
  for (const auto& f : fields) {
    for (const char* text : spellings) {
      // Followed by more fields, or, for the last field taken, ending the line.
      for (bool last : {false, true}) {
        if (last && f.field != 22) continue;
        std::string line = RowWith(f.field, text);
        if (last) line.erase(line.rfind(text) + std::string(text).size());
        EpwRow row;
        EpwRowProblem problem;
        ASSERT_TRUE(ParseEpwRow(line, {}, row, problem)) << line << ": " << problem.reason;
        EXPECT_EQ(row.*f.value, 12.5f) << "field " << f.field << " \"" << text << '"';
      }
    }
  }
}

TEST(EpwRow, EverySpellingOfAWholeNumberReadsAlike) {
  for (const char* text : {"7", "07", "+7", " 7", "7 ", "\"7\"", "0000000000000000000007"}) {
    for (int field : {2, 3, 4}) {
      EpwRow row;
      EpwRowProblem problem;
      ASSERT_TRUE(ParseEpwRow(RowWith(field, text), {}, row, problem))
          << '"' << text << "\": " << problem.reason;
      EXPECT_EQ(field == 2 ? row.month : field == 3 ? row.day : row.hour, 7) << '"' << text << '"';
    }
  }
}

// A text that starts like a plain number but is not one is refused with its whole text.
TEST(EpwRow, TextsThatOnlyStartLikeANumberAreNamedInFull) {
  const struct {
    int field;
    const char* text;
    const char* what;
    const char* reason;
  } cases[] = {
      {7, "12.5x", "dry bulb", "is not a number"},
      {7, "12.5.1", "dry bulb", "is not a number"},
      {7, "-", "dry bulb", "is not a number"},
      {7, "1 2", "dry bulb", "is not a number"},
      {7, "1e39", "dry bulb", "is out of range"},
      {22, "-.", "wind speed", "is not a number"},
      {22, "\"5 m/s\"", "wind speed", "is not a number"},
      {4, "7.0", "hour", "is not a whole number"},
      {4, "7h", "hour", "is not a whole number"},
      {2, "-", "month", "is not a whole number"},
      {3, "99999999999999999999", "day", "is not a whole number"},
  };
  for (const auto& c : cases) {
    EpwRow row;
    EpwRowProblem problem;
    EXPECT_FALSE(ParseEpwRow(RowWith(c.field, c.text), {}, row, problem)) << c.text;
    const std::string shown = c.text[0] == '"' ? std::string(c.text + 1, c.text + 6) : c.text;
    EXPECT_EQ(problem.text, c.text[0] == '"' ? "5 M/S" : shown) << c.text;
    EXPECT_EQ(problem.what, c.what) << c.text;
    EXPECT_EQ(problem.reason, c.reason) << c.text;
  }
}

}  // namespace
}  // namespace kestrum
