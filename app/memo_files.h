// The run that also writes the calculation memo: the same dialogue and, when
// its report went to a disk file, the text memo and the data memo beside the
// report, named after it, before the closing pause.
#ifndef DOSMO_APP_MEMO_FILES_H_
#define DOSMO_APP_MEMO_FILES_H_

#include <string>
#include <optional>
#include <string_view>

#include "memo/run_facts.h"

namespace dosmo {

// The report's name without its extension (what follows the last full stop
// after the last slash or backslash, unless that stop begins the name's last
// part), then "-memorial": "dir/rel.txt" gives "dir/rel-memorial", "rel"
// gives "rel-memorial", ".txt" gives ".txt-memorial".
std::string memoFileStem(std::string_view reportName);

// The volume the next memo run orders for (--volume and --perda), or none.
void orderWithMemo(const std::optional<OrderVolume>& order);

// Runs the dialogue and, once the report is complete and before the closing
// screen, writes the two memo files beside it; returns 0.
int runDialogueWithMemo();

}  // namespace dosmo

#endif  // DOSMO_APP_MEMO_FILES_H_
