// The DIRINT coefficient that multiplies the DISC estimate: one table cell for Kt' below
// 0.70; for the clearest skies (Kt' bins 5 and 6) a blend of the two Kt' bins, interpolated
// over the zenith angle and the precipitable water between the bins' representative values
// (the published model reads one cell there as well). The stability bin is never
// interpolated. Single precision throughout.
#pragma once

namespace solvane {

// 1-based bin numbers: kt 1..6, zenith 1..6, delta 1..7, water 1..5.
struct DirintBins {
  int kt = 1;
  int zenith = 1;
  int delta = 1;
  int water = 1;
};

// Weights of the two Kt' bins used above 0.70: bin 5 alone up to 0.75, then a linear shift
// to bin 6, reached at about 0.82.
struct KtPrimeWeights {
  float bin5 = 1.0f;
  float bin6 = 0.0f;
};
KtPrimeWeights ClearSkyWeights(float ktPrime);

// A pair of neighbouring bins and the weight of the lower one (the upper one has 1 - weight).
struct BinPair {
  int lower = 1;
  int upper = 1;
  float lowerWeight = 1.0f;
};

// Zenith pair around zenithDeg, representative values 19.0, 32.5, 47.5, 62.5, 75.0, 82.5
// degrees for bins 1..6; zenithBin is the bin of zenithDeg.
BinPair ZenithPair(int zenithBin, float zenithDeg);

// Precipitable-water pair around waterCm, representative values 0.75, 1.5, 2.5, 3.5 cm for
// bins 1..4; bin 5 (dew point missing) pairs with itself and ignores waterCm.
BinPair WaterPair(int waterBin, float waterCm);

// The coefficient for the bins, with the Kt' (dimensionless), zenith angle (degrees) and
// precipitable water (cm; ignored when bins.water is 5) that the interpolation needs.
float DirintCoefficient(const DirintBins& bins, float ktPrime, float zenithDeg, float waterCm);

}  // namespace solvane
