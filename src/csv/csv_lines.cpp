#include "csv/csv_lines.h"

#include "run/text_fields.h"

namespace kestrum {

namespace {

constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";
// What ends a line inside the text TextLineReader gives: it has split at one of the two
// already (and dropped the CR of a CR LF end), so either one left ends a line.
constexpr const char* kInnerLineEnds = "\r\n";

}  // namespace

bool CsvLineReader::Next(std::string& line) {
  if (!inChunk_) {
    // A CR or LF left inside what TextLineReader gives ends a line of its own (a reader
    // that ends lines at LF only leaves the lone CRs of a CR-only file in the text).
    if (!lines_.Next(chunk_)) return false;
    if (lineNumber_ == 0 && std::string_view(chunk_).starts_with(kUtf8ByteOrderMark)) {
      chunk_.erase(0, kUtf8ByteOrderMark.size());
    }
    offset_ = 0;
    inChunk_ = true;
  }
  ++lineNumber_;
  const size_t cr = chunk_.find_first_of(kInnerLineEnds, offset_);
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

std::vector<std::string> CsvSplitFields(std::string_view line, size_t count) {
  std::vector<std::string> fields(count);
  size_t pos = 1;
  for (std::string& field : fields) NextField(line, pos, field, AfterQuote::Keep);
  return fields;
}

}  // namespace kestrum
