// Start-up and end of a run: prepares the console connections, the units and
// the interrupt handling, runs the program body, and on every end (normal,
// run-time error or interrupt) closes the units before the process ends.
#ifndef DOSMO_RECIO_RUNTIME_H_
#define DOSMO_RECIO_RUNTIME_H_

namespace recio {

// Resets every part of the run-time to its start-of-run state on the current
// platform; `arguments` are the command-line arguments after the program name.
void startRun(int argumentCount, const char* const* arguments);

// Runs `body` after `startRun`, closes every unit at its end, and returns the
// exit status (0 after a normal end, 1 after a run-time error). An interrupt
// ends the process by that interrupt once the units are closed, unless
// `returnOnInterrupt` is set, when its number plus 128 is returned instead.
// Exhausted memory ends the process where it happens, with the out-of-memory
// report and status 1, after the units are closed.
int runProgram(int argumentCount, const char* const* arguments, int (*body)(),
               bool returnOnInterrupt = false);

}  // namespace recio

#endif  // DOSMO_RECIO_RUNTIME_H_
