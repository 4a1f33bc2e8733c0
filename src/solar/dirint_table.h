// The DIRINT coefficient table (Perez et al. 1992, "Dynamic Global-to-Direct Irradiance
// Conversion Models", ASHRAE Transactions), generated at build time from
// dirint_coefficients.csv.
#pragma once

namespace solvane {

inline constexpr int kKtPrimeBins = 6;  // bins of the zenith-independent clearness index
inline constexpr int kZenithBins = 6;   // bins of the solar zenith angle
inline constexpr int kDeltaBins = 7;    // bins of the stability index, 7: not available
inline constexpr int kWaterBins = 5;    // bins of the precipitable water, 5: not available

// kDirint[k - 1][z - 1][d - 1][w - 1] multiplies the DISC estimate for the bins k, z, d, w.
extern const float kDirint[kKtPrimeBins][kZenithBins][kDeltaBins][kWaterBins];

// The coefficient of the cell with 1-based bin numbers; the numbers are not checked.
inline float DirintCell(int k, int z, int d, int w) {
  return kDirint[k - 1][z - 1][d - 1][w - 1];
}

}  // namespace solvane
