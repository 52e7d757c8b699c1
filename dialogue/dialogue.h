// The mix-design dialogue: the program's own procedure from the opening
// banner to the closing screen, twelve stages in a fixed order over one
// `MixState`. It returns 0 at its normal end; every failure ends the run
// inside the run-time. The stages tell a memo each answer and result they store.
#ifndef DOSMO_DIALOGUE_DIALOGUE_H_
#define DOSMO_DIALOGUE_DIALOGUE_H_

#include <cstdint>
#include <functional>

#include "dialogue/mix_state.h"

namespace dosmo {

// Every figure a run can store for its memo, each declared once. The figures
// of a coarse gradation (marked "per gradation") are stored once for each.
enum class MemoKey : int {
  // Answers.
  fck,
  deviation,
  slump,
  maxSize,
  shapeFactor,
  ratioRoute,
  cementClass,
  keepSuggested,
  typedRatio,
  airAnswer,
  coarseCount,
  coarsePercent,   // per gradation
  sandUnitMass,
  coarseUnitMass,  // per gradation
  // Results.
  controlLevel,    // 1 rigorous, 2 medium, 3 low
  fc28,
  slumpPower,      // in double precision
  sizePower,       // in double precision
  waterContent,
  cementColumn,    // 1 CP25, 2 CP32, 3 CP40
  strengthRow,     // 0 when no row reaches fc28
  tableStrength,
  suggestedRatio,
  wcRatio,
  cementContent,
  sizeAboveTable,  // 1 when the maximum size is above the last row
  sizeRow,
  tableSize,
  airColumn,       // 1 no entrained air, 2 entrained air
  airVolume,
  sandPercent,
  cementVolume,    // in double precision
  aggregateVolume,
  sandMass,
  sandVolume,
  coarseMass,      // per gradation
  coarseVolume,    // per gradation
  cementRatio,
  sandRatio,
  coarseRatio,     // per gradation
  sandHeight,      // before the two-box test
  sandBoxes,
  sandBoxHeight,   // of each box
  coarseHeight,    // per gradation, before the two-box test
  coarseBoxes,     // per gradation
  coarseBoxHeight, // per gradation, of each box
  waterPerBag,
  count,           // not a figure: the number of keys
};

inline constexpr int kMemoKeyCount = static_cast<int>(MemoKey::count);

// A stored figure's place: its key and, for a per-gradation figure, the
// gradation numbered from 1 (0 for every other figure).
struct MemoSlot {
  MemoSlot(MemoKey key, int gradation = 0) : key(key), gradation(gradation) {}  // NOLINT: implicit
  MemoKey key;
  int gradation;
  bool operator==(const MemoSlot&) const = default;
};

// What the stages tell the memo as they store a figure. An answer asked again
// is told again.
class MemoSink {
 public:
  virtual void answer(MemoSlot slot, float value) = 0;
  virtual void answer(MemoSlot slot, std::int32_t value) = 0;
  virtual void result(MemoSlot slot, float value) = 0;
  virtual void result(MemoSlot slot, std::int32_t value) = 0;
  // A step inside a formula, held in double precision.
  virtual void intermediate(MemoSlot slot, double value) = 0;

 protected:
  ~MemoSink() = default;
};

// Runs the whole dialogue on `state`, telling `memo` every answer and result
// as the stages store them, and returns 0; `beforeClosingScreen`, when given,
// is called once the report is complete, before the closing screen and its
// pause.
int runDialogue(MixState& state, MemoSink& memo,
                const std::function<void()>& beforeClosingScreen = {});

// Runs the whole dialogue on `state` and returns 0.
int runDialogue(MixState& state);

// Runs the whole dialogue on a fresh state and returns 0 (the program's body).
int runDialogue();

}  // namespace dosmo

#endif  // DOSMO_DIALOGUE_DIALOGUE_H_
