// Shell commands: a command line runs through the interpreter COMSPEC names
// from the root, or else the host's own at its fixed system place, never one
// found in the current folder or along PATH; the result says only whether it
// started. Where that interpreter has no "cls" the platform clears the screen
// itself. The pause writes out the report units, shows its prompt and, on a
// terminal, reads one line and runs it when it holds a command that fits the
// command buffer; on redirected input it goes on without reading.
#include "recio/shell.h"

#include <algorithm>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "recio/console.h"
#include "recio/platform/platform.h"
#include "recio/report_unit.h"
#include "recio/run_end.h"

namespace recio {
namespace {

// Whether the screen clear found an interpreter it could start; unknown
// until the run's first clear.
std::optional<bool> clearInterpreterFound;

// How one attempt to start an interpreter ended.
enum class StartOutcome { finished, missing, failed };

constexpr std::string_view kPausePrompt =
    "Pause - Please enter a blank line (to continue) or a DOS command.\r\n";
// The pause's command buffer holds 128 bytes with the line's CR LF, so a
// command holds at most 126 characters; a longer one is refused, never cut.
constexpr std::size_t kLongestPauseCommand = 126;
constexpr std::string_view kPauseCommandTooLong =
    "comando com mais de 126 caracteres: nao executado\r\n";
// A terminal hands over a typed line in one read of this size (a Linux
// terminal keeps at most 4095 characters of a line); a line that fills it did
// not end inside it, so what it holds is not the whole command.
constexpr std::size_t kTypedLineRead = 4096;
constexpr std::size_t kShortestPauseCommand = 2;

// The text up to and including its last byte that is not a blank.
std::string_view cutTrailingBlanks(std::string_view text) {
  std::size_t end = text.find_last_not_of(' ');
  return end == std::string_view::npos ? std::string_view{} : text.substr(0, end + 1);
}

// Starts `interpreter` with the switch and the command and waits for it.
StartOutcome startInterpreter(const std::string& interpreter, const ShellSettings& host,
                              const std::string& command) {
  bool missing = false;
  std::vector<std::string> arguments{interpreter, host.commandSwitch, command};
  if (platform().runProcess(interpreter, arguments, &missing)) {
    endRunIfInterrupted();  // one that arrived while the child ran: the child has finished
    return StartOutcome::finished;
  }
  return missing ? StartOutcome::missing : StartOutcome::failed;
}

bool isSeparator(char byte) { return byte == '/' || byte == '\\'; }
bool isDriveLetter(char byte) { return (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z'); }

// True when `name` starts from the root, so it names one file wherever the
// run stands: a leading '/' on POSIX; on a host of drive names a drive letter,
// ':' and a separator, or a network name (two separators). A relative name
// would be taken in the current folder, the report's, which others may write to.
bool startsFromRoot(std::string_view name, const ShellSettings& host) {
  if (!host.driveNames) return !name.empty() && name.front() == '/';
  if (name.size() >= 2 && isSeparator(name[0]) && isSeparator(name[1])) return true;
  return name.size() >= 3 && isDriveLetter(name[0]) && name[1] == ':' && isSeparator(name[2]);
}

// Tries with `attempt` the interpreter COMSPEC names, when it names one from
// the root, and, when that one is missing, the host's own at its fixed place;
// returns how the last attempt ended. PATH and the current folder are never
// searched: a planted "sh" or "cmd.exe" there is never started.
template <typename Attempt>
StartOutcome tryInterpreters(const ShellSettings& host, Attempt attempt) {
  std::optional<std::string> comspec = platform().environment("COMSPEC");
  if (comspec && startsFromRoot(*comspec, host)) {
    StartOutcome outcome = attempt(*comspec);
    if (outcome != StartOutcome::missing) return outcome;
  }
  return host.interpreter.empty() ? StartOutcome::missing : attempt(host.interpreter);
}

// Runs the command line through the first interpreter that starts.
std::int32_t runCommandLine(const ShellSettings& host, const std::string& command) {
  StartOutcome outcome = tryInterpreters(host, [&](const std::string& interpreter) {
    return startInterpreter(interpreter, host, command);
  });
  return outcome == StartOutcome::finished ? 1 : 0;
}

// The screen clear on a host whose interpreter has no "cls": the platform
// clears, but only where an interpreter could have been started, so the
// result is the one a run of "cls" gives (0 and the screen unchanged when no
// interpreter is there).
// The interpreter is looked for at the run's first clear only: whether one
// can start does not change while the run goes on.
std::int32_t clearWithoutCommand(const ShellSettings& host) {
  if (!clearInterpreterFound) {
    StartOutcome outcome = tryInterpreters(host, [](const std::string& interpreter) {
      return platform().canStart(interpreter) ? StartOutcome::finished : StartOutcome::missing;
    });
    clearInterpreterFound = outcome == StartOutcome::finished;
  }
  if (!*clearInterpreterFound) return 0;
  platform().clearScreen();
  return 1;
}

}  // namespace

std::int32_t runShellCommand(const char* text, int length) {
  std::string_view command =
      cutTrailingBlanks(std::string_view{text, static_cast<std::size_t>(std::max(length, 0))});
  const ShellSettings host = platform().shellSettings();
  if (command == "cls" && !host.runsClearCommand) return clearWithoutCommand(host);
  return runCommandLine(host, std::string{command});
}

void resetShell() { clearInterpreterFound.reset(); }

void pauseForUser() {
  // Whoever reads the report during the pause, by a command typed here or in
  // another window, finds every record written so far.
  flushUnits();
  endOpenConsoleLine();
  writeConsoleBytes(kPausePrompt);
  // Redirected input holds the answers, and the console reader may already
  // hold the lines that follow; a line taken here would be an answer taken
  // out of order and run as a command, and a pipe left open would keep the
  // pause waiting. So the pause goes on by itself.
  if (!consoleUnit().inputIsTerminal) return;
  std::string line = readLineDirect(kTypedLineRead).value_or(std::string{});
  bool whole = line.size() < kTypedLineRead;
  std::size_t end = line.find_last_not_of(" \t");
  line.resize(end == std::string::npos ? 0 : end + 1);
  // A cut command is another command ("echo ...; rm x" cut before "rm"), so
  // one that does not fit is not run at all.
  if (!whole || line.size() > kLongestPauseCommand) {
    writeConsoleBytes(kPauseCommandTooLong);
  } else if (line.size() >= kShortestPauseCommand) {
    runShellCommand(line.data(), static_cast<int>(line.size()));
  }
}

}  // namespace recio
