#include "csv/csv_lines.h"

#include <cstdint>
#include <cstring>

#include "run/text_fields.h"

namespace kestrum {

namespace {

constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

}  // namespace

bool CsvLineReader::Next(std::string& line) {
  if (!inChunk_) {
    // TextLineReader ends lines at LF and drops the CR of a CR LF end; a CR left inside
    // the text (a CR-only file) ends a line of its own.
    if (!lines_.Next(chunk_)) return false;
    if (lineNumber_ == 0 && std::string_view(chunk_).starts_with(kUtf8ByteOrderMark)) {
      chunk_.erase(0, kUtf8ByteOrderMark.size());
    }
    offset_ = 0;
    inChunk_ = true;
  }
  ++lineNumber_;
  const size_t cr = chunk_.find('\r', offset_);
  if (cr == std::string::npos) {
    if (offset_ == 0) {
      line.swap(chunk_);
    } else {
      line.assign(chunk_, offset_, std::string::npos);
    }
    inChunk_ = false;
    return true;
  }
  // A line after the CR always follows, empty when the CR ends the text ("a CR CR LF"
  // is the line "a" and an empty line).
  line.assign(chunk_, offset_, cr - offset_);
  offset_ = cr + 1;
  return true;
}

std::vector<std::string> ReadCsvHead(const std::string& path, size_t count) {
  CsvLineReader reader(path);
  std::vector<std::string> lines;
  std::string line;
  while (lines.size() < count && reader.Next(line)) lines.push_back(line);
  return lines;
}

namespace {

constexpr uint64_t kOnes = 0x0101010101010101u;
constexpr uint64_t kLow7 = 0x7F7F7F7F7F7F7F7Fu;
constexpr uint64_t kHighBits = 0x8080808080808080u;

// The high bit of each zero byte of x, and no other bit.
constexpr uint64_t ZeroBytes(uint64_t x) { return ~(((x & kLow7) + kLow7) | x | kLow7); }

// How many commas line holds, and whether it holds a double quote or a byte below 14 (tab,
// form feed and carriage return among them): eight bytes at a time.
size_t CountCommas(std::string_view line, bool& special) {
  size_t commas = 0;
  uint64_t marks = 0;
  const char* p = line.data();
  const char* const end = p + line.size();
  for (; end - p >= 8; p += 8) {
    uint64_t word;
    std::memcpy(&word, p, sizeof word);
    // One per comma in each byte, summed into the top byte by the multiplication.
    commas += static_cast<size_t>(((ZeroBytes(word ^ (kOnes * ',')) >> 7) * kOnes) >> 56);
    marks |= ZeroBytes(word ^ (kOnes * '"')) | ((word - kOnes * 14) & ~word & kHighBits);
  }
  for (; p != end; ++p) {
    commas += *p == ',' ? 1 : 0;
    marks |= (*p == '"' || static_cast<unsigned char>(*p) < 14) ? 1 : 0;
  }
  special = marks != 0;
  return commas;
}

}  // namespace

size_t CsvFieldCount(std::string_view line) {
  if (line.empty()) return 0;
  // Without quotes, tabs (skipped before a field like blanks) and the rarer delimiters, a
  // field ends at each comma: one field more than commas.
  bool special = false;
  const size_t commas = CountCommas(line, special);
  if (!special) return commas + 1;
  size_t count = 0;
  size_t pos = 1;
  while (pos <= line.size()) {
    pos = SkipFields(line, pos, 1);
    ++count;
  }
  // A field that ended at a delimiter closing the line: the empty field after it.
  const bool endsInDelimiter = pos == line.size() + 1 && text_fields_detail::IsDelimiter(line.back());
  return count + (endsInDelimiter ? 1 : 0);
}

std::vector<std::string> CsvSplitFields(std::string_view line, size_t count) {
  std::vector<std::string> fields(count);
  size_t pos = 1;
  for (std::string& field : fields) NextField(line, pos, field, AfterQuote::Keep);
  return fields;
}

}  // namespace kestrum
