// Reading a text file line by line for the EPW readers, with errors that name the file.
#pragma once

#include <cstddef>
#include <fstream>
#include <string>
#include <string_view>

namespace kestrum {

// Opens path for reading; lines may end with LF or CR LF (the CR is dropped).
class TextLineReader {
 public:
  // Throws InputError when path is missing, a directory or cannot be opened.
  explicit TextLineReader(const std::string& path);

  // The next line without its line end; false at the end of the file. Throws InputError
  // when the file cannot be read.
  bool Next(std::string& line);

  // 1-based number of the line Next returned last.
  size_t lineNumber() const { return lineNumber_; }
  const std::string& path() const { return path_; }

 private:
  std::string path_;
  std::ifstream in_;
  size_t lineNumber_ = 0;
};

// A field's text for an error message: at most 40 characters (longer texts end in
// "..."), control characters shown as "?", between double quotes.
std::string QuoteForMessage(std::string_view text);

}  // namespace kestrum
