// Replacing a file's whole content so that a reader, a full disk or a crash never sees a
// half-written file: the text goes to a temporary file in the same directory, which is
// flushed to disk and then renamed over the old file.
#pragma once

#include <cstddef>
#include <string>

namespace kestrum {

// Replaces (or creates) the file at path with content. An existing file keeps its
// permission bits; a path that is a symbolic link replaces the file it points to; a device
// or a pipe is written to, never replaced.
// Throws RunError naming the file when it cannot be written; the old file is then left as
// it was and no temporary file remains.
void ReplaceFileContent(const std::string& path, const std::string& content);

// The largest file ReadWholeFile reads; a settings file holds a few kilobytes.
inline constexpr size_t kMaxWholeFileBytes = size_t{16} << 20;

// The whole content of the regular file at path. Throws RunError naming the file when it
// cannot be read, is not a regular file (a directory, a named pipe, a device) or is larger
// than kMaxWholeFileBytes.
std::string ReadWholeFile(const std::string& path);

}  // namespace kestrum
