// The two exports of the library. The record lives in static storage for the life of the
// process; SOLVANE recomputes everything from it on each call.
#define SOLVANE_PROTOTYPES
#pragma GCC visibility push(default)
#include "solar/solvane.h"
#pragma GCC visibility pop

#include "solar/direct_normal.h"

namespace {
SolarRecord gRecord{};
}  // namespace

extern "C" SolarRecord* INIT_DLL(void) { return &gRecord; }

extern "C" double SOLVANE(void) {
  return static_cast<double>(solvane::EstimateDirectNormal(gRecord).directNormal);
}
