#include "run/text_fields.h"

#include <charconv>
#include <cmath>
#include <limits>

#include "run/run_ui.h"

namespace kestrum {

namespace {

using text_fields_detail::IsDelimiter;
using text_fields_detail::ParsePlainDecimal;

char UpperAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

std::string_view TrimBlanks(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

}  // namespace

std::string_view text_fields_detail::NextQuotedField(std::string_view line, size_t quoteAt,
                                                     size_t& position, std::string& quoted,
                                                     AfterQuote afterQuote) {
  const size_t n = line.size();
  size_t pos = quoteAt + 1;
  quoted.clear();
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
  position = pos;
  return quoted;
}

size_t SkipFields(std::string_view line, size_t pos, size_t count, AfterQuote afterQuote) {
  const size_t n = line.size();
  if (pos == 0) pos = 1;
  for (; count > 0 && pos <= n; --count) {
    while (pos <= n && (line[pos - 1] == ' ' || line[pos - 1] == '\t')) ++pos;
    if (pos <= n && line[pos - 1] == '"') {
      ++pos;
      while (pos <= n && line[pos - 1] != '"') ++pos;
      ++pos;
      if (afterQuote == AfterQuote::Consume) {
        size_t p = pos;
        while (p <= n && line[p - 1] == ' ') ++p;
        if (p <= n && IsDelimiter(line[p - 1])) pos = p + 1;
      }
      continue;
    }
    while (pos <= n && !IsDelimiter(line[pos - 1])) ++pos;
    pos += 1;
  }
  return pos;
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

bool text_fields_detail::ParseRealInFull(std::string_view text, double& value) {
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

bool text_fields_detail::ParseWholeNumberInFull(std::string_view text, int64_t& value) {
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
