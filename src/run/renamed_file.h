// Writing an output file whole or not at all: the text goes to a temporary file beside it,
// which is then renamed over it.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace kestrum {

// Writes text to path + ".tmp" + the process id, then renames that over path. On failure
// the temporary file is removed, an earlier file at path stays as it was, and RunError
// "Cannot write <what> <path>: <reason>" is thrown (what: "the report", "the EPW file").
void WriteByRename(const std::string& path, std::string_view text, const std::string& what);

// The same in pieces: created at once under the temporary name, written piece by piece,
// and renamed over path by Commit. A file never committed (an error, a run that failed
// after it was written) is removed by the destructor. Errors as WriteByRename's.
class RenamedFile {
 public:
  RenamedFile(std::string path, std::string what);
  RenamedFile(const RenamedFile&) = delete;
  RenamedFile& operator=(const RenamedFile&) = delete;
  ~RenamedFile();

  void Write(std::string_view piece);
  void Commit();
  const std::string& path() const { return path_; }

 private:
  [[noreturn]] void Fail(int error);

  std::string path_;
  std::string what_;
  std::string temp_;
  std::FILE* file_ = nullptr;
};

}  // namespace kestrum
