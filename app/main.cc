// The program's entry: hands the command line to the run-time, which runs the
// mix-design dialogue (or, for --help and --version as the first argument,
// the informative text; for --memorial, with --volume and --perda, the
// dialogue that also writes the calculation memo, the other arguments keeping
// their role; for a misused memo option, its refusal) and ends the process
// with its status.
#include <string>

#include "app/memo_files.h"
#include "app/memo_options.h"
#include "app/usage.h"
#include "dialogue/dialogue.h"
#include "recio/errors.h"
#include "recio/runtime.h"

namespace {

std::string refusal;

// Says why the command line is refused, before any question.
int refuse() {
  recio::writeErrorLines(refusal);
  return dosmo::kRefusedStatus;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1) {
    if (int (*run)() = dosmo::informativeRun(argv[1])) return recio::runProgram(0, nullptr, run);
  }
  const dosmo::MemoOptions options = dosmo::parseMemoOptions(argc - 1, argv + 1);
  if (!options.refusal.empty()) {
    refusal = options.refusal;
    return recio::runProgram(0, nullptr, refuse);
  }
  const int rest = argc - 1 - options.used;
  char** const restArguments = argv + 1 + options.used;
  if (options.memo) {
    dosmo::orderWithMemo(options.order);
    return recio::runProgram(rest, restArguments, dosmo::runDialogueWithMemo);
  }
  return recio::runProgram(rest, restArguments, [] { return dosmo::runDialogue(); });
}
