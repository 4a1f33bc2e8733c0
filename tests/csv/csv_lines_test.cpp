#include "csv/csv_lines.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "run/text_fields.h"
#include "support/test_support.h"

namespace kestrum {
namespace {

using Strings = std::vector<std::string>;

Strings LinesOf(const std::string& bytes) {
  testing::TempDir dir;
  CsvLineReader lines(dir.Write("f.csv", bytes));
  Strings out;
  std::string line;
  while (lines.Next(line)) {
    out.push_back(line);
    EXPECT_EQ(lines.lineNumber(), out.size());
  }
  return out;
}

TEST(CsvLineReader, EndsLinesAtLfCrLfOrALoneCrAndSkipsAByteOrderMark) {
  const struct {
    const char* name;
    std::string bytes;
    Strings lines;
  } cases[] = {
      {"LF", "a,1\nb,2\n", {"a,1", "b,2"}},
      {"CR LF", "a,1\r\nb,2\r\n", {"a,1", "b,2"}},
      {"CR", "a,1\rb,2\r", {"a,1", "b,2"}},
      {"mixed", "a\rb\r\nc\nd", {"a", "b", "c", "d"}},
      {"empty lines", "a\r\r\n\n\rb", {"a", "", "", "", "b"}},
      {"byte-order mark", "\xEF\xBB\xBFx\n\xEF\xBB\xBFy\n", {"x", "\xEF\xBB\xBFy"}},
      {"empty file", "", {}},
  };
  for (const auto& c : cases) EXPECT_EQ(LinesOf(c.bytes), c.lines) << c.name;
}

// The reader skips the fields it does not keep; the columns must stay those of the preview.
TEST(SkipFields, LeavesThePositionThatAsManyFieldScansLeave) {
  std::mt19937 random(11);
  const char alphabet[] = {'a', '1', ' ', '\t', ',', '"', '\r', '\f', 'x'};
  for (int round = 0; round < 3000; ++round) {
    std::string line(random() % 24, ' ');
    for (char& c : line) c = alphabet[random() % sizeof alphabet];
    for (AfterQuote mode : {AfterQuote::Keep, AfterQuote::Consume}) {
      size_t scanned = random() % 3;  // 0, 1 or 2: where callers start
      const size_t start = scanned;
      std::string quoted;
      for (size_t count = 0; count < 12; ++count) {
        ASSERT_EQ(SkipFields(line, start, count, mode), count == 0 ? std::max<size_t>(start, 1) : scanned)
            << '"' << line << "\" count " << count;
        NextFieldView(line, scanned, quoted, mode);
      }
    }
  }
  EXPECT_EQ(CsvSplitFields("\"a,b\",c", 3), (Strings{"A,B", "", "c"}));
}

TEST(CsvFieldCount, CountsTheReadersColumnsAQuotedFieldOneMore) {
  const struct {
    const char* line;
    size_t fields;
  } cases[] = {
      {"", 0},          {" ", 1},          {"a", 1},           {"abc,12,,x", 4},
      {"a,b,", 3},      {",", 2},          {"a,b, ", 3},       {"\"a,b\",c", 3},
      {"\"a\",", 3},    {"a,\"b\"", 2},    {"\"a", 1},          {"a\tb\tc", 3},
      {"a,\tb", 2},     {"a\f,b", 3},       {"\"01/01/1988\",01:00,5", 4},
  };
  for (const auto& c : cases) EXPECT_EQ(CsvFieldCount(c.line), c.fields) << '"' << c.line << '"';

  // The count is what NextField gives, one call per field, on any line.
  const auto byNextField = [](const std::string& line) {
    size_t count = 0;
    size_t pos = 1;
    std::string field;
    while (pos <= line.size()) {
      NextField(line, pos, field);
      ++count;
    }
    const bool tail = pos == line.size() + 1 && !line.empty() &&
                      std::string_view(",\t\f\r").find(line.back()) != std::string_view::npos;
    return count + (tail ? 1 : 0);
  };
  std::mt19937 random(14);
  const std::string alphabet = "a1 ,,,\"\t";
  for (int i = 0; i < 20000; ++i) {
    std::string line(random() % 30, ' ');
    for (char& ch : line) ch = alphabet[random() % alphabet.size()];
    ASSERT_EQ(CsvFieldCount(line), byNextField(line)) << '"' << line << '"';
  }
}

}  // namespace
}  // namespace kestrum
