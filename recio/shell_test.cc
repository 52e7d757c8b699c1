// Shell commands and the pause: the command line handed to the interpreter,
// the choice of interpreter, the pause dialogue on the in-memory platform, and real
// child processes started through the POSIX platform.
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "recio/console.h"
#include "recio/platform/platform.h"
#include "recio/run_end.h"
#include "recio/shell.h"
#include "tests/support/fake_platform.h"

namespace {

using testing_support::FakeRun;
using Calls = std::vector<std::vector<std::string>>;

const std::string pausePrompt =
    "Pause - Please enter a blank line (to continue) or a DOS command.\r\n";
const std::string tooLongNotice = "comando com mais de 126 caracteres: nao executado\r\n";
const std::string systemSh = recio::kPosixShell.interpreter;

std::vector<std::string> shCall(const std::string& program, const std::string& command) {
  return {program, program, "-c", command};
}

std::int32_t runText(const std::string& text) {
  return recio::runShellCommand(text.data(), static_cast<int>(text.size()));
}

struct CommandCase {
  std::string text;
  std::map<std::string, std::string> variables;
  bool starts;
  Calls calls;
  int status;
};

// COMSPEC's interpreter when it names one from the root, else /bin/sh; a
// relative COMSPEC, the current folder and PATH are never tried.
TEST(ShellCommand, FormsCommandLineAndFindsInterpreter) {
  const CommandCase cases[] = {
      {"dir /w   ", {}, true, {shCall(systemSh, "dir /w")}, 1},
      {"  echo  x  ", {}, true, {shCall(systemSh, "  echo  x")}, 1},
      {"", {}, true, {shCall(systemSh, "")}, 1},
      {"dir", {{"COMSPEC", "/opt/shell/cmd"}}, true, {shCall("/opt/shell/cmd", "dir")}, 1},
      {"dir", {{"COMSPEC", ""}}, true, {shCall(systemSh, "dir")}, 1},
      {"dir", {{"COMSPEC", "sh"}, {"PATH", ".:bin::/usr/bin"}}, true, {shCall(systemSh, "dir")}, 1},
      {"dir", {{"COMSPEC", "./bin/sh"}}, false, {shCall(systemSh, "dir")}, 0},
      {"dir",
       {{"COMSPEC", "/x/cmd"}, {"PATH", "/a::/b/"}},
       false,
       {shCall("/x/cmd", "dir"), shCall(systemSh, "dir")},
       0},
      {"dir", {}, false, {shCall(systemSh, "dir")}, 0},
  };
  for (const CommandCase& row : cases) {
    SCOPED_TRACE(row.text);
    FakeRun run;
    run.fake.variables = row.variables;
    run.fake.processesStart = row.starts;
    EXPECT_EQ(runText(row.text), row.status);
    EXPECT_EQ(run.fake.processes, row.calls);
  }
}

// The same choice on a Windows host, where a name from the root carries a
// drive letter or a network name ("\\cmd.exe" and "C:cmd.exe" depend on where
// the run stands), and "cls" is run by the interpreter like any other command.
TEST(ShellCommand, WindowsSettingsFormCommandLineAndFindInterpreter) {
  const std::string systemCmd = recio::kWindowsShell.interpreter;
  auto cmdCall = [](const std::string& program, const std::string& command) {
    return std::vector<std::string>{program, program, "/c", command};
  };
  const CommandCase cases[] = {
      {"dir /w   ", {}, true, {cmdCall(systemCmd, "dir /w")}, 1},
      {"cls   ", {}, true, {cmdCall(systemCmd, "cls")}, 1},
      {"dir", {{"COMSPEC", "C:\\WINDOWS\\system32\\cmd.exe"}}, true,
       {cmdCall("C:\\WINDOWS\\system32\\cmd.exe", "dir")}, 1},
      {"dir", {{"COMSPEC", "d:/tools/cmd.exe"}}, true, {cmdCall("d:/tools/cmd.exe", "dir")}, 1},
      {"dir", {{"COMSPEC", "\\\\server\\tools\\cmd.exe"}}, true,
       {cmdCall("\\\\server\\tools\\cmd.exe", "dir")}, 1},
      {"dir", {{"COMSPEC", "cmd.exe"}, {"PATH", ".;C:\\a"}}, true, {cmdCall(systemCmd, "dir")}, 1},
      {"dir", {{"COMSPEC", "C:cmd.exe"}}, true, {cmdCall(systemCmd, "dir")}, 1},
      {"dir", {{"COMSPEC", "\\cmd.exe"}}, true, {cmdCall(systemCmd, "dir")}, 1},
      {"cls",
       {{"COMSPEC", "C:\\none.exe"}, {"PATH", "C:\\a;;C:\\b\\;D:/c/"}},
       false,
       {cmdCall("C:\\none.exe", "cls"), cmdCall(systemCmd, "cls")},
       0},
  };
  for (const CommandCase& row : cases) {
    SCOPED_TRACE(row.text);
    FakeRun run;
    run.fake.shell = recio::kWindowsShell;
    run.fake.variables = row.variables;
    run.fake.processesStart = row.starts;
    EXPECT_EQ(runText(row.text), row.status);
    EXPECT_EQ(run.fake.processes, row.calls);
    EXPECT_EQ(run.fake.clears, 0);
    EXPECT_TRUE(run.fake.probes.empty());
  }
}

// The clear is carried out by the platform, never by a child process, and
// only where an interpreter is there to be started; the interpreter is looked
// for once in a run, however often the screen is cleared.
TEST(ShellCommand, ScreenClearNeedsAnInterpreterButStartsNone) {
  struct ClearCase {
    std::map<std::string, std::string> variables;
    bool interpreterThere;
    std::vector<std::string> probes;
    std::int32_t status;
  };
  const ClearCase cases[] = {
      {{}, true, {systemSh}, 1},
      {{{"COMSPEC", "/opt/shell/cmd"}}, true, {"/opt/shell/cmd"}, 1},
      {{{"COMSPEC", "sh"}, {"PATH", ".:bin"}}, true, {systemSh}, 1},
      {{{"COMSPEC", "/x/cmd"}, {"PATH", "/a::/b/"}}, false, {"/x/cmd", systemSh}, 0},
      {{}, false, {systemSh}, 0},
  };
  for (const ClearCase& row : cases) {
    for (bool lineOpen : {false, true}) {
      for (const std::string text : {"cls", "cls   "}) {
        SCOPED_TRACE(text + (row.interpreterThere ? " with" : " without") + " an interpreter");
        FakeRun run;
        run.fake.variables = row.variables;
        run.fake.processesStart = row.interpreterThere;
        recio::consoleUnit().lineOpen = lineOpen;
        EXPECT_EQ(runText(text), row.status);
        EXPECT_EQ(runText(text), row.status);
        EXPECT_EQ(run.fake.clears, 2 * row.status);
        EXPECT_EQ(run.fake.probes, row.probes);
        EXPECT_TRUE(run.fake.processes.empty());
        EXPECT_EQ(run.fake.output, "");
        EXPECT_EQ(recio::consoleUnit().lineOpen, lineOpen);
      }
    }
  }
}

struct PauseCase {
  std::string input;
  bool terminal;
  std::optional<std::string> command;  // what reaches the interpreter, if anything
  bool refused = false;                // the command is too long and refused
};

// On a terminal the pause takes one typed line and runs it when it holds a
// command of 2 to 126 characters, and refuses a longer one whole; on
// redirected input it shows its prompt and reads nothing, so no answer is
// taken out of order and none is run.
TEST(Pause, RunsOnlyTypedLinesOfTwoOrMoreCharacters) {
  const std::string longLine(200, 'a');
  const PauseCase cases[] = {
      {"", true, std::nullopt},
      {" \t  \t\n", true, std::nullopt},
      {"x \t \n", true, std::nullopt},
      {"  x\n", true, "  x"},
      {"ab\ncd\n", true, "ab"},
      {"\nab\n", true, std::nullopt},
      {"  dir c:  \t\n", true, "  dir c:"},
      {"ls\r\n", true, "ls"},
      {longLine + "\n", true, std::nullopt, true},
      {std::string(127, 'b') + "\n", true, std::nullopt, true},
      {"echo " + std::string(121, 'A') + "; touch X\n", true, std::nullopt, true},
      {std::string(5000, 'f') + "\n", true, std::nullopt, true},  // longer than one read
      {std::string(126, 'c') + "\n", true, std::string(126, 'c')},
      {std::string(125, 'd') + "  \n", true, std::string(125, 'd')},
      {std::string(126, 'e') + std::string(300, ' ') + "\t\n", true, std::string(126, 'e')},
      {"\n", false, std::nullopt},
      {"", false, std::nullopt},
      {"ab\ncd\n", false, std::nullopt},
      {"ls\r\n", false, std::nullopt},
      {"touch x\n59\n", false, std::nullopt},
      {longLine + "\n", false, std::nullopt},
  };
  for (const PauseCase& row : cases) {
    SCOPED_TRACE(row.input + (row.terminal ? " (terminal)" : " (redirected)"));
    FakeRun run(row.input, row.terminal);
    recio::pauseForUser();
    Calls expected;
    if (row.command) expected.push_back(shCall(systemSh, *row.command));
    EXPECT_EQ(run.fake.processes, expected);
    EXPECT_EQ(run.fake.output, pausePrompt + (row.refused ? tooLongNotice : ""));
    if (!row.terminal) {
      EXPECT_EQ(run.fake.inputPosition, 0u);
    }
  }
}

TEST(Pause, DropsRestOfLongTerminalLine) {
  FakeRun run(std::string(300, 'z') + "\nnext\n", true);
  recio::pauseForUser();
  EXPECT_TRUE(run.fake.processes.empty());
  EXPECT_EQ(run.fake.input.substr(run.fake.inputPosition), "next\n");
}

TEST(Pause, EndsOpenLineAndLeavesItOpen) {
  for (bool lineOpen : {false, true}) {
    FakeRun run("\n", true);
    recio::consoleUnit().lineOpen = lineOpen;
    recio::pauseForUser();
    EXPECT_EQ(run.fake.output, (lineOpen ? "\r\n" : "") + pausePrompt);
    EXPECT_EQ(recio::consoleUnit().lineOpen, lineOpen);
  }
}

TEST(Pause, ScreenClearAndFailedStartGoOn) {
  FakeRun clear("cls\n", true);
  recio::pauseForUser();
  EXPECT_EQ(clear.fake.clears, 1);
  EXPECT_TRUE(clear.fake.processes.empty());

  FakeRun missing("dir\n", true);
  missing.fake.processesStart = false;
  EXPECT_EQ(FakeRun::statusOf([] { recio::pauseForUser(); }), -1);
  EXPECT_EQ(missing.fake.output, pausePrompt);
  EXPECT_EQ(missing.fake.error, "");
}

// Real child processes on the host, with COMSPEC, PATH and the current
// directory set per test and restored afterwards.
class ShellHostProcess : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/dosmo-shell-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    folder_ = pattern;
    std::filesystem::create_directory(folder_ / "empty");
    savedCurrent_ = std::filesystem::current_path();
    std::filesystem::current_path(folder_);
    saved_ = {{"COMSPEC", get("COMSPEC")}, {"PATH", get("PATH")}};
    unsetenv("COMSPEC");
    setenv("PATH", "/usr/bin:/bin", 1);
  }
  void TearDown() override {
    for (const auto& [name, value] : saved_) {
      if (value) setenv(name.c_str(), value->c_str(), 1);
      else unsetenv(name.c_str());
    }
    std::filesystem::current_path(savedCurrent_);
    std::filesystem::remove_all(folder_);
  }

  static std::optional<std::string> get(const char* name) {
    const char* value = getenv(name);
    return value ? std::optional<std::string>(value) : std::nullopt;
  }
  // Writes a file with the given content and permission bits.
  std::string makeFile(const std::string& name, const std::string& content, mode_t mode) {
    std::filesystem::path path = folder_ / name;
    std::ofstream(path) << content;
    chmod(path.c_str(), mode);
    return path.string();
  }
  std::string trace() const {
    std::ifstream in(folder_ / "trace");
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  std::filesystem::path folder_;
  std::filesystem::path savedCurrent_;
  std::map<std::string, std::optional<std::string>> saved_;
};

