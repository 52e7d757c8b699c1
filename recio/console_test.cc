// Console records: carriage control by the first character, the lazy line
// end, a broken standard output, and the direct line reads of the pause and
// the name prompt on a terminal and on redirected input.
#include "recio/console.h"

#include <gtest/gtest.h>

#include "recio/errors.h"
#include "tests/support/fake_platform.h"

namespace {

using testing_support::FakeRun;

struct ControlRow {
  const char* record;
  bool lineOpen;
  const char* bytes;
};

TEST(ConsoleRecord, CarriageControlByFirstCharacter) {
  const ControlRow rows[] = {
      {" abc", false, "abc"},
      {" abc", true, "\r\nabc"},
      {"xabc", true, "\r\nabc"},
      {"0abc", false, "\r\nabc"},
      {"0abc", true, "\r\n\r\nabc"},
      {"1abc", false, "\r\n\f\r \rabc"},
      {"1abc", true, "\r\n\f\r \rabc"},
      {"+abc", false, "\rabc"},
      {"+abc", true, "\rabc"},
      {" ", false, ""},
      {"  ", true, "\r\n "},
      {"", true, "\r\n"},
      {"-1.50", false, "1.50"},
  };
  for (const ControlRow& row : rows) {
    FakeRun run;
    recio::consoleUnit().lineOpen = row.lineOpen;
    recio::writeConsoleRecord(row.record);
    EXPECT_EQ(run.fake.output, row.bytes) << "record [" << row.record << "]";
    EXPECT_TRUE(recio::consoleUnit().lineOpen);
  }
}

TEST(ConsoleRecord, LongRecordIsWrittenWhole) {
  FakeRun run;
  std::string record = " " + std::string(200, 'x');
  recio::writeConsoleRecord(record);
  EXPECT_EQ(run.fake.output, std::string(200, 'x'));
}

TEST(ConsoleRecord, LineEndOnlyWhenOpen) {
  FakeRun run;
  recio::endOpenConsoleLine();
  EXPECT_EQ(run.fake.output, "");
  recio::writeConsoleRecord(" a");
  recio::endOpenConsoleLine();
  EXPECT_EQ(run.fake.output, "a\r\n");
  EXPECT_TRUE(recio::consoleUnit().lineOpen);
}

TEST(ConsoleRecord, FailedWriteReportsOnceAndEndsTheRun) {
  FakeRun run;
  run.fake.failOutputWrites = true;
  EXPECT_EQ(FakeRun::statusOf([] { recio::writeConsoleRecord(" a"); }), 1);
  EXPECT_EQ(run.fake.error, "\r\nrun-time error F6423: WRITE(CON)\r\n- write to the file failed\r\n");
  // The broken console takes nothing more, and raises no second report.
  std::string firstReport = run.fake.error;
  EXPECT_EQ(FakeRun::statusOf([] { recio::endOpenConsoleLine(); }), -1);
  EXPECT_EQ(run.fake.error, firstReport);
}

TEST(ConsoleUnit, SharedOnlyWhenBothStreamsAreTerminals) {
  FakeRun run;
  const bool cases[][3] = {
      {false, false, false}, {true, false, false}, {false, true, false}, {true, true, true}};
  for (const auto& row : cases) {
    run.fake.inputTerminal = row[0];
    run.fake.outputTerminal = row[1];
    run.restart();
    EXPECT_EQ(recio::consoleUnit().shared, row[2]);
    EXPECT_EQ(recio::consoleUnit().inputIsTerminal, row[0]);
    EXPECT_FALSE(recio::consoleUnit().lineOpen);
  }
}

struct DirectRow {
  bool terminal;
  const char* input;
  std::size_t capacity;
  const char* line;  // nullptr: end of input
  std::size_t consumed;
};

TEST(ConsoleDirectLine, TerminalAndRedirectedRules) {
  const DirectRow rows[] = {
      {false, "", 128, nullptr, 0},
      {false, "abc\nnext\n", 128, "abc", 4},
      {false, "abc\r\nnext\n", 128, "abc", 5},
      {false, "abc", 128, "abc", 3},
      {false, "\n", 128, "", 1},
      {false, "abcdef\nrest\n", 4, "abcd", 7},
      {false, "ab\rcd\nrest\n", 128, "ab", 6},
      {true, "abc\nnext\n", 128, "abc", 4},
      {true, "abc\r\nnext\n", 128, "abc", 5},
      {true, "\n", 128, "", 1},
      {true, "", 128, nullptr, 0},
      {true, "abcdefgh\nrest\n", 4, "abcd", 9},
  };
  for (const DirectRow& row : rows) {
    FakeRun run(row.input, row.terminal);
    std::optional<std::string> line = recio::readLineDirect(row.capacity);
    if (row.line == nullptr) {
      EXPECT_FALSE(line.has_value()) << row.input;
    } else {
      ASSERT_TRUE(line.has_value()) << row.input;
      EXPECT_EQ(*line, row.line) << row.input;
    }
    EXPECT_EQ(run.fake.inputPosition, row.consumed) << row.input;
  }
}

}  // namespace
