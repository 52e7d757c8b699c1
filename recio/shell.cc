// Shell commands: a command line runs through the interpreter named by COMSPEC,
// or the host's own interpreter looked for in the current directory and then
// along PATH; the result says only whether it started. Where that interpreter
// has no "cls" the platform clears the screen itself. The pause writes out the
// report units, shows its prompt and, on a terminal, reads one line and runs
// it when it holds a command; on redirected input it goes on without reading.
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
constexpr std::size_t kPauseBufferSize = 128;
// A terminal read keeps room for the line end, so at most this much counts.
constexpr std::size_t kPauseTerminalLimit = 126;
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

// `directory` and `name` joined by the host's directory separator.
std::string joinPath(std::string_view directory, std::string_view name, char separator) {
  std::string path{directory};
  if (path.back() != separator && path.back() != '/') path += separator;
  path += name;
  return path;
}

// Tries each interpreter in turn with `attempt` (COMSPEC's, then the host's
// own as named, relative to the current directory, then in each directory of
// PATH) until one is not missing, and returns how the last attempt ended.
template <typename Attempt>
StartOutcome tryInterpreters(const ShellSettings& host, Attempt attempt) {
  StartOutcome outcome = StartOutcome::missing;
  std::optional<std::string> comspec = platform().environment("COMSPEC");
  if (comspec && !comspec->empty()) outcome = attempt(*comspec);
  if (outcome != StartOutcome::missing) return outcome;
  outcome = attempt(std::string{host.fallback});
  std::optional<std::string> searchPath = platform().environment("PATH");
  std::string_view rest = searchPath ? std::string_view{*searchPath} : std::string_view{};
  while (outcome == StartOutcome::missing && !rest.empty()) {
    std::size_t cut = rest.find(host.pathListSeparator);
    std::string_view directory = rest.substr(0, cut);
    rest = cut == std::string_view::npos ? std::string_view{} : rest.substr(cut + 1);
    if (directory.empty()) continue;  // an empty entry is the current directory, tried already
    outcome = attempt(joinPath(directory, host.fallback, host.directorySeparator));
  }
  return outcome;
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
// can start does not change while the run goes on, and each look walks PATH.
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
  std::string line = readLineDirect(kPauseBufferSize).value_or(std::string{});
  if (line.size() > kPauseTerminalLimit) line.resize(kPauseTerminalLimit);
  std::size_t end = line.find_last_not_of(" \t");
  line.resize(end == std::string::npos ? 0 : end + 1);
  if (line.size() >= kShortestPauseCommand) {
    runShellCommand(line.data(), static_cast<int>(line.size()));
  }
}

}  // namespace recio
