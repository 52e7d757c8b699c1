// The formulas of the mix design, one small function per named result. Each
// works through the checked arithmetic (so a division by zero, an invalid
// operation or an overflow ends the run) and rounds its result once to
// single precision; constants are the single-precision values nearest to
// their decimals.
#ifndef DOSMO_DIALOGUE_MIX_FORMULAS_H_
#define DOSMO_DIALOGUE_MIX_FORMULAS_H_

namespace dosmo {

// Level of technological control chosen by the typed standard deviation.
enum class ControlLevel { rigorous, medium, low };

// At most 4 MPa is rigorous control, at most 5.5 MPa medium, above that low.
ControlLevel controlLevelOf(float deviationSd);

// Target mean strength at 28 days: fck + 1.65 x deviation, in MPa.
float targetStrength(float fck, float deviationSd);

// The two powers of the water formula, as the formula held them.
struct WaterPowers {
  double slumpPower = 0;  // (10 x slump)^0.1
  double sizePower = 0;   // (maximum size)^0.18
};

// Water in l/m3: 218 x shape x (10 x slump)^0.1 / (maximum size)^0.18. The
// powers are also left in `powers` when one is given.
float waterContentFor(float slumpCm, float maxAggregateMm, float shapeFactor,
                      WaterPowers* powers = nullptr);

// Cement in kg/m3: water / water-cement ratio.
float cementContentFor(float waterContent, float wcRatio);

// Volume left for the aggregates in dm3/m3: 1000 - cement / 3.15 - water - air.
// The cement's own volume, cement / 3.15, is also left in `cementVolume`.
float aggregateVolumeFor(float cementContent, float waterContent, float airVolume,
                         double* cementVolume = nullptr);

// Absolute volume in dm3/m3 of an aggregate given its share of the aggregate
// volume: aggregate volume x share / 100.
float absoluteVolumeFor(float sharePercent, float aggregateVolume);

// Sand in kg/m3: aggregate volume x sand share x 2.64 / 100.
float sandMassFor(float aggregateVolume, float sandPercent);

// One coarse gradation in kg/m3: its share x aggregate volume x 2.7 / 100.
float coarseMassFor(float coarsePercent, float aggregateVolume);

// Part of a material in the mix by weight: its mass / the cement content.
float mixRatio(float mass, float cementContent);

// Height in cm of one 45 x 35 cm box holding a material for one 50 kg bag:
// ratio x 500 / unit mass / 15.75.
float boxHeightFor(float ratio, float unitMass);

// A box taller than 35 cm is split into two boxes of half the height.
bool needsTwoBoxes(float boxHeight);

// The height of each of the two boxes.
float halfHeight(float boxHeight);

// Litres of water for one 50 kg bag: water-cement ratio x 50.
float waterPerBagFor(float wcRatio);

}  // namespace dosmo

#endif  // DOSMO_DIALOGUE_MIX_FORMULAS_H_
