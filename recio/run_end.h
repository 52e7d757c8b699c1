// The end of a run, carried up to the entry point as an exception so that the
// close-all of the units runs on every path and tests can catch the end.
// Thrown only by the run-time (error reports and interrupts), never by the dialogue.
#ifndef DOSMO_RECIO_RUN_END_H_
#define DOSMO_RECIO_RUN_END_H_

namespace recio {

// The run is over: `status` is the exit status, or `signalNumber` is the
// interrupt that ended it (0 when none).
struct RunEnd {
  int status = 0;
  int signalNumber = 0;
};

}  // namespace recio

#endif  // DOSMO_RECIO_RUN_END_H_
