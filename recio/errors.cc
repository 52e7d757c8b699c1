// The error table and the report layout. A report is, byte for byte:
//   CR LF "run-time error " letter number statement-text [unit ")" CR LF "- "]
//   message CR LF
// and the run then ends with status 1 through the close-all of the units.
// On a terminal the unit name is shown as the terminal must receive it, its
// control characters as "?".
#include "recio/errors.h"

#include <array>
#include <cstddef>
#include <cstdio>

#include "recio/platform/platform.h"
#include "recio/run_end.h"
#include "recio/terminal_text.h"

namespace recio {
namespace {

struct ErrorEntry {
  ErrorCode code;
  char letter;
  int number;
  const char* message;
};

// One row per error, in the order of `ErrorCode`.
constexpr std::array<ErrorEntry, 43> kErrors = {{
    {ErrorCode::integerOverflow, 'F', 100, "integer value too large"},
    {ErrorCode::invalidInteger, 'F', 101, "invalid character in an integer answer"},
    {ErrorCode::realOverflow, 'F', 102, "real value too large"},
    {ErrorCode::invalidReal, 'F', 103, "invalid real number"},
    {ErrorCode::realOutOfRange, 'F', 104, "real value out of single-precision range"},
    {ErrorCode::secondBaseMark, 'F', 302, "second # in a based integer"},
    {ErrorCode::baseOutOfRange, 'F', 303, "base of a based integer not between 2 and 36"},
    {ErrorCode::lineTooLong, 'F', 407, "input line too long"},
    {ErrorCode::readFailed, 'F', 500, "read from the console failed"},
    {ErrorCode::endOfFile, 'F', 501, "end of file encountered"},
    {ErrorCode::zeroRepeatCount, 'F', 502, "repeat count of zero"},
    {ErrorCode::secondRepeatCount, 'F', 503, "second repeat count in one value"},
    {ErrorCode::wrongKindOfValue, 'F', 504, "quoted text or pair where a number is expected"},
    {ErrorCode::formatSyntax, 'F', 200, "error in format text"},
    {ErrorCode::formatItemMismatch, 'F', 201, "edit descriptor does not fit the item"},
    {ErrorCode::unitNotConnected, 'F', 202, "unit not connected"},
    {ErrorCode::invalidFileName, 'F', 412, "invalid file name"},
    {ErrorCode::alreadyConnected, 'F', 413, "file already connected to another unit"},
    {ErrorCode::fileAccessDenied, 'F', 414, "access to the file denied"},
    {ErrorCode::fileExists, 'F', 415, "file already exists"},
    {ErrorCode::fileNotFound, 'F', 416, "file or folder not found"},
    {ErrorCode::tooManyOpenFiles, 'F', 417, "too many open files"},
    {ErrorCode::noFreeUnit, 'F', 418, "too many units connected"},
    {ErrorCode::writeAccessDenied, 'F', 421, "write to the file refused"},
    {ErrorCode::diskFull, 'F', 422, "disk full"},
    {ErrorCode::writeFailed, 'F', 423, "write to the file failed"},
    {ErrorCode::openFailed, 'F', 419, "file could not be opened"},
    {ErrorCode::outOfMemory, 'F', 700, "out of memory"},
    {ErrorCode::fpInvalid, 'M', 101, "floating-point error: invalid"},
    {ErrorCode::fpDenormal, 'M', 102, "floating-point error: denormal"},
    {ErrorCode::fpDivideByZero, 'M', 103, "floating-point error: divide by zero"},
    {ErrorCode::fpOverflow, 'M', 104, "floating-point error: overflow"},
    {ErrorCode::fpUnderflow, 'M', 105, "floating-point error: underflow"},
    {ErrorCode::fpInexact, 'M', 106, "floating-point error: inexact"},
    {ErrorCode::fpSquareRoot, 'M', 108, "floating-point error: square root"},
    {ErrorCode::fpStackOverflow, 'M', 110, "floating-point error: stack overflow"},
    {ErrorCode::fpStackUnderflow, 'M', 111, "floating-point error: stack underflow"},
    {ErrorCode::mathDomain, 'M', 201, "DOMAIN"},
    {ErrorCode::mathSingularity, 'M', 202, "SING"},
    {ErrorCode::mathOverflow, 'M', 203, "OVERFLOW"},
    {ErrorCode::mathUnderflow, 'M', 204, "UNDERFLOW"},
    {ErrorCode::mathTotalLoss, 'M', 205, "TLOSS"},
    {ErrorCode::mathPartialLoss, 'M', 206, "PLOSS"},
}};

constexpr bool tableFollowsCodes() {
  for (std::size_t i = 0; i < kErrors.size(); ++i) {
    if (static_cast<std::size_t>(kErrors[i].code) != i) return false;
  }
  return true;
}
static_assert(tableFollowsCodes(), "error table rows must follow ErrorCode order");
static_assert(kErrors.size() == static_cast<std::size_t>(ErrorCode::mathPartialLoss) + 1);

const ErrorEntry& entryFor(ErrorCode code) {
  return kErrors[static_cast<std::size_t>(code)];
}

bool isMathLibraryError(ErrorCode code) {
  return code >= ErrorCode::mathDomain && code <= ErrorCode::mathPartialLoss;
}

constexpr std::string_view kLineEnd = "\r\n";

}  // namespace

std::string errorNumberText(ErrorCode code) {
  const ErrorEntry& entry = entryFor(code);
  char text[16];
  std::snprintf(text, sizeof text, "%c%d", entry.letter, 6000 + entry.number);
  return text;
}

std::string formatErrorReport(ErrorCode code, Statement statement,
                              std::string_view unitName,
                              std::string_view operation) {
  std::string message = entryFor(code).message;
  if (isMathLibraryError(code)) {
    // The math library's errors read "** : DOMAIN error" style: the
    // operation's name, ": ", the error type and " error".
    std::string built(operation);
    built.append(": ").append(message).append(" error");
    message.swap(built);
  }
  std::string report(kLineEnd);
  report += "run-time error ";
  report += errorNumberText(code);
  switch (statement) {
    case Statement::read:
    case Statement::write:
    case Statement::open:
    case Statement::close: {
      static constexpr const char* kTexts[] = {": READ(", ": WRITE(", ": OPEN(", ": CLOSE("};
      report += kTexts[static_cast<int>(statement)];
      report += unitName;
      report += ')';
      report += kLineEnd;
      if (!message.empty()) report += "- ";
      break;
    }
    case Statement::math:
      report += ": MATH";
      report += kLineEnd;
      report += "- ";
      break;
    case Statement::none:
      report += kLineEnd;
      report += "- ";
      break;
  }
  report += message;
  report += kLineEnd;
  return report;
}

void writeErrorReport(ErrorCode code, Statement statement,
                      std::string_view unitName, std::string_view operation) {
  // The unit name is the file name as typed; on a terminal it is shown in
  // the terminal's character set, its control characters as "?", so that
  // they cannot drive it.
  std::string shownName;
  appendShownOnTerminal(unitName, platform().terminalKind(StdStream::error), shownName);
  // A report that cannot be written has nowhere else to go: it is dropped.
  platform().writeStd(StdStream::error,
                      formatErrorReport(code, statement, shownName, operation));
}

void writeErrorLines(std::string_view lines) {
  const TerminalKind kind = platform().terminalKind(StdStream::error);
  std::string shown;
  while (!lines.empty()) {
    std::size_t end = lines.find(kLineEnd);
    appendShownOnTerminal(lines.substr(0, end), kind, shown);
    if (end == std::string_view::npos) break;
    shown += kLineEnd;
    lines.remove_prefix(end + kLineEnd.size());
  }
  platform().writeStd(StdStream::error, shown);
}

void raiseRuntimeError(ErrorCode code, Statement statement,
                       std::string_view unitName, std::string_view operation) {
  writeErrorReport(code, statement, unitName, operation);
  endRun(kErrorEnd);
}

}  // namespace recio
