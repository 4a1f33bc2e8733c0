// The packer library: C linkage, two exports. The caller writes the base name into the
// buffer that INIT_DLL returns (blank-padded) and calls FTPACK, which packs <name>.ft of
// the current directory into <name>.bin beside it.
#define FTPACK_PROTOTYPES
#include "ftpack/ftpack.h"

#include <string>

#include "ftpack/pack.h"

#define FTPACK_EXPORT __attribute__((visibility("default")))

namespace {

// Static storage for the life of the process; all NUL until a caller writes a name.
char gNameBuffer[FTPACK_NAME_BUFFER_SIZE];

}  // namespace

extern "C" FTPACK_EXPORT char* INIT_DLL(void) { return gNameBuffer; }

extern "C" FTPACK_EXPORT int32_t FTPACK(void) {
  // No C++ exception may cross the C boundary.
  try {
    std::string name;
    if (!kestrum::ftpack::NameFromBuffer(gNameBuffer, sizeof gNameBuffer, name)) {
      return FTPACK_ERR_FILENAME;
    }
    return kestrum::ftpack::PackFtFile(name + ".ft", name + ".bin");
  } catch (...) {
    return FTPACK_ERR_INTERNAL;
  }
}
