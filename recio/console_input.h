// Free-form console reads: one statement is begun, reads its items in order
// (each scanned from the typed text and converted, or left unchanged by a null
// value) and is ended, which drops the rest of the current line. Any answer
// that cannot be converted ends the run with a read error report.
#ifndef DOSMO_RECIO_CONSOLE_INPUT_H_
#define DOSMO_RECIO_CONSOLE_INPUT_H_

#include <cstdint>

namespace recio {

// Begins a free-form read from the console.
void beginRead();

// Reads the next value into a 32-bit integer item.
void readInteger(std::int32_t& item);

// Reads the next value into a single-precision real item.
void readReal(float& item);

// Reads the next value into a text item of `length` bytes, blank-padded.
void readText(char* item, int length);

// Ends the read: the rest of the current line is dropped.
void endRead();

// Empties the console's line buffer (start of a run).
void resetConsoleInput();

}  // namespace recio

#endif  // DOSMO_RECIO_CONSOLE_INPUT_H_
