// Fuzz target for the whole mix-design dialogue. The first byte picks the
// stream kinds, the faults and whether the report file name comes from the
// command line; the rest is what standard input delivers as the answers.
// Files live in memory and shell commands are recorded, never run. The run
// also writes the calculation memo, so its writers meet every value too.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "app/memo_files.h"
#include "fuzz/fuzz_platform.h"
#include "recio/runtime.h"

namespace {

int dialogueBody() { return dosmo::runDialogueWithMemo(); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  const std::uint8_t flags = data[0];
  // The command-line argument takes the place of a missing name only, so it
  // matters when the typed name is blank.
  const char* const arguments[] = {"arg.txt"};
  const int argumentCount = (flags & 0x04) != 0 ? 1 : 0;
  std::string_view input(reinterpret_cast<const char*>(data + 1), size - 1);

  fuzzing::MemoryPlatform host;
  fuzzing::prepare(host, flags, input);
  recio::setPlatform(&host);
  const int status = recio::runProgram(argumentCount, arguments, dialogueBody, true);
  recio::setPlatform(nullptr);
  // A run ends normally or by a run-time error, and leaves no file open.
  if (status != 0 && status != 1) std::abort();
  if (host.openHandles() != 0) std::abort();
  return 0;
}
