// The two pauses of a whole run, fed through a pipe one line at a time after
// each question has appeared: a pause line of two or more characters runs
// through the interpreter, shorter ones run nothing, a missing interpreter
// skips the command and the run goes on, and redirected output shows the two
// pause prompts and nothing of the screen clears.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>
#include <vector>

#include "tests/e2e_support.h"

namespace {

using testing_support::RunOutcome;
using testing_support::RunSpec;
using testing_support::TempFolder;

const std::string kPausePrompt =
    "Pause - Please enter a blank line (to continue) or a DOS command.\r\n";

// The worked example's answers, each with the text that shows its question;
// the two pause lines are given by the caller.
RunOutcome runWithPauseLines(const TempFolder& folder, const std::string& firstPause,
                             const std::string& secondPause, const RunSpec& setup = {}) {
  const std::vector<std::string> prompts = {
      "(nome.txt)",        "(Mpa) ",          "mero da opcao desejada", "abatimento (cm)",
      "padrao = 25",       "valor da opcao desejada ", "Digite o numero da opcao desejada",
      "escolhido = ",      "ha ar incorporado", "tera o concreto",      "DOS command.",
      "brita 1 em (%)",    "padrao = 1.59 ",  "1.36 a 1.4 ",            "DOS command."};
  const std::vector<std::string> lines = {"relatorio.txt", "25", "4", "8", "25", "1", "1",
                                          "0.55", "1", "1", firstPause, "59", "1.59", "1.4",
                                          secondPause};
  return testing_support::runPipedByPrompts(folder, prompts, lines, setup);
}

const std::string& goldenReport() {
  static const std::string report =
      testing_support::readSourceFile("tests/golden/worked-example/files/relatorio.txt");
  return report;
}

// A stand-in interpreter that records each command line it is given.
void installRecordingShell(const TempFolder& folder) {
  folder.write("recording-shell", "#!/bin/sh\nprintf '%s|' \"$@\" >> shell-log\necho >> shell-log\n");
  chmod(folder.file("recording-shell").c_str(), 0755);
}

TEST(ShellRun, PauseLineCreatesFileThroughTheHostShell) {
  TempFolder folder;
  RunSpec setup;
  setup.environment = {{"COMSPEC", ""}};  // unset in effect: the host's sh from PATH
  RunOutcome run = runWithPauseLines(folder, "touch made-by-pause", "", setup);
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(folder.read("made-by-pause"), "");
  EXPECT_EQ(folder.read("relatorio.txt"), goldenReport());
}

// A command typed at a pause reads the report as it stands: at the first
// pause every record written so far, at the last the whole report.
TEST(ShellRun, ReportIsWrittenOutBeforeEachPause) {
  TempFolder folder;
  RunSpec setup;
  setup.environment = {{"COMSPEC", ""}};  // the host's sh from PATH
  RunOutcome run = runWithPauseLines(folder, "cp relatorio.txt at-first-pause",
                                     "cp relatorio.txt at-last-pause", setup);
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(folder.read("at-first-pause"), goldenReport().substr(0, 743));
  EXPECT_EQ(folder.read("at-last-pause").size(), goldenReport().size());
  EXPECT_EQ(folder.read("at-last-pause"), goldenReport());
  EXPECT_EQ(folder.read("relatorio.txt"), goldenReport());
}

TEST(ShellRun, PauseLinesReachTheInterpreterAsTyped) {
  struct Row {
    std::string first, second, log;
  } rows[] = {
      {"", "", "<missing>"},                 // blank lines run nothing
      {"x", "y", "<missing>"},               // one character runs nothing
      {" \t ", "z \t", "<missing>"},         // blanks and tabs, then one character
      {"ls  \t ", "", "-c|ls|\n"},           // trailing blanks and tabs dropped
      {"  echo a", "pwd", "-c|  echo a|\n-c|pwd|\n"},  // leading blanks kept
  };
  for (const Row& row : rows) {
    TempFolder folder;
    installRecordingShell(folder);
    RunSpec setup;
    setup.environment = {{"COMSPEC", folder.file("recording-shell")}};
    RunOutcome run = runWithPauseLines(folder, row.first, row.second, setup);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(folder.read("shell-log"), row.log) << "[" << row.first << "]";
    EXPECT_EQ(folder.read("relatorio.txt"), goldenReport());
  }
}

TEST(ShellRun, MissingInterpreterSkipsTheCommand) {
  TempFolder folder;
  RunSpec setup;
  setup.environment = {{"COMSPEC", folder.file("no-such-interpreter")},
                      {"PATH", folder.file("no-such-directory")}};
  RunOutcome run = runWithPauseLines(folder, "touch made-by-pause", "touch again", setup);
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(folder.read("made-by-pause"), "<missing>");
  EXPECT_EQ(folder.read("relatorio.txt"), goldenReport());
  EXPECT_NE(run.out.find(" Programa finalizado com exito!"), std::string::npos);
}

TEST(ShellRun, RedirectedOutputShowsOnlyThePausePrompts) {
  TempFolder folder;
  RunOutcome run = runWithPauseLines(folder, "", "");
  EXPECT_EQ(run.status, 0);
  // Each prompt follows the open line's end and is followed by its own line end.
  const std::string firstPause = " nao corresponde a granulometria.\r\n \r\n" + kPausePrompt +
                                 "\r\ndigite a % do agregado";
  EXPECT_NE(run.out.find(firstPause), std::string::npos);
  const std::string ending = " \r\n \r\n" + kPausePrompt + "\r\n";
  ASSERT_GE(run.out.size(), ending.size());
  EXPECT_EQ(run.out.substr(run.out.size() - ending.size()), ending);
  std::size_t prompts = 0;
  for (std::size_t at = run.out.find(kPausePrompt); at != std::string::npos;
       at = run.out.find(kPausePrompt, at + 1)) {
    ++prompts;
  }
  EXPECT_EQ(prompts, 2u);
  EXPECT_EQ(run.out.find_first_of("\x1B\f"), std::string::npos);
  EXPECT_EQ(run.out,
            testing_support::readSourceFile("tests/golden/worked-example/stdout.txt"));
}

}  // namespace
