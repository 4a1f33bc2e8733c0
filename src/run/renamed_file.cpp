#include "run/renamed_file.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "run/run_error.h"

namespace kestrum {

RenamedFile::RenamedFile(std::string path, std::string what)
    : path_(std::move(path)), what_(std::move(what)),
      temp_(path_ + ".tmp" + std::to_string(::getpid())) {
  file_ = std::fopen(temp_.c_str(), "wb");
  if (file_ == nullptr) {
    const int error = errno;
    temp_.clear();
    Fail(error);
  }
}

RenamedFile::~RenamedFile() {
  if (file_ != nullptr) std::fclose(file_);
  if (!temp_.empty()) std::remove(temp_.c_str());
}

void RenamedFile::Fail(int error) {
  if (file_ != nullptr) std::fclose(file_);
  file_ = nullptr;
  if (!temp_.empty()) std::remove(temp_.c_str());
  temp_.clear();
  throw RunError("Cannot write " + what_ + " " + path_ + ": " + std::strerror(error));
}

void RenamedFile::Write(std::string_view piece) {
  if (file_ == nullptr) return;
  if (std::fwrite(piece.data(), 1, piece.size(), file_) != piece.size()) Fail(errno);
}

void RenamedFile::Commit() {
  if (file_ == nullptr) return;
  const int closed = std::fclose(file_);
  file_ = nullptr;
  if (closed != 0) Fail(errno);
  if (std::rename(temp_.c_str(), path_.c_str()) != 0) Fail(errno);
  temp_.clear();
}

void WriteByRename(const std::string& path, std::string_view text, const std::string& what) {
  RenamedFile file(path, what);
  file.Write(text);
  file.Commit();
}

}  // namespace kestrum
