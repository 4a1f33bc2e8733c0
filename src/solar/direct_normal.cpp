#include "solar/direct_normal.h"

#include "solar/dirint_bins.h"
#include "solar/disc.h"

namespace solvane {

DirectNormalEstimate EstimateDirectNormal(const SolarRecord& record) {
  DirectNormalEstimate est;

  // Also refuses a global value that is not a number, which would otherwise run through.
  if (!(record.Global >= 1.0f)) {
    est.outcome = EstimateOutcome::kLowGlobal;
    return est;
  }

  est.extraterrestrial = ExtraterrestrialNormal(record.DayOfYear);
  const float i0 = est.extraterrestrial;
  const float elevation = record.ElevationM;
  est.previous = EvaluateNeighbour(record.GlobalPrev, record.CosZenithPrev, i0, elevation);
  est.current = EvaluateHour(record.Global, record.CosZenith, i0, elevation);
  est.next = EvaluateNeighbour(record.GlobalNext, record.CosZenithNext, i0, elevation);

  if (record.CosZenith < 0.0f) {
    est.outcome = EstimateOutcome::kNight;
    return est;
  }
  est.outcome = EstimateOutcome::kEstimated;

  est.disc = DiscDirectNormal(est.current.kt, est.current.airMass, i0);

  est.stability =
      StabilityIndex(est.previous.ktPrime, est.current.ktPrime, est.next.ktPrime);
  if (!IsMissing(record.DewPointC)) est.waterCm = PrecipitableWater(record.DewPointC);

  est.bins.kt = KtPrimeBin(est.current.ktPrime);
  est.bins.zenith = ZenithBin(est.current.zenithDeg);
  est.bins.delta = StabilityBin(est.stability);
  est.bins.water = WaterBin(est.waterCm);

  est.coefficient = DirintCoefficient(est.bins, est.current.ktPrime, est.current.zenithDeg,
                                      est.waterCm.value_or(0.0f));

  const float result = est.disc * est.coefficient;
  est.directNormal = result > 0.0f ? result : 0.0f;  // negative (or not a number): 0
  return est;
}

}  // namespace solvane
