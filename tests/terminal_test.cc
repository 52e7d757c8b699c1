// The console rules as a user at a terminal sees them: the built program runs
// under a pseudo-terminal (standard output and error share it) and each answer
// is typed once its question has appeared. Exact bytes of the line ends, the
// screen clear and the error reports are checked.
#include <gtest/gtest.h>

#include <filesystem>
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

// With COMSPEC naming a missing interpreter and PATH a missing folder, the
// clears still find /bin/sh, which is never looked for along PATH.
TEST(Terminal, ScreenClearWithComspecMissingFindsTheSystemShell) {
  TempFolder folder;
  RunOutcome typed = typeWorkedExample(
      folder, {{"COMSPEC", folder.file("no-such-interpreter")}, {"PATH", folder.file("no-such-directory")}});
  EXPECT_EQ(typed.status, 0) << typed.out;
  EXPECT_EQ(clearsIn(typed.out), 11u);
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

// The locales of the two kinds of POSIX terminal: UTF-8 and single-byte.
const std::string kUtf8Locale = "C.UTF-8";
const std::string kSingleByteLocale = "C";

// A name that, passed as it is, retitles the window and clears a UTF-8 terminal.
const std::string kHostileName = "\xC2\x9D" "0;PWNED\xC2\x9C\xC2\x9B" "2J";

// True when `shown` holds a C1 control as a terminal of that character set
// reads one: U+0080 to U+009F in UTF-8, a byte 0x80 to 0x9F otherwise.
bool holdsC1Control(const std::string& shown, bool utf8) {
  auto isC1 = [](char byte) {
    auto value = static_cast<unsigned char>(byte);
    return value >= 0x80 && value <= 0x9F;
  };
  for (std::size_t at = 0; at < shown.size(); ++at) {
    if (!utf8 && isC1(shown[at])) return true;
    if (utf8 && shown[at] == '\xC2' && at + 1 < shown.size() && isC1(shown[at + 1])) return true;
  }
  return false;
}

// The worked example typed in `locale`, its name question answered by
// `nameLines` after `namePrompts`, and `answers` of its questions in all.
RunOutcome typeWithName(const TempFolder& folder, const std::string& locale,
                        const std::vector<std::string>& namePrompts,
                        const std::vector<std::string>& nameLines,
                        std::size_t answers = kWorkedExample.size()) {
  std::vector<std::string> prompts = namePrompts, lines = nameLines;
  for (std::size_t i = 1; i < answers; ++i) {
    prompts.push_back(kWorkedExample[i].prompt);
    lines.push_back(kWorkedExample[i].answer);
  }
  RunSetup setup;
  setup.environment = {{"LC_ALL", locale}, {"LANG", locale}};
  return testing_support::runOnTerminal(folder, prompts, lines, setup);
}

// Typed in UTF-8 or as raw bytes, or made by the conversion to UTF-8, no
// character of a name reaches the terminal as a C1 control, in either
// character set; the file keeps the name's bytes.
TEST(Terminal, NoCharacterOfANameActsAsAControl) {
  struct Row {
    std::string typed;
    std::string shownUtf8;
    std::string shownSingleByte;
  };
  const Row rows[] = {
      {kHostileName, "?0;PWNED??2J", "\xC2?0;PWNED\xC2?\xC2?2J"},
      {"r\x80\x9B\x9F.txt", "r\xE2\x82\xAC\xE2\x80\xBA\xC5\xB8.txt", "r???.txt"},
      {"r\x81\x8D\x8F\x90\x9D.txt", "r?????.txt", "r?????.txt"},
  };
  for (const Row& row : rows) {
    for (bool utf8 : {true, false}) {
      const std::string& shown = utf8 ? row.shownUtf8 : row.shownSingleByte;
      SCOPED_TRACE(shown);
      TempFolder folder;
      RunOutcome run = typeWithName(folder, utf8 ? kUtf8Locale : kSingleByteLocale,
                                    {kWorkedExample[0].prompt}, {row.typed});
      ASSERT_EQ(run.status, 0) << run.out;
      const std::string padding(15 - row.typed.size(), ' ');
      EXPECT_NE(run.out.find("contido no arquivo " + shown + padding + "\r\n"), std::string::npos)
          << run.out;
      EXPECT_FALSE(holdsC1Control(run.out, utf8)) << run.out;
      EXPECT_EQ(folder.read(row.typed),
                testing_support::readSourceFile("tests/golden/worked-example/files/relatorio.txt"));
    }
  }
}

// An error report on standard error shows the name that caused it the same
// way (a link to a missing file is refused by the open).
TEST(Terminal, ErrorReportShowsNoControlOfTheName) {
  for (bool utf8 : {true, false}) {
    const std::string shown = utf8 ? "?0;PWNED??2J" : "\xC2?0;PWNED\xC2?\xC2?2J";
    SCOPED_TRACE(shown);
    TempFolder folder;
    std::filesystem::create_symlink(folder.file("missing"), folder.file(kHostileName));
    RunOutcome run = typeWithName(folder, utf8 ? kUtf8Locale : kSingleByteLocale,
                                  {kWorkedExample[0].prompt}, {kHostileName}, 1);
    EXPECT_EQ(run.status, 1) << run.out;
    EXPECT_NE(run.out.find("\r\nrun-time error F6415: OPEN(" + shown + ")\r\n- "), std::string::npos)
        << run.out;
    EXPECT_FALSE(holdsC1Control(run.out, utf8)) << run.out;
    EXPECT_EQ(folder.read("missing"), "<missing>");
  }
}

// A name never typed (a null answer, then the name at the run-time's own
// prompt) is fifteen NULs: the closing screen passes them, as redirected
// output does, and a terminal shows nothing for them.
TEST(Terminal, NameNeverTypedShowsAsNothing) {
  for (const std::string& locale : {kUtf8Locale, kSingleByteLocale}) {
    SCOPED_TRACE(locale);
    TempFolder folder;
    RunOutcome run = typeWithName(folder, locale, {kWorkedExample[0].prompt, "UNIT 3? "}, {",", "rel.txt"});
    ASSERT_EQ(run.status, 0) << run.out;
    EXPECT_NE(run.out.find("contido no arquivo " + std::string(15, '\0') + "\r\n"), std::string::npos)
        << run.out;
    EXPECT_EQ(folder.read("rel.txt"),
              testing_support::readSourceFile("tests/golden/worked-example/files/relatorio.txt"));
  }
}

// A refused command-line option quotes the value typed, shown the same way.
TEST(Terminal, RefusedOptionShowsNoControlOfItsValue) {
  for (bool utf8 : {true, false}) {
    const std::string shown = std::string("'?]0;X?") + (utf8 ? "?" : "\xC2?") + "2J'";
    SCOPED_TRACE(shown);
    TempFolder folder;
    RunSetup setup;
    setup.arguments = {"--memorial", "--volume", "\x1B]0;X\x07\xC2\x9B" "2J"};
    setup.environment = {{"LC_ALL", utf8 ? kUtf8Locale : kSingleByteLocale}};
    RunOutcome run = testing_support::runOnTerminal(folder, {}, {}, setup);
    EXPECT_EQ(run.status, 2) << run.out;
    EXPECT_EQ(run.out.rfind("dosmo: valor invalido para --volume: " + shown + " (use ", 0), 0u) << run.out;
    EXPECT_NE(run.out.find(")\r\nUse dosmo --help para ver as opcoes.\r\n"), std::string::npos) << run.out;
    EXPECT_FALSE(holdsC1Control(run.out, utf8)) << run.out;
  }
}

}  // namespace
