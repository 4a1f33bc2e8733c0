// The FT field reader accepts exactly the texts the field writer produces, and the width
// check agrees with what the writer writes.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "ftpack/ft_text.h"

namespace kestrum::ftpack {
namespace {

// Every text of f's length over the characters a field may hold (and a few it may not):
// ParseField takes a text exactly when AppendField writes that text for the value read.
void CheckEveryText(FieldFormat f) {
  static constexpr char kAlphabet[] = {' ', '-', '0', '1', '9', '.', '+'};
  const size_t length = static_cast<size_t>(f.width) + (f.point ? 1 : 0);
  std::string text(length, ' ');
  std::vector<size_t> digit(length, 0);
  int accepted = 0;
  for (;;) {
    for (size_t i = 0; i < length; ++i) text[i] = kAlphabet[digit[i]];
    int32_t v = 0;
    if (ParseField(text, f, v)) {
      ++accepted;
      std::string written;
      EXPECT_TRUE(AppendField(written, v, f));
      EXPECT_EQ(written, text) << "value " << v;
    }
    size_t i = 0;
    while (i < length && ++digit[i] == sizeof kAlphabet) digit[i++] = 0;
    if (i == length) break;
  }
  EXPECT_GT(accepted, 0);
}

TEST(FtFieldForm, OnlyTheWritersTextsAreRead) {
  CheckEveryText(FieldFormat{6, 1, false});  // pressure, enthalpy
  CheckEveryText(FieldFormat{4, 0, true});   // temperatures, wind speed: "  37."
  CheckEveryText(FieldFormat{6, 3, false});  // density
  CheckEveryText(FieldFormat{3, 0, false});  // codes
}

TEST(FtFieldForm, EveryWrittenValueReadsBackAndTheWidthCheckAgrees) {
  for (const FieldFormat f : kHourFieldFormats) {
    for (int32_t v : {0, 1, -1, 5, -5, 9, 10, -10, 99, 100, 999, -999, 1000, 9999, 10000,
                      -99999, 123456, 1234567, -1234567, 99999999, INT32_MAX, INT32_MIN + 1}) {
      std::string written;
      const bool fits = AppendField(written, v, f);
      EXPECT_EQ(FitsField(v, f), fits) << v << " in width " << f.width;
      if (!fits) continue;
      int32_t back = 0;
      ASSERT_TRUE(ParseField(written, f, back)) << '"' << written << '"';
      EXPECT_EQ(back, v);
    }
  }
}

}  // namespace
}  // namespace kestrum::ftpack
