// The end of a run. Every run-time error report and every interrupt ends the
// run through `endRun`, so the units are closed on every path: where the
// program is built with exceptions the end travels up to `runProgram` (and
// tests can catch it); where it is built without, the end is carried out at once.
#ifndef DOSMO_RECIO_RUN_END_H_
#define DOSMO_RECIO_RUN_END_H_

#include <cstddef>

#include "recio/platform/platform.h"

namespace recio {

// The run is over: `status` is the exit status, or `signalNumber` is the
// interrupt that ended it (0 when none).
struct RunEnd {
  int status = 0;
  int signalNumber = 0;
};

// The end after a run-time error report: status 1.
inline constexpr RunEnd kErrorEnd{1, 0};

// Ends the run. With exceptions, throws `end` to `runProgram`; without, closes
// the units and ends the process as `runProgram` would have: with the same
// status and bytes, or by the same interrupt.
[[noreturn]] void endRun(RunEnd end);

// Ends the run when an interrupt has arrived (see `Platform::pendingInterrupt`).
void endRunIfInterrupted();

// Whether an interrupt ends the process once the units are closed (the
// program), or only gives its status back to the caller (tests, fuzz targets).
void setInterruptEndsProcess(bool endsProcess);

// Closes every unit and gives the status the run ends with: a report that
// could not be written out at the end is a failed run, even after the body
// itself ended normally. An interrupt that ended the run ends the process
// here, unless it is to be returned.
int finishRun(RunEnd end);

// One read of standard input through the platform in use; an interrupt that
// broke into it ends the run, so the caller sees bytes, the end or a failure.
ReadResult readInputOrEnd(char* buffer, std::size_t capacity);

}  // namespace recio

#endif  // DOSMO_RECIO_RUN_END_H_
