// The end of a run: carried to `runProgram` as an exception where the
// program has them, else carried out where it happens; either way the units
// are closed once, with interrupts held, before the process ends.
#include "recio/run_end.h"

#include <cstdlib>

#include "recio/report_unit.h"

namespace recio {
namespace {

bool interruptEndsProcess = true;

}  // namespace

void setInterruptEndsProcess(bool endsProcess) { interruptEndsProcess = endsProcess; }

// The run is already ending, so an interrupt arriving while the units close
// waits until they are closed and changes nothing: a run ended by an
// interrupt ends by the first one.
int finishRun(RunEnd end) {
  platform().holdInterrupts();
  const bool closed = closeAllUnits();
  platform().releaseInterrupts();
  if (!closed && end.status == 0) end.status = 1;
  if (end.signalNumber != 0 && interruptEndsProcess) platform().endByInterrupt(end.signalNumber);
  return end.status;
}

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

}  // namespace recio
