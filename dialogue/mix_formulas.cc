// The mix-design formulas. Every step goes through the checked arithmetic in
// double precision, in the order the method prescribes, and the result is
// rounded once to single precision when it is stored.
#include "dialogue/mix_formulas.h"

#include "recio/fpmath.h"

namespace dosmo {

using recio::fpAdd;
using recio::fpDiv;
using recio::fpMul;
using recio::fpPow;
using recio::fpStore;
using recio::fpSub;

ControlLevel controlLevelOf(float deviationSd) {
  if (deviationSd <= 4.0f) return ControlLevel::rigorous;
  if (deviationSd <= 5.5f) return ControlLevel::medium;
  return ControlLevel::low;
}

float targetStrength(float fck, float deviationSd) {
  return fpStore(fpAdd(fpMul(deviationSd, 1.65f), fck));
}

float waterContentFor(float slumpCm, float maxAggregateMm, float shapeFactor,
                      WaterPowers* powers) {
  const double slumpPower = fpPow(fpMul(slumpCm, 10.0f), 0.1f);
  const double numerator = fpMul(fpMul(slumpPower, shapeFactor), 218.0f);
  const double sizePower = fpPow(maxAggregateMm, 0.18f);
  if (powers != nullptr) *powers = WaterPowers{slumpPower, sizePower};
  return fpStore(fpDiv(numerator, sizePower));
}

float cementContentFor(float waterContent, float wcRatio) {
  return fpStore(fpDiv(waterContent, wcRatio));
}

float aggregateVolumeFor(float cementContent, float waterContent, float airVolume,
                         double* cementVolume) {
  const double cement = fpDiv(cementContent, 3.15f);
  if (cementVolume != nullptr) *cementVolume = cement;
  return fpStore(fpSub(fpSub(fpSub(1000.0f, cement), waterContent), airVolume));
}

float absoluteVolumeFor(float sharePercent, float aggregateVolume) {
  return fpStore(fpDiv(fpMul(aggregateVolume, sharePercent), 100.0f));
}

float sandMassFor(float aggregateVolume, float sandPercent) {
  return fpStore(fpDiv(fpMul(fpMul(aggregateVolume, sandPercent), 2.64f), 100.0f));
}

float coarseMassFor(float coarsePercent, float aggregateVolume) {
  return fpStore(fpDiv(fpMul(fpMul(coarsePercent, aggregateVolume), 2.7f), 100.0f));
}

float mixRatio(float mass, float cementContent) { return fpStore(fpDiv(mass, cementContent)); }

float boxHeightFor(float ratio, float unitMass) {
  return fpStore(fpDiv(fpDiv(fpMul(ratio, 500.0f), unitMass), 15.75f));
}

bool needsTwoBoxes(float boxHeight) { return boxHeight > 35.0f; }

float halfHeight(float boxHeight) { return fpStore(fpDiv(boxHeight, 2.0f)); }

float waterPerBagFor(float wcRatio) { return fpStore(fpMul(wcRatio, 50.0f)); }

}  // namespace dosmo
