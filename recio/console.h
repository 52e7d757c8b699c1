// The console connection: how records reach the screen and the state the
// console's reads, writes and pauses share. The first character of every
// console record is carriage control; line ends are written late, when the
// next record, a read, the pause or the end of the run needs them.
#ifndef DOSMO_RECIO_CONSOLE_H_
#define DOSMO_RECIO_CONSOLE_H_

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace recio {

class RecordSink;

// The console connection and its open-line flag.
struct ConsoleUnit {
  // Standard input is a terminal (selects the terminal line rules).
  bool inputIsTerminal = false;
  // Standard output is a terminal.
  bool outputIsTerminal = false;
  // One connection serves reads and writes (both streams are terminals).
  bool shared = false;
  // A record has been written to the screen and no line end followed it yet.
  bool lineOpen = false;
};

// The process's console connection.
ConsoleUnit& consoleUnit();

// Asks the platform which standard streams are terminals and resets the
// console to its start-of-run state.
void resetConsole();

// Writes bytes to standard output as they are; a failed write ends the run
// with a write error report on the console (once: later writes do nothing).
void writeConsoleBytes(std::string_view bytes);

// Sends one record to the console: its first character as carriage control,
// the rest as text, no line end after it; sets `lineOpen`.
void writeConsoleRecord(std::string_view record);

// Writes CR LF when the console line is open; `lineOpen` is left unchanged.
void endOpenConsoleLine();

// The same at the end of the run: a failed write is reported but ends
// nothing, since the run is already ending.
void endOpenConsoleLineAtEnd();

// Reads one line straight from standard input (for the pause and the
// missing-name prompt). On a terminal: one read of at most `capacity` bytes,
// its line end dropped, and the rest of a longer line read and dropped.
// Otherwise: bytes up to the next CR or LF, at most `capacity` kept, the rest
// of the line skipped. Returns nullopt at end of input.
std::optional<std::string> readLineDirect(std::size_t capacity);

// The console's sink (carriage control and lazy line ends).
RecordSink& consoleSink();

// Reads and drops the rest of a typed line that did not fit one read, so none
// of it is left for the next program that reads the terminal.
void dropRestOfTypedLine();

}  // namespace recio

#endif  // DOSMO_RECIO_CONSOLE_H_
