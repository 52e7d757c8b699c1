// The run that also writes the calculation memo: the same dialogue, then, at
// a normal end of a run whose report went to a disk file, the text memo and
// the data memo beside the report, named after it.
#ifndef DOSMO_APP_MEMO_FILES_H_
#define DOSMO_APP_MEMO_FILES_H_

#include <string>
#include <optional>
#include <string_view>

#include "memo/run_facts.h"

namespace dosmo {

// The report's name without its extension (what follows the last full stop
// after the last slash or backslash), then "-memorial": "dir/rel.txt" gives
// "dir/rel-memorial", "rel" gives "rel-memorial".
std::string memoFileStem(std::string_view reportName);

// The volume the next memo run orders for (--volume and --perda), or none.
void orderWithMemo(const std::optional<OrderVolume>& order);

// Runs the dialogue and leaves the two memo files for the run's normal end;
// returns 0.
int runDialogueWithMemo();

}  // namespace dosmo

#endif  // DOSMO_APP_MEMO_FILES_H_
