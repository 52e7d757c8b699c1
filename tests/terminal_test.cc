// The console rules as a user at a terminal sees them: the built program runs
// under a pseudo-terminal (standard output and error share it) and each answer
// is typed once its question has appeared. Exact bytes of the line ends, the
// screen clear and the error reports are checked.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "tests/support/e2e_support.h"
#include "tests/support/worked_example.h"

namespace {

using testing_support::RunOutcome;
using testing_support::RunSetup;
using testing_support::kWorkedExample;
using testing_support::TempFolder;

const std::string kClear = "\x1B[H\x1B[2J";

// The answers up to (not including) index `count`, then `last` at the prompt of
// answer `count`.
RunOutcome typeAnswers(const TempFolder& folder, std::size_t count, const std::string& last,
                       const std::map<std::string, std::string>& environment = {}) {
  std::vector<std::string> prompts, lines;
  for (std::size_t i = 0; i <= count && i < kWorkedExample.size(); ++i) {
    prompts.push_back(kWorkedExample[i].prompt);
    lines.push_back(i == count ? last : kWorkedExample[i].answer);
  }
  RunSetup setup;
  setup.environment = {{"LC_ALL", "C"}, {"LANG", "C"}};  // console bytes as stored
  setup.environment.insert(environment.begin(), environment.end());
  return testing_support::runOnTerminal(folder, prompts, lines, setup);
}

RunOutcome typeWorkedExample(const TempFolder& folder,
                             const std::map<std::string, std::string>& environment = {}) {
  return typeAnswers(folder, kWorkedExample.size() - 1, kWorkedExample.back().answer, environment);
}

std::size_t clearsIn(const std::string& shown) {
  std::size_t clears = 0;
  for (std::size_t at = shown.find(kClear); at != std::string::npos; at = shown.find(kClear, at + 1)) {
    ++clears;
  }
  return clears;
}

TEST(Terminal, LineEndsAroundReadsClearsAndExit) {
  TempFolder folder;
  RunOutcome run = typeWorkedExample(folder);
  ASSERT_EQ(run.status, 0) << run.out;
  // The read ends the open prompt line, the answer's Enter ends the answer's
  // line, so the next record (after the clear) has nothing before it.
  const std::vector<std::string> fragments = {
      "(nome.txt)\r\n \r\n" + kClear + "digite o valor do fck requerido (Mpa) \r\n" + kClear +
          "digite 4 para concreto com rigoroso controle tecnologico\r\n",
      "abatimento (cm)\r\n" + kClear + "digite o diametro",
      "Digite o numero da opcao desejada\r\n" + kClear +
          "digite o valor da relacao a/c escolhido = \r\n" + kClear + "digite 1 se nao ha ar",
      // A read not followed by a clear: the blank record starts at the line's start.
      "ha ar incorporado\r\n \r\ndigite a quantidade",
      " \r\nPause - Please enter a blank line (to continue) or a DOS command.\r\n\r\n"
      "digite a % do agregado correspondente a brita 1 em (%)\r\n" + kClear + "Digite a massa",
  };
  for (const std::string& fragment : fragments) {
    EXPECT_NE(run.out.find(fragment), std::string::npos) << fragment;
  }
  EXPECT_EQ(run.out.rfind("Programa para calculo do Dosmo de Concreto  versao 1.15\r\n", 0), 0u);
  const std::string ending =
      " \r\nPause - Please enter a blank line (to continue) or a DOS command.\r\n\r\n";
  ASSERT_GE(run.out.size(), ending.size());
  EXPECT_EQ(run.out.substr(run.out.size() - ending.size()), ending);
  EXPECT_EQ(folder.read("relatorio.txt"),
            testing_support::readSourceFile("tests/golden/worked-example/files/relatorio.txt"));
}

TEST(Terminal, ScreenClearOnlyOnTerminal) {
  TempFolder onTerminal, redirected;
  RunOutcome typed = typeWorkedExample(onTerminal);
  EXPECT_EQ(clearsIn(typed.out), 11u);
  RunSetup setup;
  setup.input = testing_support::readSourceFile("tests/golden/worked-example/answers.txt");
  RunOutcome piped = testing_support::runPiped(redirected, setup);
  EXPECT_EQ(piped.status, 0);
  EXPECT_EQ(piped.out.find('\x1B'), std::string::npos);
}

// Without an interpreter to start, the clears leave the screen as it is and
// the run goes on to its end.
TEST(Terminal, NoScreenClearWithoutInterpreter) {
  TempFolder folder;
  RunOutcome typed = typeWorkedExample(
      folder, {{"COMSPEC", folder.file("no-such-interpreter")}, {"PATH", folder.file("no-such-directory")}});
  EXPECT_EQ(typed.status, 0) << typed.out;
  EXPECT_EQ(clearsIn(typed.out), 0u);
  EXPECT_EQ(folder.read("relatorio.txt"),
            testing_support::readSourceFile("tests/golden/worked-example/files/relatorio.txt"));
}

// Typed lines that end the run at the report-name question, and their reports.
TEST(Terminal, TypedLinesThatEndTheRun) {
  struct Row {
    std::string typed;
    std::string report;  // expected after the echo-free terminal bytes of the prompt
  } rows[] = {
      {std::string(131, 'a'), "run-time error F6407: READ(CON)\r\n- "},
      {"\x16\x1A", "run-time error F6501: READ(CON)\r\n- "},  // Ctrl-V Ctrl-Z: a literal Ctrl-Z
  };
  for (const Row& row : rows) {
    TempFolder folder;
    RunOutcome run = typeAnswers(folder, 0, row.typed);
    EXPECT_EQ(run.status, 1) << run.out;
    std::size_t at = run.out.find("(nome.txt)\r\n \r\n\r\n" + row.report);
    EXPECT_NE(at, std::string::npos) << run.out;
    EXPECT_EQ(folder.read("relatorio.txt"), "<missing>");
  }
}

// On a UTF-8 terminal a name typed with accents names the file as typed and
// shows as typed on the closing screen, a cut at 15 bytes never keeps half a
// letter, and the program's own texts still arrive converted.
TEST(Terminal, AccentedNamesOnAUtf8Terminal) {
  struct Row {
    std::string typed;
    std::string file;  // the name as kept, blank-padded to 15 bytes
  };
  const Row rows[] = {
      {"relat\xC3\xB3rio.txt", "relat\xC3\xB3rio.txt "},
      {"relat\xC3\xB3rio_a\xC3\xA7\xC3\xA3o.txt", "relat\xC3\xB3rio_a\xC3\xA7 "},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.typed);
    std::vector<std::string> prompts, lines;
    for (const testing_support::WorkedExampleStep& step : kWorkedExample) {
      prompts.push_back(step.prompt);
      lines.push_back(prompts.size() == 1 ? row.typed : step.answer);
    }
    RunSetup setup;
    setup.environment = {{"LC_ALL", "C.UTF-8"}};
    TempFolder folder;
    RunOutcome run = testing_support::runOnTerminal(folder, prompts, lines, setup);
    ASSERT_EQ(run.status, 0) << run.out;
    EXPECT_NE(run.out.find("digite o n\xC3\xBAmero da opcao"), std::string::npos);
    EXPECT_NE(run.out.find("contido no arquivo " + row.file + "\r\n"), std::string::npos) << run.out;
    EXPECT_EQ(folder.read(row.file.substr(0, row.file.find_last_not_of(' ') + 1)).size(), 1391u);
  }
}

