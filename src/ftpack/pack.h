// Packing an FT file into a ".bin" file, as the packer library's FTPACK does it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace kestrum::ftpack {

// The base name held in the library's name buffer: the bytes before the trailing
// blanks. False when it is empty, holds a "/" or a NUL byte, or fills the whole buffer
// (no blank left, so it may have been cut).
bool NameFromBuffer(const char* buffer, size_t size, std::string& name);

// Largest FT file read; a real one has 701001 bytes.
inline constexpr size_t kMaxFtFileBytes = 2u << 20;

// Reads ftPath completely, parses it, and only then writes the ".bin" bytes to a new
// temporary file beside binPath, which is renamed onto binPath once it is complete.
// Returns FTPACK_OK or one of the FTPACK_ERR_* codes of ftpack.h; on any error binPath
// is left as it was. reason (optional) receives a sentence about the failure.
int32_t PackFtFile(const std::string& ftPath, const std::string& binPath,
                   std::string* reason = nullptr);

}  // namespace kestrum::ftpack
