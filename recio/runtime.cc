// Start and end of a run. Every way a run can end (the body's return, a
// run-time error, an interrupt, exhausted memory) arrives here, and the units
// are closed exactly once before the process ends, so no record is lost.
#include "recio/runtime.h"

#include <new>

#include "recio/console.h"
#include "recio/console_input.h"
#include "recio/errors.h"
#include "recio/platform.h"
#include "recio/report_unit.h"
#include "recio/run_end.h"

namespace recio {
namespace {

// Closes the units; an interrupt arriving meanwhile does not stop the close.
// False when closing reported an error.
bool closeUnitsAtEnd() {
  try {
    return closeAllUnits();
  } catch (const RunEnd&) {
    return true;
  }
}

}  // namespace

void startRun(int argumentCount, const char* const* arguments) {
  resetConsole();
  resetConsoleInput();
  resetUnits(argumentCount, arguments);
}

int runProgram(int argumentCount, const char* const* arguments, int (*body)(),
               bool returnOnInterrupt) {
  if (!returnOnInterrupt) installInterruptHandlers();
  int status = 0;
  int signalNumber = 0;
  try {
    startRun(argumentCount, arguments);
    status = body();
  } catch (const RunEnd& end) {
    status = end.status;
    signalNumber = end.signalNumber;
  } catch (const std::bad_alloc&) {
    writeErrorReport(ErrorCode::outOfMemory, Statement::none);
    status = 1;
  }
  // A report that could not be written out at the end is a failed run, even
  // after the dialogue itself ended normally.
  if (!closeUnitsAtEnd() && status == 0) status = 1;
  if (signalNumber != 0 && !returnOnInterrupt) endByInterrupt(signalNumber);
  return status;
}

}  // namespace recio
