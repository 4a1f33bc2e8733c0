// The start of a CSV file as the preview grid shows it: its first 127 lines, ended as the
// CSV reader ends them (CsvLineReader), read so that no file can block or flood the window.
// The preview splits them with CsvSplitFields, as the reader splits a row.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace kestrum {

inline constexpr int kPreviewLines = 127;
inline constexpr int kPreviewFields = 63;

// A line longer than this is cut for the preview; the rest of it is skipped unread.
inline constexpr size_t kPreviewLineLimit = size_t{1} << 20;
// The preview stops looking for line ends after this many bytes (a huge file without
// line ends); the rows after that stay empty.
inline constexpr size_t kPreviewScanLimit = size_t{32} << 20;

// Lines end with LF, CR LF or a lone CR; a UTF-8 byte-order mark before line 1 is skipped.
// Throws InputError naming the file when it is missing, not a regular file (a directory,
// a device or a pipe, which could block) or cannot be read.
std::vector<std::string> ReadPreviewLines(const std::string& path, int maxLines = kPreviewLines);

// The line whose fields head the preview's columns (from 1): the layout's header line when
// one is known (layoutHeaderLine > 0), else the line above the first data row; 0 when
// there is none (the data start on line 1).
int PreviewHeaderLine(int layoutHeaderLine, int firstRow);

// The header of each of the preview's columns 1..count: the field of line headerLine (from
// 1) that stands over the column in which the reader finds the fields of the line after it
// (AlignHeaders), blanks at its ends left out; empty where the line heads no such column,
// and all empty when headerLine is not among lines.
std::vector<std::string> PreviewColumnHeaders(const std::vector<std::string>& lines,
                                              int headerLine, int count = kPreviewFields);

}  // namespace kestrum
