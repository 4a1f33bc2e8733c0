// A text file written line by line through one large buffer, lines ended with CR LF:
// the hourly formatter's two output files.
#pragma once

#include <string>
#include <string_view>

#include "format/text_sink.h"

namespace kestrum {

class LineFile {
 public:
  // Creates path, replacing an existing file. Throws RunError naming the file and why.
  explicit LineFile(std::string path);
  LineFile(const LineFile&) = delete;
  LineFile& operator=(const LineFile&) = delete;
  // A file left without Close (a run that ended early) keeps the lines written so far.
  ~LineFile();

  // Appends line + CR LF. Throws RunError naming the file and why (a full disk) when
  // writing fails.
  void WriteLine(std::string_view line);

  // A row written field by field: write it into text(), then EndLine() ends it with
  // CR LF (and may write out what is gathered, with the same errors as WriteLine).
  TextSink& text() { return pending_; }
  void EndLine();

  // Writes what is pending and closes the file; throws RunError naming it on failure.
  void Close();

  const std::string& path() const { return path_; }

 private:
  void Flush();

  std::string path_;
  int fd_ = -1;
  TextSink pending_;
  size_t complete_ = 0;  // bytes of pending_ that are whole lines
};

}  // namespace kestrum
