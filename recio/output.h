// Output statements: one statement is begun on a destination with or without
// a format text, given its items one by one, and ended; the end forms the
// records (list-directed or by the format) and sends them to the destination.
// Malformed formats and descriptors that do not fit their items end the run.
#ifndef DOSMO_RECIO_OUTPUT_H_
#define DOSMO_RECIO_OUTPUT_H_

#include <cstdint>

#include "recio/record_sink.h"

namespace recio {

// Begins an output statement on `unit` (`kConsole` or a unit number). A null
// `format` makes it list-directed; otherwise `format` points at the first
// character of a format text, which ends at the parenthesis that closes its
// first one (a zero byte ends it at the latest).
void beginWrite(int unit, const char* format = nullptr);

// Adds a CHARACTER item of `length` bytes (a negative length counts as 0);
// the bytes are copied at once.
void writeText(const char* bytes, int length);

// Adds a REAL item.
void writeReal(float value);

// Adds an INTEGER item.
void writeInteger(std::int32_t value);

// Forms the statement's records and sends them to its destination.
void endWrite();

}  // namespace recio

#endif  // DOSMO_RECIO_OUTPUT_H_
