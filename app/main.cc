// The program's entry: hands the command line to the run-time, which runs the
// mix-design dialogue and ends the process with its status.
#include "dialogue/dialogue.h"
#include "recio/runtime.h"

int main(int argc, char** argv) {
  return recio::runProgram(argc - 1, argv + 1, [] { return dosmo::runDialogue(); });
}
