// The mix-design dialogue: the program's own procedure from the opening
// banner to the closing screen, twelve stages in a fixed order over one
// `MixState`. It returns 0 at its normal end; every failure ends the run
// inside the run-time.
#ifndef DOSMO_DIALOGUE_DIALOGUE_H_
#define DOSMO_DIALOGUE_DIALOGUE_H_

#include "memo/record.h"
#include "dialogue/mix_state.h"

namespace dosmo {

// Runs the whole dialogue on `state`, keeping every answer and result in
// `memo` as the stages store them, and returns 0.
int runDialogue(MixState& state, MemoRecord& memo);

// Runs the whole dialogue on `state` and returns 0.
int runDialogue(MixState& state);

// Runs the whole dialogue on a fresh state and returns 0 (the program's body).
int runDialogue();

}  // namespace dosmo

#endif  // DOSMO_DIALOGUE_DIALOGUE_H_
