// What the memo tells of the run besides its figures: the report it goes
// with, the program's version, when the run was made and, when asked for, the
// volume of concrete to order for.
#ifndef DOSMO_MEMO_RUN_FACTS_H_
#define DOSMO_MEMO_RUN_FACTS_H_

#include <cstdint>
#include <optional>
#include <string>

namespace dosmo {

// A volume of concrete to pour and the loss allowance to order it with.
struct OrderVolume {
  double cubicMetres = 0;
  double lossPercent = 0;
};

struct RunFacts {
  std::string reportName;     // UTF-8
  std::string version;
  std::int64_t epochSeconds = 0;  // the time of the run, seconds since 1970-01-01 UTC
  std::optional<OrderVolume> order;
};

// "08/12/2026 06:45 UTC" for the text memo.
std::string shownDateTime(std::int64_t epochSeconds);

// "2026-12-08T06:45:00Z" for the data memo.
std::string isoDateTime(std::int64_t epochSeconds);

}  // namespace dosmo

#endif  // DOSMO_MEMO_RUN_FACTS_H_
