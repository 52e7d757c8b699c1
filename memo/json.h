// The calculation memo as data: every answer and every result of the run
// under its stable key, each number with its unit, and the composition of one
// cubic metre by absolute volumes, as JSON (UTF-8, no byte-order mark).
#ifndef DOSMO_MEMO_JSON_H_
#define DOSMO_MEMO_JSON_H_

#include <string>
#include <string_view>

#include "memo/record.h"
#include "memo/run_facts.h"

namespace dosmo {

// `text` as a JSON string, quotes included; `text` is UTF-8.
std::string jsonString(std::string_view text);

// The version of the data memo's layout, its "formato"; a change that a
// reader must know of (a field renamed, moved or retyped) takes the next.
inline constexpr int kMemoJsonFormat = 2;

// The data memo of `memo` for the run `facts` tell of (names in UTF-8).
std::string memoJson(const MemoRecord& memo, const RunFacts& facts);

}  // namespace dosmo

#endif  // DOSMO_MEMO_JSON_H_