TEST_F(ShellHostProcess, StartsWithoutSearchAndTellsMissing) {
  struct StartCase {
    std::string program;
    bool started;
    bool missing;
  };
  const StartCase cases[] = {
      {(folder_ / "absent").string(), false, true},
      {makeFile("plain", "echo hi\n", 0644), false, true},
      {(folder_ / "empty").string(), false, true},
      {makeFile("garbage", std::string("\x01\x02\x03 not a program\n"), 0755), false, false},
      {"sh", false, true},  // a bare name is looked for in the current directory only
      {"/bin/sh", true, false},
  };
  recio::HostPlatform host;
  for (const StartCase& row : cases) {
    SCOPED_TRACE(row.program);
    bool missing = !row.missing;
    EXPECT_EQ(host.runProcess(row.program, {row.program, "-c", "exit 3"}, &missing), row.started);
    EXPECT_EQ(missing, row.missing);
  }
}

TEST_F(ShellHostProcess, CommandLeavesTraceWhateverItsExitCode) {
  EXPECT_EQ(runText("echo made > trace; exit 7  "), 1);
  EXPECT_EQ(trace(), "made\n");
}

// With COMSPEC not permitted, the fallback is /bin/sh itself: an "sh" planted
// in the current folder or in a PATH entry is never started.
TEST_F(ShellHostProcess, FallbackIsTheSystemShellNotOneOnPath) {
  setenv("COMSPEC", makeFile("locked", "", 0644).c_str(), 1);
  std::filesystem::create_directory(folder_ / "bin");
  makeFile("sh", "#!/bin/sh\necho planted >> trace\n", 0755);
  makeFile("bin/sh", "#!/bin/sh\necho planted >> trace\n", 0755);
  setenv("PATH", (folder_.string() + "/bin:bin::.").c_str(), 1);
  EXPECT_EQ(runText("echo found > trace"), 1);
  EXPECT_EQ(trace(), "found\n");
}

