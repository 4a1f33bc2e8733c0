// Reading a text file line by line for the readers, with errors that name the file.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace kestrum {

// Opens path for reading; lines may end with LF, CR LF or a lone CR. Only a regular file
// is read: a directory, a named pipe, a device or a socket is refused at once, without
// waiting for a writer. A UTF-8 byte-order mark before the first line is dropped.
class TextLineReader {
 public:
  // The longest line read; a longer one ends the read with an error.
  static constexpr size_t kMaxLineBytes = size_t{1} << 20;

  // Throws InputError when path is missing, not a regular file or cannot be opened.
  explicit TextLineReader(const std::string& path);
  ~TextLineReader();
  TextLineReader(const TextLineReader&) = delete;
  TextLineReader& operator=(const TextLineReader&) = delete;

  // The next line without its line end; false at the end of the file. Throws InputError
  // when the file cannot be read or the line is longer than kMaxLineBytes.
  bool Next(std::string& line);

  // 1-based number of the line Next returned last.
  size_t lineNumber() const { return lineNumber_; }
  const std::string& path() const { return path_; }

 private:
  // Reads more of the file behind what is buffered; false at the end of the file.
  bool Fill();

  std::string path_;
  int fd_ = -1;
  // The next line end: the first CR and the first LF at or after begin_ (kNone when there
  // is none before searched_), so that every byte is searched once per kind.
  size_t NextLineEnd();

  static constexpr size_t kNone = static_cast<size_t>(-1);
  std::vector<char> buffer_;
  size_t begin_ = 0;  // first unread byte in buffer_
  size_t end_ = 0;    // one past the last buffered byte
  size_t cr_ = kNone, crSearched_ = 0;
  size_t lf_ = kNone, lfSearched_ = 0;
  bool atEnd_ = false;
  bool pendingLf_ = false;  // the last line ended with a CR: an LF right after it belongs to it
  size_t lineNumber_ = 0;
};

// A field's text for an error message: at most 40 characters (longer texts end in
// "..."), control characters shown as "?", between double quotes.
std::string QuoteForMessage(std::string_view text);

}  // namespace kestrum
