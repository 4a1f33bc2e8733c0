// A conversion allocates a few buffers of hundreds of kilobytes one after another (the
// text of each file it writes, the FT text the packer reads back). By default each comes
// fresh from the system and is faulted in page by page; kept in the heap, a later buffer
// reuses the pages of an earlier one. kestrum-cli is one run per process (a batch has one
// process per input), so nothing is lost by not returning memory early: about a quarter of
// the page faults and a millisecond of a conversion are saved.
#include <malloc.h>

namespace {

const bool kHeapTuned = [] {
  mallopt(M_MMAP_THRESHOLD, 64 << 20);
  mallopt(M_TRIM_THRESHOLD, 128 << 20);
  return true;
}();

}  // namespace
