#include "run/text_fields.h"

#include <charconv>
#include <cmath>
#include <limits>

#include "run/run_ui.h"

namespace kestrum {

namespace {

bool IsDelimiter(char c) { return c == ',' || c == '\t' || c == '\f' || c == '\r'; }

char UpperAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

std::string_view TrimBlanks(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

// The plain decimals weather files are made of ("-12.2", "99500", "0.0310"): an optional
// minus sign, digits, and optionally a point followed by digits, 15 digits at most. The
// digits read as an integer are then exact, and so is the power of ten of the decimals,
// so their quotient, a single correctly rounded division, is the value from_chars gives
// (Clinger's fast path). False for every other text, which from_chars then reads.
bool ParsePlainDecimal(std::string_view text, double& value) {
  static constexpr double kPow10[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                      1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
  constexpr int kMaxDigits = 15;  // below 2^53
  size_t i = 0;
  const bool negative = !text.empty() && text[0] == '-';
  if (negative) ++i;
  int64_t digits = 0;
  int count = 0;
  int decimals = 0;
  bool point = false;
  bool digitAfterPoint = false;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    if (c >= '0' && c <= '9') {
      if (++count > kMaxDigits) return false;
      digits = digits * 10 + (c - '0');
      if (point) {
        ++decimals;
        digitAfterPoint = true;
      }
    } else if (c == '.' && !point && count > 0) {
      point = true;
    } else {
      return false;
    }
  }
  if (count == 0 || (point && !digitAfterPoint)) return false;
  const double magnitude = static_cast<double>(digits) / kPow10[decimals];
  value = negative ? -magnitude : magnitude;
  return true;
}

}  // namespace

std::string_view NextFieldView(std::string_view line, size_t& pos, std::string& quoted,
                               AfterQuote afterQuote) {
  const size_t n = line.size();
  if (pos == 0) pos = 1;
  if (pos > n) return {};
  // pos is 1-based: the character at pos is line[pos - 1].
  while (pos <= n && (line[pos - 1] == ' ' || line[pos - 1] == '\t')) ++pos;
  if (pos <= n && line[pos - 1] == '"') {
    quoted.clear();
    ++pos;
    while (pos <= n && line[pos - 1] != '"') {
      quoted.push_back(UpperAscii(line[pos - 1]));
      ++pos;
    }
    ++pos;  // one past the closing quote, or two past the end when it is missing
    if (afterQuote == AfterQuote::Consume) {
      size_t p = pos;
      while (p <= n && line[p - 1] == ' ') ++p;
      if (p <= n && IsDelimiter(line[p - 1])) pos = p + 1;
    }
    return quoted;
  }
  const size_t first = pos - 1;
  while (pos <= n && !IsDelimiter(line[pos - 1])) ++pos;
  const std::string_view field = line.substr(first, pos - 1 - first);
  ++pos;  // one past the delimiter, or two past the end of the line
  return field;
}

void NextField(std::string_view line, size_t& pos, std::string& field, AfterQuote afterQuote) {
  const std::string_view text = NextFieldView(line, pos, field, afterQuote);
  // A quoted field is already in field; any other is a piece of line.
  if (text.data() != field.data()) field.assign(text);
}

std::string NextField(std::string_view line, size_t& pos, AfterQuote afterQuote) {
  std::string field;
  NextField(line, pos, field, afterQuote);
  return field;
}

bool ParseReal(std::string_view text, double& value) {
  text = TrimBlanks(text);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  if (text.empty()) return false;
  if (ParsePlainDecimal(text, value)) return true;
  // from_chars also takes "inf" and "nan": accept digits, sign, point and exponent only.
  for (char c : text) {
    if (!((c >= '0' && c <= '9') || c == '-' || c == '.' || c == 'e' || c == 'E' || c == '+')) {
      return false;
    }
  }
  double v = 0.0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
  if (ec != std::errc() || end != text.data() + text.size() || !std::isfinite(v)) return false;
  value = v;
  return true;
}

bool ParseWholeNumber(std::string_view text, int64_t& value) {
  text = TrimBlanks(text);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  if (text.empty()) return false;
  int64_t v = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
  if (ec != std::errc() || end != text.data() + text.size()) return false;
  value = v;
  return true;
}

int32_t TextToInt(std::string_view text, uint8_t mode, int32_t fallback, RunUi& ui) {
  if (text.empty()) return fallback;
  constexpr double kMin = std::numeric_limits<int32_t>::min();
  constexpr double kMax = std::numeric_limits<int32_t>::max();
  if (mode == kTextToIntRounding) {
    double v = 0.0;
    if (ParseReal(text, v)) {
      const double r = std::nearbyint(v);  // default rounding: halves to even
      if (r >= kMin && r <= kMax) return static_cast<int32_t>(r);
    }
    ui.Notice("Rounding conversion to Int failed (" + std::string(text) + ")");
    return fallback;
  }
  int64_t v = 0;
  if (ParseWholeNumber(text, v) && v >= static_cast<int64_t>(kMin) && v <= static_cast<int64_t>(kMax)) {
    return static_cast<int32_t>(v);
  }
  ui.Notice("Conversion to Int failed (" + std::string(text) + ")");
  return fallback;
}

std::string ToUpperAscii(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = UpperAscii(c);
  return out;
}

}  // namespace kestrum
