// The lines of a CSV file and the fields of a line, exactly as the CSV reader and the CSV
// preview see them.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "epw/text_lines.h"

namespace kestrum {

// Reads a CSV file line by line. A line ends with LF, CR LF or a lone CR (files saved by
// old spreadsheet programs); a UTF-8 byte-order mark before the first line is skipped.
// Errors name the file (InputError), as TextLineReader's do.
class CsvLineReader {
 public:
  explicit CsvLineReader(const std::string& path) : lines_(path) {}

  // The next line without its line end; false at the end of the file.
  bool Next(std::string& line);

  // 1-based number of the line Next returned last, counting lone-CR line ends too.
  size_t lineNumber() const { return lineNumber_; }
  const std::string& path() const { return lines_.path(); }

 private:
  TextLineReader lines_;
  std::string chunk_;       // the line TextLineReader gave, possibly holding lone CRs
  size_t offset_ = 0;       // where the next line starts in chunk_
  bool inChunk_ = false;    // chunk_ still holds lines not handed out
  size_t lineNumber_ = 0;
};

// The first `count` lines of a CSV file (fewer when it has fewer), as CsvLineReader reads
// them. Throws InputError naming the file when it cannot be read.
std::vector<std::string> ReadCsvHead(const std::string& path, size_t count);

// How many fields NextField yields from position 1, the delimiter after a closing quote
// kept, before its position passes the end of the line, and the empty field after a
// delimiter that ends the line: the columns of a row as the reader numbers them, so that
// a quoted field counts one more ("\"a\",b" has 3, "a,b" and "a," have 2). 0 for "".
size_t CsvFieldCount(std::string_view line);

// Fields 1..count of line, split with NextField from position 1 with the delimiter after a
// closing quote left in place (so a quoted field is followed by an empty one): the column
// numbers the preview shows are the ones under which the reader finds the fields.
std::vector<std::string> CsvSplitFields(std::string_view line, size_t count);

}  // namespace kestrum
