// The calculation memo as text: the answers with their meaning, every step of
// the run in the order of the dialogue (formula, the numbers put in, the
// result) and the consumption per cubic metre, in Portuguese. UTF-8 with a
// byte-order mark and CR LF line ends, so it opens as it is in the editors of
// every host; numbers with the decimal comma, rounded as the report prints them.
#ifndef DOSMO_MEMO_TEXT_H_
#define DOSMO_MEMO_TEXT_H_

#include <string>
#include <string_view>

#include "memo/record.h"
#include "memo/run_facts.h"

namespace dosmo {

// The text memo of `memo` for the run `facts` tell of (names in UTF-8).
// Only the steps the record holds are written.
std::string memoText(const MemoRecord& memo, const RunFacts& facts);

}  // namespace dosmo

#endif  // DOSMO_MEMO_TEXT_H_
