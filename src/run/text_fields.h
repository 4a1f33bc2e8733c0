// Splitting lines into fields and turning texts into numbers.
#pragma once

#include <cstddef>
#include <cstdint>
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
std::string_view NextFieldView(std::string_view line, size_t& pos, std::string& quoted,
                               AfterQuote afterQuote = AfterQuote::Keep);

// The position after `count` more fields: what `count` calls of NextFieldView would leave
// in pos, without collecting the fields.
size_t SkipFields(std::string_view line, size_t pos, size_t count,
                  AfterQuote afterQuote = AfterQuote::Keep);

// Convenience: the next field as a return value.
std::string NextField(std::string_view line, size_t& pos, AfterQuote afterQuote = AfterQuote::Keep);

// A real number with "." as decimal separator, blanks around it allowed. False when the
// text is empty, not a number, or not finite.
bool ParseReal(std::string_view text, double& value);

// A whole decimal number (optional sign, digits), blanks around it allowed. "-999.0" is none.
bool ParseWholeNumber(std::string_view text, int64_t& value);

inline constexpr uint8_t kTextToIntInteger = 1;
inline constexpr uint8_t kTextToIntRounding = 2;

// Empty text: fallback, silently. Mode 2: the text read as a real, rounded half to even.
// Other modes: the text must be a whole number. A text that does not convert makes a
// notice "Rounding conversion to Int failed (<text>)" or "Conversion to Int failed (<text>)"
// through ui and gives the fallback.
int32_t TextToInt(std::string_view text, uint8_t mode, int32_t fallback, RunUi& ui);

// ASCII upper case.
std::string ToUpperAscii(std::string_view text);

}  // namespace kestrum
