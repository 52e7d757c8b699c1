// Text shown on a terminal: each character that the kind of terminal takes as
// a control is shown as "?", a UTF-8 terminal gets UTF-8, and NUL passes; the
// same holds for the name in a console record and in an error report, while
// redirected streams get the bytes as they are.
#include "recio/terminal_text.h"

#include <gtest/gtest.h>

#include <string>

#include "recio/console.h"
#include "recio/errors.h"
#include "tests/support/fake_platform.h"

namespace {

using recio::TerminalKind;
using testing_support::FakeRun;

struct Row {
  std::string typed;
  TerminalKind kind;
  std::string shown;
};

const std::string kNul(1, '\0');
// A name that, passed as it is, retitles the window (OSC) and clears the screen (CSI).
const std::string kHostile = "\xC2\x9D" "0;PWNED\xC2\x9C\xC2\x9B" "2J";

const Row kRows[] = {
    {"rel.txt", TerminalKind::singleByte, "rel.txt"},
    {"\x1B]0;x\x07", TerminalKind::singleByte, "?]0;x?"},
    {"a" + kNul + "b\tc\x1F" "d\x7F" "e", TerminalKind::singleByte, "a" + kNul + "b?c?d?e"},
    {" ~\x80\x9B\x9F\xA0\xFF", TerminalKind::singleByte, " ~???\xA0\xFF"},
    {kHostile, TerminalKind::singleByte, "\xC2?0;PWNED\xC2?\xC2?2J"},
    {kNul + kNul + kNul, TerminalKind::singleByte, kNul + kNul + kNul},
    {"\x1B[2J\x7F", TerminalKind::windowsConsole, "?[2J?"},
    {"\x80\x81\x8D\x8F\x90\x9B\x9D\x9F\xFF", TerminalKind::windowsConsole,
     "\x80\x81\x8D\x8F\x90\x9B\x9D\x9F\xFF"},
    {kNul + "\xC2\x9B", TerminalKind::windowsConsole, kNul + "\xC2\x9B"},
    {kHostile, TerminalKind::utf8, "?0;PWNED??2J"},
    {"\xC2\x80\xC2\x85\xC2\x9F\xC2\xA0", TerminalKind::utf8, "???\xC2\xA0"},
    // Windows-1252 converted; its five unassigned bytes would become C1 controls.
    {"\x81\x8D\x8F\x90\x9D", TerminalKind::utf8, "?????"},
    {"\x80\x9B\x9F\xE9", TerminalKind::utf8, "\xE2\x82\xAC\xE2\x80\xBA\xC5\xB8\xC3\xA9"},
    {"\x1B[2J" + kNul + "\x7F", TerminalKind::utf8, "?[2J" + kNul + "?"},
    {"relat\xC3\xB3rio \xE2\x82\xAC\xF0\x9F\x98\x80", TerminalKind::utf8,
     "relat\xC3\xB3rio \xE2\x82\xAC\xF0\x9F\x98\x80"},
    {kHostile + "\x1B\x9B", TerminalKind::none, kHostile + "\x1B\x9B"},
};

TEST(TerminalText, ShownAsTheKindOfTerminalTakesIt) {
  for (const Row& row : kRows) {
    SCOPED_TRACE(row.shown);
    std::string out = "x";
    recio::appendShownOnTerminal(row.typed, row.kind, out);
    EXPECT_EQ(out, "x" + row.shown) << static_cast<int>(row.kind);
  }
}

// A run whose standard streams are terminals of `kind`, or redirected.
struct StreamsRun {
  StreamsRun(TerminalKind kind, bool terminal) : run({}, terminal) {
    run.fake.terminal = kind;
    run.restart();
  }
  FakeRun run;
};

TEST(TerminalText, NameInAConsoleRecordShownOnlyOnATerminal) {
  for (const Row& row : kRows) {
    for (bool terminal : {false, true}) {
      SCOPED_TRACE(row.shown + (terminal ? " (terminal)" : " (redirected)"));
      StreamsRun streams(row.kind, terminal);
      recio::consoleUnit().lineOpen = true;
      recio::writeConsoleRecord("1 arquivo " + row.typed);
      // Carriage control keeps its own control characters.
      EXPECT_EQ(streams.run.fake.output, "\r\n\f\r \r arquivo " + (terminal ? row.shown : row.typed));
    }
  }
}

TEST(TerminalText, NameInAnErrorReportShownOnlyOnATerminal) {
  for (const Row& row : kRows) {
    for (bool terminal : {false, true}) {
      SCOPED_TRACE(row.shown + (terminal ? " (terminal)" : " (redirected)"));
      StreamsRun streams(row.kind, terminal);
      recio::writeErrorReport(recio::ErrorCode::fileNotFound, recio::Statement::open, row.typed);
      EXPECT_EQ(streams.run.fake.error,
                recio::formatErrorReport(recio::ErrorCode::fileNotFound, recio::Statement::open,
                                         terminal ? row.shown : row.typed));
    }
  }
}

}  // namespace
