// Splitting lines into fields and turning texts into numbers.
#pragma once

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace kestrum {

class RunUi;

// What NextField does with the delimiter that follows a closing double quote.
enum class AfterQuote {
  Keep,     // left for the next call, which yields an empty field (column numbering relies on it)
  Consume,  // skipped, so the field after the quoted one comes next (the EPW readers)
};

// Scans the next field of line. pos is 1-based, read and advanced; 0 counts as 1.
// Comma, tab, form feed and carriage return end a field; leading blanks and tabs are
// skipped; a field in double quotes may hold delimiters and is returned in upper case;
// past the end of the line the field is empty.
void NextField(std::string_view line, size_t& pos, std::string& field,
               AfterQuote afterQuote = AfterQuote::Keep);

// The same scan without copying: the field is a piece of line, or, for a field in double
// quotes, the upper-case text put into `quoted` (whose earlier contents are lost). The
// view lives as long as line and quoted stay unchanged.
inline std::string_view NextFieldView(std::string_view line, size_t& pos, std::string& quoted,
                                      AfterQuote afterQuote = AfterQuote::Keep);

// The position after `count` more fields: what `count` calls of NextFieldView would leave
// in pos, without collecting the fields.
size_t SkipFields(std::string_view line, size_t pos, size_t count,
                  AfterQuote afterQuote = AfterQuote::Keep);

// Convenience: the next field as a return value.
std::string NextField(std::string_view line, size_t& pos, AfterQuote afterQuote = AfterQuote::Keep);

// A real number with "." as decimal separator, blanks around it allowed. False when the
// text is empty, not a number, or not finite.
inline bool ParseReal(std::string_view text, double& value);

// A whole decimal number (optional sign, digits), blanks around it allowed. "-999.0" is none.
inline bool ParseWholeNumber(std::string_view text, int64_t& value);

inline constexpr uint8_t kTextToIntInteger = 1;
inline constexpr uint8_t kTextToIntRounding = 2;

// Empty text: fallback, silently. Mode 2: the text read as a real, rounded half to even.
// Other modes: the text must be a whole number. A text that does not convert makes a
// notice "Rounding conversion to Int failed (<text>)" or "Conversion to Int failed (<text>)"
// through ui and gives the fallback.
int32_t TextToInt(std::string_view text, uint8_t mode, int32_t fallback, RunUi& ui);

// ASCII upper case.
std::string ToUpperAscii(std::string_view text);

// The common cases of the scanner and the number readers are defined here so that the
// readers of whole files, which call them for every field, get them inline.
namespace text_fields_detail {

// Comma, tab, form feed and carriage return, looked up by the character's byte.
inline constexpr auto kDelimiters = [] {
  std::array<bool, 256> table{};
  for (unsigned char c : {',', '\t', '\f', '\r'}) table[c] = true;
  return table;
}();

inline bool IsDelimiter(char c) { return kDelimiters[static_cast<unsigned char>(c)]; }

// The first delimiter in [p, end), or end. Most fields are short, so the first bytes are
// looked at one by one. Past them, on a little-endian machine, eight bytes at a time: a
// byte that is a comma or below 14 (tab, form feed and carriage return are 9, 12 and 13)
// marks its word, the first marked byte is found exactly, and only that one is looked up.
inline const char* FindDelimiter(const char* p, const char* const end) {
  for (int k = 0; k < 8; ++k, ++p) {
    if (p == end || IsDelimiter(*p)) return p;
  }
  if constexpr (std::endian::native == std::endian::little) {
    constexpr uint64_t kOnes = 0x0101010101010101u;
    constexpr uint64_t kHighBits = 0x8080808080808080u;
    while (end - p >= 8) {
      uint64_t word;
      std::memcpy(&word, p, sizeof word);
      const uint64_t commas = word ^ (kOnes * ',');
      // Below the first byte that meets a test no borrow arises, so the lowest flag of
      // each test is exact.
      const uint64_t marked =
          (((commas - kOnes) & ~commas) | ((word - kOnes * 14) & ~word)) & kHighBits;
      if (marked == 0) {
        p += 8;
        continue;
      }
      const char* const at = p + std::countr_zero(marked) / 8;
      if (IsDelimiter(*at)) return at;
      p = at + 1;  // another control character
    }
  }
  while (p != end && !IsDelimiter(*p)) ++p;
  return p;
}

// NextFieldView for a field that opens with a double quote at the 1-based quoteAt.
std::string_view NextQuotedField(std::string_view line, size_t quoteAt, size_t& position,
                                 std::string& quoted, AfterQuote afterQuote);

// The plain decimals weather files are made of ("-12.2", "99500", "0.0310"): an optional
// minus sign, digits, and optionally a point followed by digits, 15 digits at most. The
// digits read as an integer are then exact, and so is the power of ten of the decimals,
// so their quotient, a single correctly rounded division, is the value from_chars gives
// (Clinger's fast path). Reads such a number from p on and returns where it ends, or null
// when the text at p does not start with one (blanks and a plus sign included), or the
// number has more than 15 digits, or its point is not followed by a digit.
inline const char* ScanPlainDecimal(const char* p, const char* const end, double& value) {
  static constexpr double kPow10[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                      1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
  constexpr size_t kMaxDigits = 15;  // below 2^53
  const bool negative = p != end && *p == '-';
  if (negative) ++p;
  // Wraps around for more than 19 digits, which are refused below anyway.
  uint64_t digits = 0;
  const char* const wholeStart = p;
  for (; p != end && static_cast<unsigned char>(*p - '0') < 10; ++p) {
    digits = digits * 10 + static_cast<unsigned>(*p - '0');
  }
  const size_t whole = static_cast<size_t>(p - wholeStart);
  if (whole == 0) return nullptr;
  size_t decimals = 0;
  if (p != end && *p == '.') {
    const char* const decimalStart = ++p;
    for (; p != end && static_cast<unsigned char>(*p - '0') < 10; ++p) {
      digits = digits * 10 + static_cast<unsigned>(*p - '0');
    }
    decimals = static_cast<size_t>(p - decimalStart);
    if (decimals == 0) return nullptr;
  }
  if (whole + decimals > kMaxDigits) return nullptr;
  const double magnitude = static_cast<double>(digits) / kPow10[decimals];
  value = negative ? -magnitude : magnitude;
  return p;
}

// The whole text is such a plain decimal.
inline bool ParsePlainDecimal(std::string_view text, double& value) {
  const char* const end = text.data() + text.size();
  double v = 0.0;
  const char* const stop = ScanPlainDecimal(text.data(), end, v);
  if (stop == nullptr || stop != end) return false;  // end is null for an empty view
  value = v;
  return true;
}

// Up to 18 digits with an optional minus sign, the usual whole number, which fits int64_t
// as it is: reads one from p on and returns where it ends, or null.
inline const char* ScanShortWholeNumber(const char* p, const char* const end, int64_t& value) {
  const bool negative = p != end && *p == '-';
  if (negative) ++p;
  const char* const first = p;
  uint64_t v = 0;  // wraps around for more than 19 digits, which are refused below
  for (; p != end && static_cast<unsigned char>(*p - '0') < 10; ++p) {
    v = v * 10 + static_cast<unsigned>(*p - '0');
  }
  if (p == first || p - first > 18) return nullptr;
  const auto magnitude = static_cast<int64_t>(v);
  value = negative ? -magnitude : magnitude;
  return p;
}

// ParseReal and ParseWholeNumber for every text.
bool ParseRealInFull(std::string_view text, double& value);
bool ParseWholeNumberInFull(std::string_view text, int64_t& value);

}  // namespace text_fields_detail

inline std::string_view NextFieldView(std::string_view line, size_t& position,
                                      std::string& quoted, AfterQuote afterQuote) {
  const size_t n = line.size();
  // position is 1-based: the character at it is line[position - 1].
  const size_t pos = position == 0 ? 1 : position;
  if (pos > n) {
    position = pos;
    return {};
  }
  const char* const data = line.data();
  const char* const end = data + n;
  const char* p = data + pos - 1;
  while (p != end && (*p == ' ' || *p == '\t')) ++p;
  if (p != end && *p == '"') {
    return text_fields_detail::NextQuotedField(line, static_cast<size_t>(p - data) + 1, position,
                                               quoted, afterQuote);
  }
  const char* const first = p;
  p = text_fields_detail::FindDelimiter(p, end);
  // One past the delimiter, or two past the end of the line.
  position = static_cast<size_t>(p - data) + 2;
  return {first, static_cast<size_t>(p - first)};
}

inline bool ParseReal(std::string_view text, double& value) {
  return text_fields_detail::ParsePlainDecimal(text, value) ||
         text_fields_detail::ParseRealInFull(text, value);
}

inline bool ParseWholeNumber(std::string_view text, int64_t& value) {
  const char* const end = text.data() + text.size();
  int64_t v = 0;
  const char* const stop = text_fields_detail::ScanShortWholeNumber(text.data(), end, v);
  if (stop != nullptr && stop == end) {  // end is null for an empty view
    value = v;
    return true;
  }
  return text_fields_detail::ParseWholeNumberInFull(text, value);
}

}  // namespace kestrum
