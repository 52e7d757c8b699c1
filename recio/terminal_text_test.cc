// Control characters typed in a report name, where that name meets a screen:
// in a console record and in the unit name of an error report, each shown as
// "?" on a terminal and passed byte for byte when the stream is redirected.
#include "recio/terminal_text.h"

#include <gtest/gtest.h>

#include <string>

#include "recio/console.h"
#include "recio/errors.h"
#include "tests/support/fake_platform.h"

namespace {

using testing_support::FakeRun;

struct Row {
  std::string typed;
  std::string onTerminal;
};

const Row kRows[] = {
    {"rel.txt", "rel.txt"},
    {"\x1B]0;x\x07", "?]0;x?"},
    {std::string("a\0b\tc\x1F", 6) + "d\x7F" + "e", "a?b?c?d?e"},
    {" \x7E\x80\x9B\xFF", " \x7E\x80\x9B\xFF"},  // the blank, "~" and bytes above 127 stay
};

TEST(TerminalText, ControlsInAConsoleRecordShownAsQuestionMarks) {
  for (const Row& row : kRows) {
    for (bool terminal : {false, true}) {
      SCOPED_TRACE(row.onTerminal + (terminal ? " (terminal)" : " (redirected)"));
      FakeRun run({}, terminal);
      recio::consoleUnit().lineOpen = true;
      recio::writeConsoleRecord("1 arquivo " + row.typed);
      // Carriage control keeps its own control characters.
      EXPECT_EQ(run.fake.output, "\r\n\f\r \r arquivo " + (terminal ? row.onTerminal : row.typed));
    }
  }
}

TEST(TerminalText, ControlsInAnErrorReportShownAsQuestionMarks) {
  for (const Row& row : kRows) {
    for (bool terminal : {false, true}) {
      SCOPED_TRACE(row.onTerminal + (terminal ? " (terminal)" : " (redirected)"));
      FakeRun run({}, terminal);
      recio::writeErrorReport(recio::ErrorCode::fileNotFound, recio::Statement::open, row.typed);
      EXPECT_EQ(run.fake.error, recio::formatErrorReport(recio::ErrorCode::fileNotFound,
                                                         recio::Statement::open,
                                                         terminal ? row.onTerminal : row.typed));
    }
  }
}

}  // namespace
