#include "ftpack/pack.h"

#include <cstring>
#include <vector>

#include "ftpack/bin_format.h"
#include "ftpack/file_io.h"
#include "ftpack/ft_text.h"
#include "ftpack/ftpack.h"

namespace kestrum::ftpack {

namespace {

std::string ErrorText(int error) { return error != 0 ? std::strerror(error) : "not a file"; }

int32_t Failed(int32_t code, std::string text, std::string* reason) {
  if (reason != nullptr) *reason = std::move(text);
  return code;
}

}  // namespace

bool NameFromBuffer(const char* buffer, size_t size, std::string& name) {
  size_t end = size;
  while (end > 0 && buffer[end - 1] == ' ') --end;
  if (end == 0 || end == size) return false;  // empty, or no blank left: maybe cut
  for (size_t i = 0; i < end; ++i) {
    if (buffer[i] == '\0' || buffer[i] == '/') return false;
  }
  name.assign(buffer, end);
  return true;
}

int32_t PackFtFile(const std::string& ftPath, const std::string& binPath, std::string* reason) {
  std::string text;
  int error = 0;
  const ReadStatus read = ReadWholeFile(ftPath, kMaxFtFileBytes, text, error);
  if (read == ReadStatus::CannotOpen || read == ReadStatus::NotRegular ||
      read == ReadStatus::ReadFailed) {
    return Failed(FTPACK_ERR_OPEN_FT, ftPath + " cannot be read: " + ErrorText(error), reason);
  }

  FtData data;
  const FtParseResult parsed = ParseFtText(text, data);
  if (parsed.status == FtStatus::BadHeader) {
    return Failed(FTPACK_ERR_HEADER, ftPath + ": " + parsed.reason, reason);
  }
  if (read == ReadStatus::TooLarge) {
    return Failed(FTPACK_ERR_HOURLY,
                  ftPath + " is larger than " + std::to_string(kMaxFtFileBytes) +
                      " bytes, far more than 8760 hourly records",
                  reason);
  }
  if (parsed.status == FtStatus::BadHours) {
    return Failed(FTPACK_ERR_HOURLY, ftPath + ": " + parsed.reason, reason);
  }

  const std::vector<unsigned char> bytes = EncodeBin(data);
  switch (WriteFileReplacing(binPath, bytes.data(), bytes.size(), error)) {
    case WriteStatus::Ok:
      return FTPACK_OK;
    case WriteStatus::CannotCreate:
      return Failed(FTPACK_ERR_OPEN_BIN,
                    "a file beside " + binPath + " cannot be created: " + ErrorText(error),
                    reason);
    case WriteStatus::WriteFailed:
      return Failed(FTPACK_ERR_WRITE_BIN, binPath + " cannot be written: " + ErrorText(error),
                    reason);
    case WriteStatus::CannotReplace:
      return Failed(FTPACK_ERR_OPEN_BIN, binPath + " cannot be replaced: " + ErrorText(error),
                    reason);
  }
  return FTPACK_ERR_WRITE_BIN;
}

}  // namespace kestrum::ftpack
