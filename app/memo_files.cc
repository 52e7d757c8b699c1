// The memo files beside the report: written from the record the stages
// filled, named after the report as the run opened it, once the report is
// complete and before the closing pause, both put in place whole or neither.
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
#include "recio/whole_files.h"
#include "recio/platform/utf8.h"

namespace dosmo {

std::string memoFileStem(std::string_view reportName) {
  const std::size_t folder = reportName.find_last_of("/\\");
  const std::size_t base = folder == std::string_view::npos ? 0 : folder + 1;
  const std::size_t dot = reportName.rfind('.');
  // A dot that begins the name's last part starts a hidden name, not an
  // extension: ".txt" gives ".txt-memorial", never "-memorial".
  const bool hasExtension = dot != std::string_view::npos && dot > base;
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

// Writes both memo files beside the report, unless the report went to a device.
void writeMemoFiles(const MemoRecord& memo) {
  const std::optional<std::string> reportName = recio::unitFileName(recio::kReportUnit);
  if (!reportName) return;
  std::string shownName;
  recio::appendAsUtf8(*reportName, shownName);
  const std::string stem = memoFileStem(*reportName);
  const RunFacts facts{shownName, DOSMO_VERSION, runTime(), memoOrder};
  recio::replaceFilesWhole(recio::kReportUnit,
                           {{stem + ".txt", memoText(memo, facts)}, {stem + ".json", memoJson(memo, facts)}});
}

}  // namespace

void orderWithMemo(const std::optional<OrderVolume>& order) { memoOrder = order; }

int runDialogueWithMemo() {
  MixState state;
  MemoRecord memo;
  return runDialogue(state, memo, [&memo] { writeMemoFiles(memo); });
}

}  // namespace dosmo
