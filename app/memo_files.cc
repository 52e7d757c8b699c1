// The memo files beside the report: written from the record the stages
// filled, named after the report as the run opened it, and left to the run's
// end so that a run ending in an error leaves none.
#include "app/memo_files.h"

#include <optional>

#include "dialogue/dialogue.h"
#include "memo/json.h"
#include "memo/text.h"
#include "recio/record_sink.h"
#include "recio/report_unit.h"
#include "recio/utf8.h"

namespace dosmo {

std::string memoFileStem(std::string_view reportName) {
  const std::size_t folder = reportName.find_last_of("/\\");
  const std::size_t dot = reportName.rfind('.');
  const bool hasExtension =
      dot != std::string_view::npos && (folder == std::string_view::npos || dot > folder);
  return std::string(hasExtension ? reportName.substr(0, dot) : reportName) + "-memorial";
}

int runDialogueWithMemo() {
  MixState state;
  MemoRecord memo;
  runDialogue(state, memo);
  const std::optional<std::string> reportName = recio::unitFileName(recio::kReportUnit);
  if (!reportName) return 0;  // the report went to a device
  std::string shownName;
  recio::appendAsUtf8(*reportName, shownName);
  const std::string stem = memoFileStem(*reportName);
  recio::writeFileAtNormalEnd(stem + ".txt", memoText(memo, shownName, DOSMO_VERSION));
  recio::writeFileAtNormalEnd(stem + ".json", memoJson(memo, shownName, DOSMO_VERSION));
  return 0;
}

}  // namespace dosmo
