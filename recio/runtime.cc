// Start of a run and the body's frame. Every way a run can end (the body's
// return, a run-time error, an interrupt, exhausted memory) arrives here or at
// `endRun`, and the units are closed exactly once before the process ends, so
// no record is lost.
#include "recio/runtime.h"

#include <cstdlib>
#include <new>
#include <string>

#include "recio/console.h"
#include "recio/console_input.h"
#include "recio/errors.h"
#include "recio/platform/platform.h"
#include "recio/report_unit.h"
#include "recio/run_end.h"
#include "recio/shell.h"

namespace recio {
namespace {

// The out-of-memory report, built before the body runs so that reporting
// exhausted memory needs none.
const std::string& outOfMemoryReport() {
  static const std::string report = formatErrorReport(ErrorCode::outOfMemory, Statement::none);
  return report;
}

// The new-handler: memory is exhausted, so the run ends at once with the
// out-of-memory report, without unwinding and without asking for more memory.
void endRunOutOfMemory() {
  std::set_new_handler(nullptr);
  platform().writeStd(StdStream::error, outOfMemoryReport());
  std::exit(finishRun(kErrorEnd));
}

// Runs the body; its return is a normal end.
RunEnd runBody(int argumentCount, const char* const* arguments, int (*body)()) {
#if defined(__cpp_exceptions)
  try {
    startRun(argumentCount, arguments);
    return RunEnd{body(), 0};
  } catch (const RunEnd& end) {
    return end;
  }
#else
  startRun(argumentCount, arguments);
  return RunEnd{body(), 0};
#endif
}

}  // namespace

void startRun(int argumentCount, const char* const* arguments) {
  resetConsole();
  resetConsoleInput();
  resetUnits(argumentCount, arguments);
  resetShell();
}

int runProgram(int argumentCount, const char* const* arguments, int (*body)(),
               bool returnOnInterrupt) {
  setInterruptEndsProcess(!returnOnInterrupt);
  if (!returnOnInterrupt) platform().catchInterrupts();
  outOfMemoryReport();
  std::new_handler previous = std::set_new_handler(endRunOutOfMemory);
  int status = finishRun(runBody(argumentCount, arguments, body));
  std::set_new_handler(previous);
  return status;
}

}  // namespace recio
