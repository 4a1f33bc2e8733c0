#include "ftpack/unpack.h"

#include <cstring>

#include "ftpack/bin_format.h"
#include "ftpack/file_io.h"
#include "ftpack/ft_text.h"

namespace kestrum::ftpack {

std::string UnpackBin(const std::string& binPath) {
  std::string bytes;
  int error = 0;
  switch (ReadWholeFile(binPath, kBinFileSize, bytes, error)) {
    case ReadStatus::Ok:
      break;
    case ReadStatus::CannotOpen:
    case ReadStatus::ReadFailed:
      throw UnpackError("The BIN file " + binPath + " cannot be read: " + std::strerror(error) +
                        ".");
    case ReadStatus::NotRegular:
      throw UnpackError("The BIN file " + binPath + " is not a regular file.");
    case ReadStatus::TooLarge:
      throw UnpackError("The file " + binPath + " is larger than a BIN weather file (" +
                        std::to_string(kBinFileSize) + " bytes).");
  }
  try {
    const FtData data =
        DecodeBin(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
    return PrintFtText(data);
  } catch (const BinFormatError& e) {
    throw UnpackError("The file " + binPath + " cannot be unpacked: " + e.what() + ".");
  }
}

}  // namespace kestrum::ftpack
