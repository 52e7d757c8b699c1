// The program's entry: hands the command line to the run-time, which runs the
// mix-design dialogue (or, for --help and --version as the first argument,
// the informative text; for --memorial, the dialogue that also writes the
// calculation memo, the other arguments keeping their role) and ends the
// process with its status.
#include <string_view>

#include "app/usage.h"
#include "dialogue/dialogue.h"
#include "app/memo_files.h"
#include "recio/runtime.h"

int main(int argc, char** argv) {
  if (argc > 1) {
    if (int (*run)() = dosmo::informativeRun(argv[1])) return recio::runProgram(0, nullptr, run);
    if (std::string_view(argv[1]) == "--memorial") {
      return recio::runProgram(argc - 2, argv + 2, dosmo::runDialogueWithMemo);
    }
  }
  return recio::runProgram(argc - 1, argv + 1, [] { return dosmo::runDialogue(); });
}
