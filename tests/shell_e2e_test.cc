// The two pauses of a whole run. Typed at a terminal, each line is given once
// its question has appeared: a pause line of two or more characters runs
// through the interpreter, shorter ones run nothing, one longer than the
// command buffer is refused, and an interpreter planted in the report's folder
// or along PATH is never started. On redirected input the pause reads
// nothing: however the answers arrive, every line goes to the questions and
// none is run; redirected output shows the two pause prompts and nothing of
// the screen clears.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "tests/support/e2e_support.h"
#include "tests/support/worked_example.h"

namespace {

using testing_support::RunOutcome;
using testing_support::RunSetup;
using testing_support::TempFolder;

const std::string kPausePrompt =
    "Pause - Please enter a blank line (to continue) or a DOS command.\r\n";

// The worked example's answers with the two pause lines given by the caller.
std::vector<std::string> answerLines(const std::string& firstPause, const std::string& secondPause) {
  return testing_support::workedExampleAnswers(
      {{testing_support::kFirstPause, firstPause}, {testing_support::kLastPause, secondPause}});
}

// The worked example typed at a terminal, each answer once its question has
// appeared; the two pause lines are given by the caller.
RunOutcome typeWithPauseLines(const TempFolder& folder, const std::string& firstPause,
                              const std::string& secondPause, const RunSetup& setup = {}) {
  return testing_support::runOnTerminal(folder, testing_support::workedExamplePrompts(), answerLines(firstPause, secondPause), setup);
}

// The same answers on a pipe, each written once its question has appeared.
RunOutcome pipeWithPauseLines(const TempFolder& folder, const std::string& firstPause,
                              const std::string& secondPause) {
  return testing_support::runPipedByPrompts(folder, testing_support::workedExamplePrompts(), answerLines(firstPause, secondPause));
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
  RunSetup setup;
  setup.environment = {{"COMSPEC", ""}};  // unset in effect: /bin/sh
  RunOutcome run = typeWithPauseLines(folder, "touch made-by-pause", "", setup);
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(folder.read("made-by-pause"), "");
  EXPECT_EQ(folder.read("relatorio.txt"), goldenReport());
}

// A command typed at a pause reads the report as it stands: at the first
// pause every record written so far, at the last the whole report.
TEST(ShellRun, ReportIsWrittenOutBeforeEachPause) {
  TempFolder folder;
  RunSetup setup;
  setup.environment = {{"COMSPEC", ""}};  // /bin/sh
  RunOutcome run = typeWithPauseLines(folder, "cp relatorio.txt at-first-pause",
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
    RunSetup setup;
    setup.environment = {{"COMSPEC", folder.file("recording-shell")}};
    RunOutcome run = typeWithPauseLines(folder, row.first, row.second, setup);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(folder.read("shell-log"), row.log) << "[" << row.first << "]";
    EXPECT_EQ(folder.read("relatorio.txt"), goldenReport());
  }
}

// An "sh" that another user planted in the report's folder, or in a folder a
// relative PATH entry names, would create "planted-ran"; it never starts.
// Without COMSPEC, with a relative one, or with one naming a missing
// interpreter, the typed commands still run, through /bin/sh.
TEST(ShellRun, PlantedInterpreterNeverRuns) {
  unsetenv("COMSPEC");  // the runs below inherit no COMSPEC unless a row sets one
  const std::string path = getenv("PATH") ? getenv("PATH") : "/usr/bin:/bin";
  // Shell built-ins only, so the row without a usable PATH tells the same.
  const std::string planted = "#!/bin/sh\n: > planted-ran\n";
  struct Row {
    const char* title;
    std::map<std::string, std::string> environment;  // the folder's path stands for "@"
  } rows[] = {
      {"in the current folder, COMSPEC unset", {{"PATH", ".:" + path}}},
      {"in a relative PATH entry, COMSPEC unset", {{"PATH", "bin::" + path}}},
      {"relative COMSPEC", {{"COMSPEC", "sh"}}},
      {"COMSPEC missing, PATH missing", {{"COMSPEC", "@/no-such-interpreter"}, {"PATH", "@/none"}}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.title);
    TempFolder folder;
    folder.write("sh", planted);
    chmod(folder.file("sh").c_str(), 0755);
    ASSERT_EQ(mkdir(folder.file("bin").c_str(), 0755), 0);
    folder.write("bin/sh", planted);
    chmod(folder.file("bin/sh").c_str(), 0755);
    RunSetup setup;
    for (auto [name, value] : row.environment) {
      if (value.front() == '@') value = folder.path() + value.substr(1);
      setup.environment[name] = value;
    }
    RunOutcome run = typeWithPauseLines(folder, ": > made-by-pause", ": > again", setup);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(folder.read("planted-ran"), "<missing>");
    EXPECT_EQ(folder.read("made-by-pause"), "");
    EXPECT_EQ(folder.read("again"), "");
    EXPECT_EQ(folder.read("relatorio.txt"), goldenReport());
    EXPECT_NE(run.out.find(" Programa finalizado com exito!"), std::string::npos);
  }
}

// The pause's command buffer holds 126 characters of command: a longer one is
// refused with a notice and runs nothing (cut, it would run without its
// "touch"); one of exactly 126 runs whole.
TEST(ShellRun, PauseCommandLongerThanTheBufferIsRefused) {
  const std::string tooLong = "echo " + std::string(121, 'A') + "; touch cut";
  const std::string longest = "echo " + std::string(108, 'A') + "; touch whole";
  ASSERT_EQ(longest.size(), 126u);
  TempFolder folder;
  RunSetup setup;
  setup.environment = {{"COMSPEC", ""}};  // /bin/sh
  RunOutcome run = typeWithPauseLines(folder, tooLong, longest, setup);
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(folder.read("cut"), "<missing>");
  EXPECT_EQ(folder.read("whole"), "");
  const std::string notice = "comando com mais de 126 caracteres: nao executado\r\n";
  std::size_t shown = run.out.find(notice);
  EXPECT_NE(shown, std::string::npos);
  EXPECT_EQ(run.out.find(notice, shown + 1), std::string::npos);
  EXPECT_EQ(run.out.find(std::string(121, 'A') + "\r\n"), std::string::npos);  // echo never ran
  EXPECT_EQ(folder.read("relatorio.txt"), goldenReport());
}

TEST(ShellRun, RedirectedOutputShowsOnlyThePausePrompts) {
  TempFolder folder;
  RunOutcome run = pipeWithPauseLines(folder, "", "");
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

// Redirected answers reach only the questions, however they arrive: a pipe
// that brings them in two pieces, the second once the first pause shows; an
// answer file whose first pause lies past the first 64 KiB read, with a line
// that a shell would run starting right after it; a pipe its writer keeps
// open after the last answer. Each run ends as the worked example does and
// starts no interpreter.
TEST(ShellRun, RedirectedAnswersNeverReachTheInterpreter) {
  // The answers before the first pause, and those between the pauses.
  const std::vector<std::string> answers = testing_support::workedExampleAnswers();
  const std::string firstPiece =
      testing_support::answerFile({answers.begin(), answers.begin() + testing_support::kFirstPause});
  const std::string secondPiece = testing_support::answerFile(
      {answers.begin() + testing_support::kFirstPause + 1, answers.begin() + testing_support::kLastPause});
  // Blank padding lines up to exactly 64 KiB, then an answer that is also a
  // command line: read at the first pause it would run "touch PWNED".
  const std::string longFile =
      testing_support::readSourceFile("tests/golden/answers-past-first-read/answers.txt");
  using Feed = std::function<RunOutcome(const TempFolder&, RunSetup&)>;
  const std::pair<const char*, Feed> feeds[] = {
      {"pipe in two pieces",
       [&](const TempFolder& folder, RunSetup& setup) {
         return testing_support::runPipedByPrompts(folder, {"", "DOS command."},
                                                   {firstPiece + "\n", secondPiece}, setup);
       }},
      {"answer file longer than the first read",
       [&](const TempFolder& folder, RunSetup& setup) {
         folder.write("answers.txt", longFile);
         setup.inputFile = folder.file("answers.txt");
         return testing_support::runPiped(folder, setup);
       }},
      {"pipe kept open after the last answer",
       [&](const TempFolder& folder, RunSetup& setup) {
         setup.input = firstPiece + "\n" + secondPiece + "\n";
         setup.keepInputOpen = true;
         return testing_support::runPiped(folder, setup);
       }},
  };
  for (const auto& [title, feed] : feeds) {
    SCOPED_TRACE(title);
    TempFolder folder;
    installRecordingShell(folder);
    RunSetup setup;
    setup.environment = {{"COMSPEC", folder.file("recording-shell")}};
    RunOutcome run = feed(folder, setup);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.out, testing_support::readSourceFile("tests/golden/worked-example/stdout.txt"));
    EXPECT_EQ(folder.read("relatorio.txt"), goldenReport());
    EXPECT_EQ(folder.read("shell-log"), "<missing>");
    EXPECT_EQ(folder.read("PWNED"), "<missing>");
  }
}

}  // namespace