TEST(Terminal, LineOf130CharactersIsAccepted) {
  const std::string name = "r" + std::string(129, 'x');  // kept as its first 15 characters
  TempFolder second;
  std::vector<std::string> prompts = {"(nome.txt)", "(Mpa) "};
  std::vector<std::string> lines = {name, "abc"};
  RunSetup setup;
  setup.environment = {{"LC_ALL", "C"}};
  RunOutcome typed = testing_support::runOnTerminal(second, prompts, lines, setup);
  // The name was taken: the strength question came, and its bad answer is the error.
  EXPECT_NE(typed.out.find("(Mpa) \r\n\r\nrun-time error F6103: READ(CON)"), std::string::npos)
      << typed.out;
  EXPECT_EQ(second.read("rxxxxxxxxxxxxxx"), "");
}

// A quoted name holding control characters cannot drive the terminal: the
// closing screen and an error report show each one as "?", while the file
// keeps the name's bytes.
TEST(Terminal, ControlCharactersOfATypedNameShownAsQuestionMarks) {
  struct Row {
    std::string typed;    // the name answer, quotes included
    std::size_t answers;  // how many of the worked example's answers are typed
    std::string shown;    // what the terminal shows of it
    std::string file;     // the file the run leaves, as named
  };
  const Row rows[] = {
      {"'a\x1B]0;x\x07" "b'", kWorkedExample.size(), "contido no arquivo a?]0;x?b       \r\n",
       "a\x1B]0;x\x07" "b"},
      {"'nodir/\x1B]0;y\x07'", 2,
       "run-time error F6416: OPEN(nodir/?]0;y?)\r\n- file or folder not found\r\n", ""},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.shown);
    std::vector<std::string> prompts, lines;
    for (std::size_t i = 0; i < row.answers; ++i) {
      prompts.push_back(kWorkedExample[i].prompt);
      lines.push_back(i == 0 ? row.typed : kWorkedExample[i].answer);
    }
    RunSetup setup;
    setup.environment = {{"LC_ALL", "C"}, {"LANG", "C"}};
    TempFolder folder;
    RunOutcome run = testing_support::runOnTerminal(folder, prompts, lines, setup);
    EXPECT_EQ(run.status, row.file.empty() ? 1 : 0) << run.out;
    EXPECT_NE(run.out.find(row.shown), std::string::npos) << run.out;
    EXPECT_EQ(run.out.find("\x1B]"), std::string::npos);
    EXPECT_EQ(run.out.find('\x07'), std::string::npos);
    if (!row.file.empty()) {
      EXPECT_EQ(folder.read(row.file),
                testing_support::readSourceFile("tests/golden/worked-example/files/relatorio.txt"));
    }
  }
}

}  // namespace
