// Reading a ".bin" weather file back into the FT text it was packed from.
#pragma once

#include <stdexcept>
#include <string>

namespace kestrum::ftpack {

class UnpackError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The FT text (CR LF line ends) rebuilt from the ".bin" file at binPath, byte-identical
// to the FT file that was packed. Throws UnpackError naming the file when it cannot be
// read, is not a BIN weather file of a known version, or is damaged (CRC mismatch).
std::string UnpackBin(const std::string& binPath);

}  // namespace kestrum::ftpack
