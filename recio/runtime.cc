// Start and end of a run. Every way a run can end (the body's return, a
// run-time error, an interrupt, exhausted memory) arrives here, and the units
// are closed exactly once before the process ends, so no record is lost. This
// is the only place that knows whether the program is built with exceptions.
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

// Whether an interrupt ends the process once the units are closed, or only
// gives its status back to the caller of `runProgram` (tests and fuzz targets).
bool interruptEndsProcess = true;

// The out-of-memory report, built before the body runs so that reporting
// exhausted memory needs none.
const std::string& outOfMemoryReport() {
  static const std::string report = formatErrorReport(ErrorCode::outOfMemory, Statement::none);
  return report;
}

// Closes every unit and gives the status the run ends with: a report that
// could not be written out at the end is a failed run, even after the body
// itself ended normally. The run is already ending, so an interrupt arriving
// while the units close waits until they are closed and changes nothing: a
// run ended by an interrupt ends by the first one, here unless it is to be
// returned.
int finishRun(RunEnd end) {
  platform().holdInterrupts();
  const bool closed = closeAllUnits(end.status == 0 && end.signalNumber == 0);
  platform().releaseInterrupts();
  if (!closed && end.status == 0) end.status = 1;
  if (end.signalNumber != 0 && interruptEndsProcess) platform().endByInterrupt(end.signalNumber);
  return end.status;
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

void endRun(RunEnd end) {
#if defined(__cpp_exceptions)
  throw end;
#else
  std::exit(finishRun(end));
#endif
}

void endRunIfInterrupted() {
  int signalNumber = platform().pendingInterrupt();
  if (signalNumber != 0) endRun(RunEnd{128 + signalNumber, signalNumber});
}

ReadResult readInputOrEnd(char* buffer, std::size_t capacity) {
  ReadResult got = platform().readInput(buffer, capacity);
  if (got.interrupted) endRunIfInterrupted();
  return got;
}

void startRun(int argumentCount, const char* const* arguments) {
  resetConsole();
  resetConsoleInput();
  resetUnits(argumentCount, arguments);
  resetShell();
}

int runProgram(int argumentCount, const char* const* arguments, int (*body)(),
               bool returnOnInterrupt) {
  interruptEndsProcess = !returnOnInterrupt;
  if (interruptEndsProcess) platform().catchInterrupts();
  outOfMemoryReport();
  std::new_handler previous = std::set_new_handler(endRunOutOfMemory);
  int status = finishRun(runBody(argumentCount, arguments, body));
  std::set_new_handler(previous);
  return status;
}

}  // namespace recio
