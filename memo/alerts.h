// The memo's alerts: the figures of a run that mislead if read without a
// remark (a batch box still too tall, a height at the one-or-two-box limit,
// volumes that do not make a cubic metre, a ratio the strength table does not
// back, a report field shown as asterisks, a quantity that is not positive).
// Each says what the figure means and what to check; none changes the report.
#ifndef DOSMO_MEMO_ALERTS_H_
#define DOSMO_MEMO_ALERTS_H_

#include <string>
#include <vector>

#include "memo/record.h"

namespace dosmo {

struct Alert {
  std::string code;  // stable, ASCII: "padiola_acima_de_35"...
  std::string text;  // plain Portuguese, UTF-8, one paragraph
};

// The alerts of a run, read from its record alone, in the order of the memo.
std::vector<Alert> alertsOf(const MemoRecord& memo);

}  // namespace dosmo

#endif  // DOSMO_MEMO_ALERTS_H_
