// Free-form reads from the console: lines are read from standard input into
// one buffer (a typed line at a time on a terminal, whatever is available when
// redirected), values are scanned from it and stored, and the end of a
// statement drops the rest of its line. Every fault ends the run with a read
// error report on the console unit.
#include "recio/console_input.h"

#include <cstddef>
#include <cstring>
#include <string_view>

#include "recio/console.h"
#include "recio/errors.h"
#include "recio/platform/platform.h"
#include "recio/run_end.h"
#include "recio/scanner.h"

namespace recio {
namespace {

// A terminal read takes one typed line; its text before the line end may be
// at most kTypedLineLimit characters.
constexpr std::size_t kTerminalReadSize = 132;
constexpr std::size_t kTypedLineLimit = 130;
// A redirected read takes whatever the stream has ready, up to this many bytes.
constexpr std::size_t kRedirectedReadSize = 64 * 1024;
constexpr char kEndOfFileMark = 26;  // Ctrl-Z
constexpr char kCarriageReturn = '\r';
constexpr char kLineFeed = '\n';
// The UTF-8 byte-order mark that some editors put at the start of a text
// file; it is never part of an answer.
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

char lineBuffer[kRedirectedReadSize];
std::string_view unread;  // the bytes of the buffer not taken yet
// Redirected input: the last read ended inside a line. A pipe may hand over
// a line in several reads, so its end is supplied only at the end of input.
bool lineInProgress = false;
bool endsWithMark = false;  // ... and its last byte was Ctrl-Z
// Redirected input: the buffer ends where a line holding the end-of-file mark
// begins, so taking everything in it reaches the end of the input.
bool markLineNext = false;
// Redirected input: nothing has been read yet, so a byte-order mark may come.
bool atInputStart = true;

// The state of the statement in progress.
struct ReadStatement {
  ValueScanner scanner;
  std::int32_t pendingRepeats = 0;  // items still to receive the last value
  bool lineFinished = false;        // a line end ended the last value scanned
  bool ended = false;               // a slash ended the statement
};

ReadStatement statement;

[[noreturn]] void fail(ErrorCode code) { raiseRuntimeError(code, Statement::read, "CON"); }

// The bytes before the line end of a buffer ending with LF or CR LF.
std::size_t textBeforeLineEnd(std::size_t count) {
  std::size_t text = count - 1;
  if (text > 0 && lineBuffer[text - 1] == kCarriageReturn) --text;
  return text;
}

bool typedLineTooLong(std::size_t count) {
  if (lineBuffer[count - 1] != kLineFeed) return true;
  return textBeforeLineEnd(count) > kTypedLineLimit;
}

// Where the first line of a read whose text ends in Ctrl-Z (the end-of-file
// mark) begins, or npos. `markBefore`: the read before ended inside a line
// with Ctrl-Z, so a line end at the very start completes a marked line. A
// marked line counts as the end of the input only once every line before it
// has been taken.
std::size_t markedLineStart(std::string_view bytes, bool markBefore) {
  std::size_t lineStart = 0;
  for (std::size_t end = bytes.find(kLineFeed); end != std::string_view::npos;
       end = bytes.find(kLineFeed, lineStart)) {
    std::size_t text = end > lineStart && bytes[end - 1] == kCarriageReturn ? end - 1 : end;
    if (text > lineStart ? bytes[text - 1] == kEndOfFileMark : lineStart == 0 && markBefore) {
      return lineStart;
    }
    lineStart = end + 1;
  }
  return std::string_view::npos;
}

// The first `count` bytes read from redirected input without a byte-order
// mark at their start. While they are only the beginning of a mark, more is
// read, so a mark that a pipe hands over in pieces is still recognised.
std::size_t withoutByteOrderMark(std::size_t count) {
  auto taken = [&] { return std::string_view(lineBuffer, count); };
  while (count > 0 && count < kByteOrderMark.size() && kByteOrderMark.starts_with(taken())) {
    ReadResult more = readInputOrEnd(lineBuffer + count, kRedirectedReadSize - count);
    if (more.failed || more.count == 0) break;  // the next read meets the same end
    count += more.count;
  }
  if (!taken().starts_with(kByteOrderMark)) return count;
  count -= kByteOrderMark.size();
  std::memmove(lineBuffer, lineBuffer + kByteOrderMark.size(), count);
  return count;
}

// Refills the buffer by one read of standard input.
void readLine() {
  if (markLineNext) fail(ErrorCode::endOfFile);
  bool terminal = consoleUnit().inputIsTerminal;
  std::size_t capacity = terminal ? kTerminalReadSize : kRedirectedReadSize;
  ReadResult got = readInputOrEnd(lineBuffer, capacity);
  if (got.failed) fail(ErrorCode::readFailed);
  std::size_t count = got.count;
  if (!terminal && atInputStart && count > 0) {
    atInputStart = false;
    count = withoutByteOrderMark(count);
    if (count == 0) {  // the mark alone: the answers follow
      readLine();
      return;
    }
  }
  if (count == 0) {
    // The last line of redirected input need not end with a line end.
    if (!lineInProgress || endsWithMark) fail(ErrorCode::endOfFile);
    lineBuffer[count++] = kLineFeed;
  }
  if (terminal && count < capacity && lineBuffer[count - 1] != kLineFeed) {
    lineBuffer[count++] = kLineFeed;
  }
  if (terminal && typedLineTooLong(count)) {
    // What was typed past the buffer must not reach the shell after the run.
    if (lineBuffer[count - 1] != kLineFeed) dropRestOfTypedLine();
    fail(ErrorCode::lineTooLong);
  }
  // A terminal read holds one line, so its mark always stands at the start.
  std::size_t marked = markedLineStart(std::string_view(lineBuffer, count), endsWithMark);
  if (marked != std::string_view::npos) {
    markLineNext = true;
    if (marked == 0) fail(ErrorCode::endOfFile);
    count = marked;
  }
  lineInProgress = !terminal && lineBuffer[count - 1] != kLineFeed;
  endsWithMark = lineInProgress && lineBuffer[count - 1] == kEndOfFileMark;
  unread = std::string_view(lineBuffer, count);
}

char takeByte() {
  if (unread.empty()) readLine();
  char byte = unread.front();
  unread.remove_prefix(1);
  return byte;
}

void noteLineFinished() {
  ConsoleUnit& console = consoleUnit();
  if (console.shared) console.lineOpen = false;
}

// Finishes the line whose line-end byte the scanner has just taken.
void finishLineAt(char lineEnd) {
  if (consoleUnit().inputIsTerminal) {
    unread = {};
  } else if (lineEnd == kCarriageReturn) {
    while (takeByte() != kLineFeed) {
    }
  }
  noteLineFinished();
}

// Finishes the current line at the end of a statement: a terminal line is
// dropped (an untouched empty buffer drops the next typed line); redirected
// input is taken up to and including the next LF.
void finishLineAtEnd() {
  if (consoleUnit().inputIsTerminal) {
    if (unread.empty()) readLine();
    unread = {};
  } else {
    while (takeByte() != kLineFeed) {
    }
  }
  noteLineFinished();
}

// Scans the next value from the input; nullptr when a slash ended the statement.
const ScannedValue* scanValue(TextTarget target) {
  ValueScanner& scanner = statement.scanner;
  scanner.startValue(target);
  statement.lineFinished = false;
  for (;;) {
    if (unread.empty()) readLine();
    switch (scanner.scan(unread)) {
      case ScanStep::needInput: break;
      case ScanStep::lineEnd: finishLineAt(scanner.lineEndByte()); break;
      case ScanStep::lineEndValue:
        finishLineAt(scanner.lineEndByte());
        statement.lineFinished = true;
        return &scanner.value();
      case ScanStep::value: return &scanner.value();
      case ScanStep::lastValue: statement.ended = true; return &scanner.value();
      case ScanStep::failed: fail(scanner.error());
    }
  }
}

// The value for the next item: a pending repetition, a newly scanned value,
// or nullptr when the statement has ended. `inPlace` tells that quoted text
// was written straight into `target`.
const ScannedValue* nextValue(TextTarget target, bool& inPlace) {
  inPlace = false;
  if (statement.pendingRepeats > 0) {
    --statement.pendingRepeats;
    return &statement.scanner.value();
  }
  if (statement.ended) return nullptr;
  const ScannedValue* value = scanValue(target);
  std::int32_t repeats = statement.scanner.repeatCount();
  statement.pendingRepeats = repeats > 1 ? repeats - 1 : 0;
  inPlace = true;
  return value;
}

}  // namespace

void beginRead() {
  statement = ReadStatement{};
  statement.scanner.startStatement();
  ConsoleUnit& console = consoleUnit();
  if (console.shared && console.lineOpen) {
    writeConsoleBytes("\r\n");
    console.lineOpen = false;
    unread = {};
  }
}

void readInteger(std::int32_t& item) {
  bool inPlace = false;
  const ScannedValue* value = nextValue({}, inPlace);
  if (value == nullptr) return;
  if (auto fault = storeInteger(*value, item)) fail(*fault);
}

void readReal(float& item) {
  bool inPlace = false;
  const ScannedValue* value = nextValue({}, inPlace);
  if (value == nullptr) return;
  if (auto fault = storeReal(*value, item)) fail(*fault);
}

void readText(char* item, int length) {
  bool inPlace = false;
  const ScannedValue* value = nextValue({item, length}, inPlace);
  if (value == nullptr) return;
  storeText(*value, item, length, inPlace);
}

void endRead() {
  if (!statement.lineFinished) finishLineAtEnd();
  statement.pendingRepeats = 0;
  noteLineFinished();
}

void resetConsoleInput() {
  unread = {};
  lineInProgress = false;
  endsWithMark = false;
  markLineNext = false;
  atInputStart = true;
  statement = ReadStatement{};
}

}  // namespace recio
