// The run-time error report: the one way any failure of the run-time ends the
// run. The report goes to standard error in a fixed layout, then the run ends
// with status 1 after the units are closed. Every error's letter, number and
// message text live in one table in errors.cc.
#ifndef DOSMO_RECIO_ERRORS_H_
#define DOSMO_RECIO_ERRORS_H_

#include <string>
#include <string_view>

namespace recio {

// Every error the run-time can report; the table in errors.cc gives each its
// letter (F or M) and number (shown as 6000 plus the number).
enum class ErrorCode {
  // Console value input.
  integerOverflow,      // F6100
  invalidInteger,       // F6101
  realOverflow,         // F6102
  invalidReal,          // F6103
  realOutOfRange,       // F6104
  secondBaseMark,       // F6302
  baseOutOfRange,       // F6303
  lineTooLong,          // F6407
  readFailed,           // F6500
  endOfFile,            // F6501
  zeroRepeatCount,      // F6502
  secondRepeatCount,    // F6503
  wrongKindOfValue,     // F6504
  // Output statements and format texts.
  formatSyntax,         // F6200
  formatItemMismatch,   // F6201
  unitNotConnected,     // F6202
  // Opening, writing and closing files.
  invalidFileName,      // F6412
  alreadyConnected,     // F6413
  fileAccessDenied,     // F6414
  fileExists,           // F6415
  fileNotFound,         // F6416
  tooManyOpenFiles,     // F6417
  noFreeUnit,           // F6418
  writeAccessDenied,    // F6421
  diskFull,             // F6422
  writeFailed,          // F6423
  openFailed,           // F6419
  // Memory.
  outOfMemory,          // F6700
  // Floating-point faults.
  fpInvalid,            // M6101
  fpDenormal,           // M6102
  fpDivideByZero,       // M6103
  fpOverflow,           // M6104
  fpUnderflow,          // M6105
  fpInexact,            // M6106
  fpSquareRoot,         // M6108
  fpStackOverflow,      // M6110
  fpStackUnderflow,     // M6111
  // Errors of the math library (the power of a real to a real).
  mathDomain,           // M6201
  mathSingularity,      // M6202
  mathOverflow,         // M6203
  mathUnderflow,        // M6204
  mathTotalLoss,        // M6205
  mathPartialLoss,      // M6206
};

// The kind of statement that failed, which decides the text after the number.
enum class Statement { read, write, open, close, math, none };

// The error's number as shown, for example "F6103" or "M6201".
std::string errorNumberText(ErrorCode code);

// The complete bytes of an error report. `unitName` is used for read, write,
// open and close; `operation` names the math-library function ("**") for the
// math-library errors.
std::string formatErrorReport(ErrorCode code, Statement statement,
                              std::string_view unitName = {},
                              std::string_view operation = {});

// Writes the report to standard error without ending the run; used while the
// units are being closed at the end, where a report must not start a second exit.
void writeErrorReport(ErrorCode code, Statement statement,
                      std::string_view unitName = {},
                      std::string_view operation = {});

// Writes lines ended by CR LF to standard error, the text of each line shown
// as a terminal there must receive it (for a message that quotes what the
// user typed, such as a refused command-line option).
void writeErrorLines(std::string_view lines);

// Writes the report to standard error and ends the run with status 1.
[[noreturn]] void raiseRuntimeError(ErrorCode code, Statement statement,
                                    std::string_view unitName = {},
                                    std::string_view operation = {});

}  // namespace recio

#endif  // DOSMO_RECIO_ERRORS_H_
