// Small POSIX file helpers of the packer.
#pragma once

#include <cstddef>
#include <string>

namespace kestrum::ftpack {

enum class ReadStatus { Ok, CannotOpen, NotRegular, ReadFailed, TooLarge };

// Reads at most maxBytes of the regular file at path into bytes. A FIFO or device is
// refused without blocking. TooLarge leaves the first maxBytes in bytes.
ReadStatus ReadWholeFile(const std::string& path, size_t maxBytes, std::string& bytes,
                         int& error);

enum class WriteStatus { Ok, CannotCreate, WriteFailed, CannotReplace };

// Writes size bytes to a new temporary file in the directory of path and renames it onto
// path. On any failure the temporary file is removed and path is untouched.
// The rename makes the replacement atomic for every reader, but the data is not forced to
// disk (no fsync): the ".bin" in the interim directory is an intermediate that a run
// rebuilds from its source, and the copy in the output directory and the other files of
// a run are not forced either. Forcing would cost a disk round trip on every pack.
WriteStatus WriteFileReplacing(const std::string& path, const void* data, size_t size,
                               int& error);

}  // namespace kestrum::ftpack
