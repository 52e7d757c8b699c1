// Free-form console reads end to end on the in-memory platform: the answers
// of the dialogue for each item type, the typed-line and end-of-file rules of
// a terminal and of redirected input, the open console line, and the error
// report of every read error.
#include "recio/console_input.h"

#include <gtest/gtest.h>

#include <charconv>
#include <string>
#include <vector>

#include "recio/console.h"
#include "tests/support/fake_platform.h"

namespace {

using testing_support::FakeRun;

enum class Item { real, integer, text };

constexpr int kNameLength = 15;

// The error number of the report on standard error, e.g. "F6103".
std::string errorNumberIn(const std::string& report) {
  const std::string lead = "run-time error ";
  auto at = report.find(lead);
  return at == std::string::npos ? "no report" : report.substr(at + lead.size(), 5);
}

std::string realText(float value) {
  char text[32];
  return std::string(text, std::to_chars(text, text + sizeof text, value).ptr);
}

// One statement reading one item that starts as -1.25, -77 or
// "previous-value!"; returns the item afterwards, or the error number.
std::string readOne(FakeRun& run, Item item) {
  float real = -1.25f;
  std::int32_t integer = -77;
  char text[kNameLength + 1] = "previous-value!";
  int status = FakeRun::statusOf([&] {
    recio::beginRead();
    switch (item) {
      case Item::real: recio::readReal(real); break;
      case Item::integer: recio::readInteger(integer); break;
      case Item::text: recio::readText(text, kNameLength); break;
    }
    recio::endRead();
  });
  if (status >= 0) return errorNumberIn(run.fake.error);
  switch (item) {
    case Item::real: return realText(real);
    case Item::integer: return std::to_string(integer);
    case Item::text: return "[" + std::string(text, kNameLength) + "]";
  }
  return {};
}

std::string readOneFrom(const std::string& input, bool terminal, Item item) {
  FakeRun run(input, terminal);
  return readOne(run, item);
}

struct AnswerRow {
  const char* line;
  const char* real;
  const char* integer;
  const char* text;
};

// Each answer is followed by a line holding 9: after a good answer the next
// statement must start on that line, whatever followed the value.
TEST(ConsoleInput, AnswersForEveryItemType) {
  const AnswerRow rows[] = {
      {"5.5", "5.5", "F6101", "[5.5            ]"},
      {"5,5", "5", "5", "[5              ]"},
      {"30 40", "30", "30", "[30             ]"},
      {"\n  \n\t7", "7", "7", "[7              ]"},
      {",", "-1.25", "-77", "[previous-value!]"},
      {"/", "-1.25", "-77", "[previous-value!]"},
      {"3*2.5", "2.5", "F6101", "[2.5            ]"},
      {"abc", "F6103", "F6101", "[abc            ]"},
      {"'abc'", "F6504", "F6504", "[abc            ]"},
      {"1.5E2", "150", "F6101", "[1.5E2          ]"},
      {"relatorio_final.txt", "F6103", "F6101", "[relatorio_final]"},
      {"meu relatorio.txt", "F6103", "F6101", "[meu            ]"},
      {"  25  ", "25", "25", "[25             ]"},
      {"'meu relatorio'", "F6504", "F6504", "[meu relatorio  ]"},
      {"'it''s'", "F6504", "F6504", "[it's           ]"},
      {"'abcdefghijklmnopqrstuvwxyz' 1", "F6504", "F6504", "[abcdefghijklmno]"},
      {"(a, b)", "F6504", "F6504", "[a,b            ]"},
      {"''", "F6504", "F6504", "[               ]"},
      {"3*", "-1.25", "-77", "[previous-value!]"},
      {"2*5", "5", "5", "[5              ]"},
      {"-2147483648", "-2147483648", "-2147483648", "[-2147483648    ]"},
      {"16#ff", "F6103", "255", "[16#ff          ]"},
  };
  for (bool terminal : {true, false}) {
    for (const AnswerRow& row : rows) {
      const char* expected[] = {row.real, row.integer, row.text};
      for (Item item : {Item::real, Item::integer, Item::text}) {
        FakeRun run(std::string(row.line) + "\n9\n", terminal);
        std::string got = readOne(run, item);
        EXPECT_EQ(got, expected[static_cast<int>(item)])
            << "line [" << row.line << "] terminal " << terminal;
        if (got.front() != 'F') {
          EXPECT_EQ(readOne(run, Item::integer), "9")
              << "line [" << row.line << "] terminal " << terminal;
        }
      }
    }
  }
}

TEST(ConsoleInput, CrLfLinesAndOneAnswerPerLine) {
  for (bool terminal : {true, false}) {
    for (std::string end : {"\n", "\r\n"}) {
      FakeRun run("1" + end + "2 3" + end + end + "4" + end + "5", terminal);
      EXPECT_EQ(readOne(run, Item::integer), "1");
      EXPECT_EQ(readOne(run, Item::integer), "2");
      EXPECT_EQ(readOne(run, Item::text), "[4              ]");
      EXPECT_EQ(readOne(run, Item::real), "5");
      EXPECT_EQ(readOne(run, Item::real), "F6501");
    }
  }
}

TEST(ConsoleInput, TypedLineLimitOnTerminalOnly) {
  const std::string line130(130, '7');
  const std::string line131(131, '7');
  EXPECT_EQ(readOneFrom(line130 + "\n", true, Item::text), "[777777777777777]");
  EXPECT_EQ(readOneFrom(line130 + "\r\n", true, Item::text), "[777777777777777]");
  EXPECT_EQ(readOneFrom(line131 + "\n", true, Item::text), "F6407");
  EXPECT_EQ(readOneFrom(line131 + "\r\n", true, Item::text), "F6407");
  EXPECT_EQ(readOneFrom(std::string(200, '7') + "\n", true, Item::text), "F6407");
  EXPECT_EQ(readOneFrom(line131 + "\n", false, Item::text), "[777777777777777]");
  EXPECT_EQ(readOneFrom(std::string(200, '7') + "\n", false, Item::text), "[777777777777777]");
}

// A typed line too long for one read is read to its end before the run ends,
// so nothing of it is left for the shell that started the program.
TEST(ConsoleInput, TooLongTypedLineIsDrainedBeforeTheError) {
  const std::string after = "touch left-for-the-shell\n";
  for (std::size_t length : {131, 132, 133, 400}) {
    FakeRun run("5" + std::string(length - 1, ' ') + "\n" + after, true);
    EXPECT_EQ(readOne(run, Item::real), "F6407") << length;
    EXPECT_EQ(run.fake.input.substr(run.fake.inputPosition), after) << length;
  }
}

// Redirected input read in large blocks: a line ending in Ctrl-Z is the end of
// the input only when the reading reaches it; every answer before it counts.
TEST(ConsoleInput, EndOfFileMarkLineCountsWhereItStands) {
  const std::string padding(200, ' ');
  struct Row {
    std::string input;
    std::vector<std::string> answers;
  };
  const Row rows[] = {
      {"5\n6" + padding + "\n\x1a\r\n", {"5", "6", "F6501"}},
      {"5\n\x1a\n6\n", {"5", "F6501"}},
      {"5\n6 7\x1a\n8\n", {"5", "F6501"}},
      {"5\n\x1a" "6\n7\n", {"5", "F6103"}},
      {"5 \x1a\n", {"F6501"}},
  };
  for (const Row& row : rows) {
    FakeRun run(row.input, false);
    for (const std::string& expected : row.answers) {
      ASSERT_EQ(readOne(run, Item::real), expected) << "input [" << row.input << "]";
    }
  }
}

TEST(ConsoleInput, EndOfInputAndFailedRead) {
  const std::pair<const char*, const char*> rows[] = {
      {"", "F6501"},        {"\x1a\n", "F6501"}, {"\x1a\r\n", "F6501"}, {"\x1a", "F6501"},
      {"5\x1a\n", "F6501"}, {"\n\n", "F6501"},   {"7", "7"},             {"\x1a" "5\n", "F6103"},
  };
  for (bool terminal : {true, false}) {
    for (const auto& [input, expected] : rows) {
      EXPECT_EQ(readOneFrom(input, terminal, Item::real), expected)
          << "input [" << input << "] terminal " << terminal;
    }
  }
  FakeRun run("5\n", true);
  run.fake.failReads = true;
  EXPECT_EQ(readOne(run, Item::real), "F6500");
}

TEST(ConsoleInput, ErrorReportNamesTheConsoleUnit) {
  FakeRun run("abc\n", false);
  EXPECT_EQ(readOne(run, Item::real), "F6103");
  EXPECT_EQ(run.fake.error, "\r\nrun-time error F6103: READ(CON)\r\n- invalid real number\r\n");
}

struct ErrorRow {
  const char* line;
  Item item;
  const char* error;
};

TEST(ConsoleInput, EveryConversionErrorEndsTheRead) {
  const ErrorRow rows[] = {
      {"2147483648", Item::integer, "F6100"}, {"99999999999*1", Item::text, "F6100"},
      {"1.", Item::integer, "F6101"},         {"a*1", Item::real, "F6101"},
      {"1e400", Item::real, "F6102"},         {"1.5.", Item::real, "F6103"},
      {"3.5e38", Item::real, "F6104"},        {"16#1#1", Item::integer, "F6302"},
      {"37#1", Item::integer, "F6303"},       {"0*5", Item::real, "F6502"},
      {"2*3*4", Item::text, "F6503"},         {"(1,2)", Item::real, "F6504"},
      {"'7'", Item::integer, "F6504"},
  };
  for (const ErrorRow& row : rows) {
    EXPECT_EQ(readOneFrom(std::string(row.line) + "\n", false, row.item), row.error)
        << "line [" << row.line << "]";
  }
}

TEST(ConsoleInput, SharedConsoleEndsTheOpenLineBeforeReading) {
  FakeRun shared("25\n", true);
  recio::writeConsoleRecord(" Question");
  EXPECT_EQ(readOne(shared, Item::real), "25");
  EXPECT_EQ(shared.fake.output, "Question\r\n");
  EXPECT_FALSE(recio::consoleUnit().lineOpen);
  recio::writeConsoleRecord(" Next");
  EXPECT_EQ(shared.fake.output, "Question\r\nNext");

  FakeRun separate("25\n", false);
  separate.fake.outputTerminal = true;
  separate.restart();
  recio::writeConsoleRecord(" Question");
  EXPECT_EQ(readOne(separate, Item::real), "25");
  EXPECT_EQ(separate.fake.output, "Question");
  EXPECT_TRUE(recio::consoleUnit().lineOpen);
}

TEST(ConsoleInput, SeveralItemsInOneStatement) {
  struct Row {
    const char* input;
    const char* expected;
  };
  const Row rows[] = {
      {"2*5 6\n", "5 5 6"},       {"1,,3\n", "1 -77 3"},      {"1/\n", "1 -77 -77"},
      {"1\n2\n3 4\n", "1 2 3"},   {"1 , 2 3\n", "1 2 3"},     {"3*\n", "-77 -77 -77"},
      {"2*/\n", "-77 -77 -77"},   {"2*7/\n", "7 7 -77"},      {"1 2 3 4\n", "1 2 3"},
  };
  for (bool terminal : {true, false}) {
    for (const Row& row : rows) {
      FakeRun run(std::string(row.input) + "99\n", terminal);
      std::int32_t items[3] = {-77, -77, -77};
      recio::beginRead();
      for (std::int32_t& item : items) recio::readInteger(item);
      recio::endRead();
      std::string got = std::to_string(items[0]) + " " + std::to_string(items[1]) + " " +
                        std::to_string(items[2]);
      EXPECT_EQ(got, row.expected) << "input [" << row.input << "] terminal " << terminal;
      EXPECT_EQ(readOne(run, Item::integer), "99") << "input [" << row.input << "]";
    }
  }
}

TEST(ConsoleInput, QuotedTextGoesOnAcrossLines) {
  // The whole line end (LF, or CR LF) adds nothing; no typed character is lost.
  for (bool terminal : {true, false}) {
    for (std::string lineEnd : {"\n", "\r\n"}) {
      FakeRun run("'meu" + lineEnd + "relatorio'" + lineEnd + "9" + lineEnd, terminal);
      EXPECT_EQ(readOne(run, Item::text), "[meurelatorio   ]") << "terminal " << terminal;
      EXPECT_EQ(readOne(run, Item::integer), "9");
    }
  }
}

TEST(ConsoleInput, RepeatedValueFillsLaterTextItems) {
  FakeRun run("2*'ab' x\n", false);
  char first[4] = {};
  char second[4] = {};
  char third[4] = {'z', 'z', 'z', 'z'};
  recio::beginRead();
  recio::readText(first, 4);
  recio::readText(second, 4);
  recio::readText(third, 4);
  recio::endRead();
  EXPECT_EQ(std::string(first, 4), "ab  ");
  EXPECT_EQ(std::string(second, 4), "ab  ");
  EXPECT_EQ(std::string(third, 4), "x   ");
}

TEST(ConsoleInput, EmptyStatementDropsOneLine) {
  for (bool terminal : {true, false}) {
    FakeRun run("skipped\n4\n", terminal);
    recio::beginRead();
    recio::endRead();
    EXPECT_EQ(readOne(run, Item::integer), "4");
  }
}

TEST(ConsoleInput, RedirectedInputIsTakenInOneRead) {
  FakeRun run("1\n2\n3\n", false);
  EXPECT_EQ(readOne(run, Item::integer), "1");
  EXPECT_EQ(run.fake.inputPosition, run.fake.input.size());
  EXPECT_EQ(readOne(run, Item::integer), "2");
  EXPECT_EQ(readOne(run, Item::integer), "3");
}

TEST(ConsoleInput, LongRedirectedValuesSpanReads) {
  // A first line longer than one read: the value is cut for a text item,
  // invalid for a number, and the line is still dropped to its end.
  std::string longLine = "abcdefghijklmnopqrstuvwxyz" + std::string(70000, 'q');
  EXPECT_EQ(readOneFrom(longLine + "\n9\n", false, Item::text), "[abcdefghijklmno]");
  EXPECT_EQ(readOneFrom(std::string(300, '1') + "\n", false, Item::integer), "F6101");
  EXPECT_EQ(readOneFrom(std::string(300, '1') + "\n", false, Item::real), "F6103");
  EXPECT_EQ(readOneFrom(std::string(260, '1') + "\n", false, Item::real), "F6104");
  EXPECT_EQ(readOneFrom(std::string(261, '1') + "\n", false, Item::real), "F6103");

  FakeRun run(longLine + " 5\n6\n", false);
  EXPECT_EQ(readOne(run, Item::text), "[abcdefghijklmno]");
  EXPECT_EQ(readOne(run, Item::integer), "6");

  std::string shortLines;
  for (int i = 0; i < 20000; ++i) shortLines += "12\r\n";
  shortLines += "77\r\n";
  FakeRun many(shortLines, false);
  for (int i = 0; i < 20000; ++i) ASSERT_EQ(readOne(many, Item::integer), "12") << "line " << i;
  EXPECT_EQ(readOne(many, Item::integer), "77");
}

TEST(ConsoleInput, CarriageReturnAtTheEndOfARedirectedRead) {
  // A read that ends between CR and LF: the LF of the next read ends the line.
  std::string input(64 * 1024 - 2, ' ');
  input += "5\r\n8\n";
  FakeRun run(input, false);
  EXPECT_EQ(readOne(run, Item::integer), "5");
  EXPECT_EQ(readOne(run, Item::integer), "8");
}

}  // namespace
