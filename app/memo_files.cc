// The memo files beside the report: written from the record the stages
// filled, named after the report as the run opened it, and left to the run's
// end so that a run ending in an error leaves none.
#include "app/memo_files.h"

#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <optional>

#include "dialogue/dialogue.h"
#include "memo/json.h"
#include "memo/text.h"
#include "recio/platform/platform.h"
#include "recio/record_sink.h"
#include "recio/report_unit.h"
#include "recio/platform/utf8.h"

namespace dosmo {

std::string memoFileStem(std::string_view reportName) {
  const std::size_t folder = reportName.find_last_of("/\\");
  const std::size_t dot = reportName.rfind('.');
  const bool hasExtension =
      dot != std::string_view::npos && (folder == std::string_view::npos || dot > folder);
  return std::string(hasExtension ? reportName.substr(0, dot) : reportName) + "-memorial";
}

namespace {

std::optional<OrderVolume> memoOrder;

// The time the memo names: SOURCE_DATE_EPOCH (whole seconds since 1970 UTC)
// when it is set, so that a memo can be made again byte for byte; else now.
std::int64_t runTime() {
  if (const std::optional<std::string> fixed = recio::platform().environment("SOURCE_DATE_EPOCH")) {
    char* end = nullptr;
    const long long seconds = std::strtoll(fixed->c_str(), &end, 10);
    if (end != fixed->c_str() && *end == '\0') return seconds;
  }
  return static_cast<std::int64_t>(std::time(nullptr));
}

}  // namespace

void orderWithMemo(const std::optional<OrderVolume>& order) { memoOrder = order; }

int runDialogueWithMemo() {
  MixState state;
  MemoRecord memo;
  runDialogue(state, memo);
  const std::optional<std::string> reportName = recio::unitFileName(recio::kReportUnit);
  if (!reportName) return 0;  // the report went to a device
  std::string shownName;
  recio::appendAsUtf8(*reportName, shownName);
  const std::string stem = memoFileStem(*reportName);
  const RunFacts facts{shownName, DOSMO_VERSION, runTime(), memoOrder};
  recio::writeFileAtNormalEnd(stem + ".txt", memoText(memo, facts));
  recio::writeFileAtNormalEnd(stem + ".json", memoJson(memo, facts));
  return 0;
}

}  // namespace dosmo