TEST_F(ShellHostProcess, ComspecInterpreterIsUsed) {
  setenv("COMSPEC", "/bin/sh", 1);
  setenv("PATH", (folder_ / "empty").c_str(), 1);
  EXPECT_EQ(runText("echo direct > trace"), 1);
  EXPECT_EQ(trace(), "direct\n");
}

// A missing COMSPEC interpreter, or none, leaves the command to /bin/sh,
// whatever PATH holds; nothing on this host lacks it.
TEST_F(ShellHostProcess, MissingInterpreterFallsBackToTheSystemShell) {
  setenv("COMSPEC", (folder_ / "no-such-interpreter").c_str(), 1);
  setenv("PATH", (folder_ / "empty").c_str(), 1);
  EXPECT_EQ(runText("echo missing >> trace"), 1);
  unsetenv("COMSPEC");
  EXPECT_EQ(runText("echo unset >> trace"), 1);
  EXPECT_EQ(trace(), "missing\nunset\n");
}

TEST_F(ShellHostProcess, OtherStartFailureGivesZeroWithoutFallback) {
  setenv("COMSPEC", makeFile("garbage", "\x01\x02\x03\n", 0755).c_str(), 1);
  EXPECT_EQ(runText("echo never > trace"), 0);
  EXPECT_FALSE(std::filesystem::exists(folder_ / "trace"));
}

