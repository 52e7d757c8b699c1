// The console connection: carriage control of console records, the lazy line
// end, and direct line reads for the pause and the missing-name prompt.
// Carriage control, by the record's first character (lineOpen true / false):
//   blank and all others: CR LF / nothing;  '0': CR LF CR LF / CR LF;
//   '1': CR LF FF CR blank CR either way;   '+': CR either way.
#include "recio/console.h"

#include <array>

#include "recio/errors.h"
#include "recio/platform.h"
#include "recio/record_sink.h"

namespace recio {
namespace {

ConsoleUnit console;

// Set once a write to standard output has failed: its report is out, and
// nothing more is sent to a broken console.
bool outputBroken = false;

class ConsoleSink final : public RecordSink {
 public:
  void putRecord(std::string_view record) override { writeConsoleRecord(record); }
};

std::string_view carriageControl(char first, bool lineOpen) {
  switch (first) {
    case '0': return lineOpen ? "\r\n\r\n" : "\r\n";
    case '1': return "\r\n\f\r \r";
    case '+': return "\r";
    default: return lineOpen ? "\r\n" : "";
  }
}

bool isLineEnd(char byte) { return byte == '\n'; }

// Reads and drops the rest of a terminal line that did not fit the buffer.
void dropRestOfTerminalLine() {
  std::array<char, 128> scratch;
  for (;;) {
    ReadResult got = platform().readInput(scratch.data(), scratch.size());
    if (got.failed || got.count == 0 || isLineEnd(scratch[got.count - 1])) return;
  }
}

std::optional<std::string> readTerminalLine(std::size_t capacity) {
  std::string line(capacity, '\0');
  ReadResult got = platform().readInput(line.data(), capacity);
  if (got.failed || got.count == 0) return std::nullopt;
  line.resize(got.count);
  if (isLineEnd(line.back())) {
    line.pop_back();
    if (!line.empty() && line.back() == '\r') line.pop_back();
  } else {
    dropRestOfTerminalLine();
  }
  return line;
}

std::optional<std::string> readRedirectedLine(std::size_t capacity) {
  std::string line;
  bool stored = true;  // false once CR ended the stored part of the line
  bool any = false;
  for (;;) {
    char byte = 0;
    ReadResult got = platform().readInput(&byte, 1);
    if (got.failed || got.count == 0) break;
    any = true;
    if (byte == '\n') break;
    if (byte == '\r') stored = false;
    if (stored && line.size() < capacity) line.push_back(byte);
  }
  if (!any) return std::nullopt;
  return line;
}

}  // namespace

ConsoleUnit& consoleUnit() { return console; }

void resetConsole() {
  console = ConsoleUnit{};
  console.inputIsTerminal = platform().isTerminal(StdStream::input);
  console.outputIsTerminal = platform().isTerminal(StdStream::output);
  console.shared = console.inputIsTerminal && console.outputIsTerminal;
  outputBroken = false;
}

void writeConsoleBytes(std::string_view bytes) {
  if (outputBroken) return;
  if (!platform().writeStd(StdStream::output, bytes)) {
    outputBroken = true;
    raiseRuntimeError(ErrorCode::writeFailed, Statement::write, "CON");
  }
}

void writeConsoleRecord(std::string_view record) {
  static std::string pending;  // reused: a record costs no allocation once warm
  char first = record.empty() ? ' ' : record.front();
  pending.assign(carriageControl(first, console.lineOpen));
  if (!record.empty()) pending.append(record.substr(1));
  console.lineOpen = true;
  writeConsoleBytes(pending);
}

void endOpenConsoleLine() {
  if (console.lineOpen) writeConsoleBytes("\r\n");
}

std::optional<std::string> readLineDirect(std::size_t capacity) {
  return console.inputIsTerminal ? readTerminalLine(capacity) : readRedirectedLine(capacity);
}

RecordSink& consoleSink() {
  static ConsoleSink sink;
  return sink;
}

}  // namespace recio
