// The bins of the DIRINT coefficient table and the precipitable water that selects one of
// them. A value falls in the first bin whose upper limit it is below (the limits are
// exclusive); a value at or above the last limit falls in the last regular bin.
// Source: Perez et al. (1992), "Dynamic Global-to-Direct Irradiance Conversion Models",
// ASHRAE Transactions, pp. 354-369. Limits and values are single precision.
#pragma once

#include <optional>

namespace solvane {

// Kt' bins 1..6, upper limits 0.24, 0.40, 0.56, 0.70, 0.80.
int KtPrimeBin(float ktPrime);

// Zenith bins 1..6, upper limits 25, 40, 55, 70, 80 degrees.
int ZenithBin(float zenithDeg);

// dKt' bins 1..6, upper limits 0.015, 0.035, 0.07, 0.15, 0.30; bin 7 when there is no dKt'
// (neither neighbour has a Kt').
int StabilityBin(std::optional<float> deltaKtPrime);

// Precipitable water bins 1..4, upper limits 1, 2, 3 cm; bin 5 when there is no value
// (dew point missing).
int WaterBin(std::optional<float> waterCm);

// Precipitable water, cm, from the dew point in deg C: exp(0.07 * Td - 0.075).
float PrecipitableWater(float dewPointC);

}  // namespace solvane