// What standard output receives from "cls": the clear sequence on a terminal,
// nothing on a file, whether COMSPEC is unset or names a missing interpreter
// (the clear then finds /bin/sh).
TEST_F(ShellHostProcess, ScreenClearOnTerminalsAndFiles) {
  struct Case {
    bool terminal;
    bool comspecMissing;
    std::int32_t status;
    std::string shown;
  };
  const Case cases[] = {
      {true, false, 1, "\x1B[H\x1B[2J"},
      {true, true, 1, "\x1B[H\x1B[2J"},
      {false, false, 1, ""},
      {false, true, 1, ""},
  };
  for (const Case& row : cases) {
    SCOPED_TRACE(std::string(row.terminal ? "terminal" : "file") +
                 (row.comspecMissing ? ", COMSPEC missing" : ", COMSPEC unset"));
    if (row.comspecMissing) {
      setenv("COMSPEC", (folder_ / "no-such-interpreter").c_str(), 1);
      setenv("PATH", (folder_ / "empty").c_str(), 1);
    } else {
      setenv("PATH", "/usr/bin:/bin", 1);
      unsetenv("COMSPEC");
    }
    recio::resetShell();  // each row is a run of its own
    int reader = -1;
    int writer = -1;
    if (row.terminal) {
      ASSERT_EQ(openpty(&reader, &writer, nullptr, nullptr, nullptr), 0);
    } else {
      writer = open((folder_ / "screen").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
      ASSERT_GE(writer, 0);
    }
    int saved = dup(STDOUT_FILENO);
    dup2(writer, STDOUT_FILENO);
    std::int32_t status = runText("cls");
    dup2(saved, STDOUT_FILENO);
    close(saved);
    close(writer);
    std::string shown;
    if (row.terminal) {
      shown.resize(64);
      pollfd ready{reader, POLLIN, 0};
      ssize_t count = poll(&ready, 1, row.shown.empty() ? 200 : 2000) == 1
                          ? read(reader, shown.data(), shown.size())
                          : 0;
      shown.resize(count > 0 ? static_cast<std::size_t>(count) : 0);
      close(reader);
    } else {
      std::ifstream in(folder_ / "screen", std::ios::binary);
      shown.assign(std::istreambuf_iterator<char>(in), {});
    }
    EXPECT_EQ(status, row.status);
    EXPECT_EQ(shown, row.shown);
  }
}

// An interrupt while the child runs: the child still finishes, then the run ends.
TEST_F(ShellHostProcess, InterruptDuringWaitEndsRunAfterChild) {
  EXPECT_EXIT(
      {
        recio::hostPlatform().catchInterrupts();
        int signalNumber = 0;
        try {
          runText("kill -INT $PPID; sleep 0.2; echo finished > trace");
        } catch (const recio::RunEnd& end) {
          signalNumber = end.signalNumber;
        }
        std::ifstream in(folder_ / "trace");
        std::string shown(std::istreambuf_iterator<char>(in), {});
        _exit(signalNumber == SIGINT && shown == "finished\n" ? 0 : 1);
      },
      ::testing::ExitedWithCode(0), "");
}

}  // namespace
