// The direct-normal estimate of one hour: the DISC estimate times the DIRINT coefficient,
// from the hour's record. Every step is kept in the result so that it can be inspected.
// Sources: Maxwell (1987) for DISC, Perez et al. (1992) for DIRINT; see disc.h,
// clearness.h, dirint_bins.h and dirint_coefficient.h for the steps.
#pragma once

#include <optional>

#include "solar/clearness.h"
#include "solar/dirint_coefficient.h"
#include "solar/solvane.h"

namespace solvane {

enum class EstimateOutcome {
  kLowGlobal,  // global irradiance below 1 W/m2 (or not a number): result 0
  kNight,      // cosine of the zenith angle below 0: result 0
  kEstimated,  // the model ran
};

struct DirectNormalEstimate {
  EstimateOutcome outcome = EstimateOutcome::kLowGlobal;
  float extraterrestrial = 0.0f;  // I0, W/m2
  HourClearness previous;         // hour before; ktPrime kMissing when it takes no part
  HourClearness current;          // the hour being estimated
  HourClearness next;             // hour after; ktPrime kMissing when it takes no part
  std::optional<float> stability;  // dKt'; none when neither neighbour has a Kt'
  std::optional<float> waterCm;    // precipitable water; none when the dew point is missing
  DirintBins bins;
  float disc = 0.0f;         // DISC direct normal, W/m2
  float coefficient = 0.0f;  // DIRINT coefficient X
  float directNormal = 0.0f;  // the estimate, W/m2, never negative
};

// Estimates the direct-normal irradiance of the hour described by record. Pure: reads
// nothing else and keeps no state between calls.
DirectNormalEstimate EstimateDirectNormal(const SolarRecord& record);

}  // namespace solvane
