// The console connection: carriage control of console records, the lazy line
// end, and direct line reads for the pause and the missing-name prompt.
// Carriage control, by the record's first character (lineOpen true / false):
//   blank and all others: CR LF / nothing;  '0': CR LF CR LF / CR LF;
//   '1': CR LF FF CR blank CR either way;   '+': CR either way.
// Text is Windows-1252; on a terminal that shows UTF-8 it is converted on the
// way out (what the user typed in UTF-8 passes as typed), and written byte for
// byte everywhere else. On a terminal a character of a record's text that the
// terminal would take as a control (one typed in a report name, or made by
// the conversion) is shown as "?"; redirected output gets every byte.
#include "recio/console.h"

#include <array>
#include <cstdint>

#include "recio/errors.h"
#include "recio/platform/platform.h"
#include "recio/record_sink.h"
#include "recio/run_end.h"
#include "recio/terminal_text.h"
#include "recio/platform/utf8.h"

namespace recio {
namespace {

ConsoleUnit console;

// Set once a write to standard output has failed: its report is out, and
// nothing more is sent to a broken console.
bool outputBroken = false;

// The kind of terminal standard output is (`none` when redirected).
TerminalKind outputKind = TerminalKind::none;

// The program's own bytes (line ends, carriage control, prompts) as the
// terminal must receive them; `scratch` holds a conversion to UTF-8.
std::string_view forTerminal(std::string_view bytes, std::string& scratch) {
  if (outputKind != TerminalKind::utf8) return bytes;
  scratch.clear();
  appendAsUtf8(bytes, scratch);
  return scratch;
}

constexpr std::string_view kLineEnd = "\r\n";

// Writes bytes ready for the terminal to standard output; the first failed
// write is reported, and after it nothing more is sent. False when this
// write failed.
bool writeReadyOrReport(std::string_view ready) {
  if (outputBroken) return true;
  if (platform().writeStd(StdStream::output, ready)) return true;
  outputBroken = true;
  writeErrorReport(ErrorCode::writeFailed, Statement::write, "CON");
  return false;
}

bool writeOrReport(std::string_view bytes) {
  static std::string converted;  // reused: a prompt costs no allocation once warm
  return writeReadyOrReport(forTerminal(bytes, converted));
}

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

// A typed line that came whole ends with LF (with CR before it on some terminals).
bool isLineFeed(char byte) { return byte == '\n'; }

std::optional<std::string> readTerminalLine(std::size_t capacity) {
  std::string line(capacity, '\0');
  ReadResult got = readInputOrEnd(line.data(), capacity);
  if (got.failed || got.count == 0) return std::nullopt;
  line.resize(got.count);
  if (isLineFeed(line.back())) {
    line.pop_back();
    if (!line.empty() && line.back() == '\r') line.pop_back();
  } else {
    dropRestOfTypedLine();
  }
  return line;
}

std::optional<std::string> readRedirectedLine(std::size_t capacity) {
  std::string line;
  bool stored = true;  // false once CR ended the stored part of the line
  bool any = false;
  for (;;) {
    char byte = 0;
    ReadResult got = readInputOrEnd(&byte, 1);
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
  outputKind = platform().terminalKind(StdStream::output);
  outputBroken = false;
}

void writeConsoleBytes(std::string_view bytes) {
  if (!writeOrReport(bytes)) endRun(kErrorEnd);
}

void writeConsoleRecord(std::string_view record) {
  static std::string pending;  // reused: a record costs no allocation once warm
  char first = record.empty() ? ' ' : record.front();
  pending.assign(carriageControl(first, console.lineOpen));
  if (!record.empty()) appendShownOnTerminal(record.substr(1), outputKind, pending);
  console.lineOpen = true;
  if (!writeReadyOrReport(pending)) endRun(kErrorEnd);
}

void endOpenConsoleLine() {
  if (console.lineOpen) writeConsoleBytes(kLineEnd);
}

void endOpenConsoleLineAtEnd() {
  if (console.lineOpen) writeOrReport(kLineEnd);
}

void dropRestOfTypedLine() {
  std::array<char, 128> scratch;
  for (;;) {
    ReadResult got = readInputOrEnd(scratch.data(), scratch.size());
    if (got.failed || got.count == 0 || isLineFeed(scratch[got.count - 1])) return;
  }
}

std::optional<std::string> readLineDirect(std::size_t capacity) {
  return console.inputIsTerminal ? readTerminalLine(capacity) : readRedirectedLine(capacity);
}

RecordSink& consoleSink() {
  static ConsoleSink sink;
  return sink;
}

}  // namespace recio
