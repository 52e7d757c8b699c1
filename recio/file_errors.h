// The run-time errors of file operations: a host's file fault becomes the
// open error or the write error of its cause, so every file the run-time
// writes fails with the same numbers.
#ifndef DOSMO_RECIO_FILE_ERRORS_H_
#define DOSMO_RECIO_FILE_ERRORS_H_

#include <string_view>

#include "recio/errors.h"
#include "recio/platform/platform.h"

namespace recio {

// The run-time error for a failed open, by its cause.
ErrorCode openErrorFor(FileFault fault);

// The run-time error for a failed cut, write or close: no failure passes silently.
ErrorCode writeErrorFor(FileFault fault);

// Ends the run by a failed file operation: by the interrupt that broke into
// it, otherwise with the report of `code`.
[[noreturn]] void raiseFileError(FileFault fault, ErrorCode code, Statement statement,
                                 std::string_view name);

// The same for a failed cut, write or close.
[[noreturn]] void raiseWriteError(FileFault fault, Statement statement, std::string_view name);

}  // namespace recio

#endif  // DOSMO_RECIO_FILE_ERRORS_H_
