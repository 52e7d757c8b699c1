// Units connected to files or devices (the report is unit 3): opening by
// name, buffered record output with CR LF after every record, and the
// close-all that runs once at the end of every run. An existing file is cut
// only when the first output statement on its unit begins.
#ifndef DOSMO_RECIO_REPORT_UNIT_H_
#define DOSMO_RECIO_REPORT_UNIT_H_

#include <cstdint>
#include <optional>
#include <string>

namespace recio {

class RecordSink;

// The sink of a connected unit, or nullptr when the unit is not connected.
RecordSink* unitSink(int unit);

// Connects `unit` to the file or device named by the first `length` bytes of
// `name` (cut at a zero byte, trimmed of blanks). A missing name is taken from
// the next unused command-line argument or asked for on the console.
void openUnit(int unit, const char* name, int length);

// Writes out the records buffered so far on every connected unit, so each
// file holds everything written to it (before the run waits at a pause). A
// failed write ends the run with its write error report.
void flushUnits();

// Writes out and closes every connected unit, then ends an open console line.
// Runs once; later calls do nothing. Errors are reported but end nothing;
// returns false when one was reported. An interrupt stops the close-all.
bool closeAllUnits();

// Records the command-line arguments (without the program name) that may
// stand for a missing file name, and disconnects every unit (start of a run).
void resetUnits(int argumentCount, const char* const* arguments);

// The name of the disk file `unit` is connected to, as the open took it
// (trimmed, or the argument or prompt answer that stood for a missing name);
// nothing when the unit is not connected or writes to a device: a device
// name, or a file that could not be cut, such as a character device or a pipe.
std::optional<std::string> unitFileName(int unit);

// The host's handle of the disk file `unit` is connected to; nothing when
// `unitFileName` gives nothing.
std::optional<std::intptr_t> unitFileHandle(int unit);

}  // namespace recio

#endif  // DOSMO_RECIO_REPORT_UNIT_H_
