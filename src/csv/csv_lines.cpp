#include "csv/csv_lines.h"

#include <algorithm>

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

size_t CsvFieldCount(std::string_view line) {
  if (line.empty()) return 0;
  // Without quotes, tabs (skipped before a field like blanks) and the rarer delimiters, a
  // field ends at each comma: one field more than commas.
  const auto lacks = [line](char c) { return line.find(c) == std::string_view::npos; };
  if (lacks('"') && lacks('\t') && lacks('\f') && lacks('\r')) {
    return static_cast<size_t>(std::count(line.begin(), line.end(), ',')) + 1;
  }
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
