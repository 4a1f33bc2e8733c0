// The marker of a value the caller could not supply.
#pragma once

namespace solvane {

// -999.0, compared exactly: a near miss such as -998.9 is an ordinary value.
inline constexpr float kMissing = -999.0f;

inline bool IsMissing(float value) { return value == kMissing; }

}  // namespace solvane
