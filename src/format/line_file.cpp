#include "format/line_file.h"

#include "run/run_error.h"

namespace kestrum {

namespace {
// Lines are gathered to about this many bytes before they go to the stream.
constexpr size_t kChunkBytes = 1 << 16;
}  // namespace

LineFile::LineFile(std::string path) : path_(std::move(path)) {
  out_.open(path_, std::ios::binary | std::ios::out | std::ios::trunc);
  if (!out_) throw RunError("The file " + path_ + " cannot be created.");
  pending_.reserve(kChunkBytes + 256);
}

LineFile::~LineFile() {
  if (out_.is_open()) out_.write(pending_.data(), static_cast<std::streamsize>(pending_.size()));
}

void LineFile::WriteLine(std::string_view line) {
  pending_.append(line);
  pending_.append("\r\n");
  if (pending_.size() >= kChunkBytes) Flush();
}

void LineFile::Close() {
  Flush();
  out_.close();
  if (!out_) throw RunError("The file " + path_ + " cannot be written.");
}

void LineFile::Flush() {
  out_.write(pending_.data(), static_cast<std::streamsize>(pending_.size()));
  pending_.clear();
  if (!out_) throw RunError("The file " + path_ + " cannot be written.");
}

}  // namespace kestrum
