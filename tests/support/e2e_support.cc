// Process plumbing for the end-to-end tests: pipes, a pseudo-terminal and
// temporary folders. Every wait is bounded so a hung program fails its test
// instead of hanging the suite.
#include "tests/support/e2e_support.h"

#include <fcntl.h>
#include <grp.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <termios.h>
#include <time.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace testing_support {
namespace {

// A guard against a hung run, not a measure: a run under Wine on a loaded
// machine may take many seconds.
constexpr int kTimeoutMs = 60000;
constexpr int kInputWaitMs = 5000;

long nowMs() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return now.tv_sec * 1000L + now.tv_nsec / 1000000L;
}

std::string programOf(const RunSetup& setup) {
  return setup.program.empty() ? std::string(DOSMO_BINARY) : setup.program;
}

// In the child: enter the folder, set the environment and start the program.
[[noreturn]] void execProgram(const TempFolder& folder, const RunSetup& setup) {
  if (chdir(folder.path().c_str()) != 0) _exit(127);
  for (const auto& [name, value] : setup.environment) setenv(name.c_str(), value.c_str(), 1);
  signal(SIGPIPE, SIG_DFL);
  std::vector<std::string> words = setup.command;
  if (words.empty()) words.push_back(programOf(setup));
  words.insert(words.end(), setup.arguments.begin(), setup.arguments.end());
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);
  if (setup.command.empty()) {
    execv(argv[0], argv.data());
  } else {
    execvp(argv[0], argv.data());
  }
  _exit(127);
}

void collectStatus(pid_t child, RunOutcome& outcome) {
  int raw = 0;
  long deadline = nowMs() + kTimeoutMs;
  for (;;) {
    pid_t done = waitpid(child, &raw, WNOHANG);
    if (done == child) break;
    if (nowMs() > deadline) {
      kill(child, SIGKILL);
      waitpid(child, &raw, 0);
      outcome.out += "\n<timed out>";
      break;
    }
    usleep(2000);
  }
  if (WIFEXITED(raw)) outcome.status = WEXITSTATUS(raw);
  if (WIFSIGNALED(raw)) outcome.signalNumber = WTERMSIG(raw);
}

// Waits until `child` is blocked waiting for its input (in a read, or in a
// wait for input to arrive), as /proc/PID/syscall shows, for at most
// kInputWaitMs; where that file cannot be read, a short pause stands in.
void awaitInputWait(pid_t child) {
  static const long waitingCalls[] = {
      SYS_read, SYS_pselect6, SYS_ppoll,
#ifdef SYS_select
      SYS_select,
#endif
#ifdef SYS_poll
      SYS_poll,
#endif
  };
  const std::string path = "/proc/" + std::to_string(child) + "/syscall";
  const long deadline = nowMs() + kInputWaitMs;
  while (nowMs() < deadline) {
    std::ifstream state(path);
    std::string first;
    if (!(state >> first)) {
      usleep(50000);  // no way to see the child's state: give it time to reach its read
      return;
    }
    if (first != "running") {
      long call = std::strtol(first.c_str(), nullptr, 10);
      for (long waiting : waitingCalls) {
        if (call == waiting) return;
      }
    }
    usleep(200);
  }
}

// In the child: takes the identity of `userId` (group of the same number).
bool switchToUser(int userId) {
  if (userId < 0) return true;
  return setgroups(0, nullptr) == 0 && setgid(static_cast<gid_t>(userId)) == 0 &&
         setuid(static_cast<uid_t>(userId)) == 0;
}

// True when every prompt has appeared in `out`, each after the one before.
bool promptsShown(const std::string& out, const std::vector<std::string>& prompts) {
  std::size_t from = 0;
  for (const std::string& prompt : prompts) {
    std::size_t at = out.find(prompt, from);
    if (at == std::string::npos) return false;
    from = at + prompt.size();
  }
  return true;
}

bool readSome(int fd, std::string& into) {
  char buffer[4096];
  ssize_t count = read(fd, buffer, sizeof buffer);
  if (count > 0) {
    into.append(buffer, static_cast<std::size_t>(count));
    return true;
  }
  return false;
}

}  // namespace

TempFolder::TempFolder() {
  std::string pattern = (std::filesystem::temp_directory_path() / "dosmo-test-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  path_ = pattern;
}

TempFolder::~TempFolder() {
  std::error_code ignored;
  std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                               std::filesystem::perm_options::add, ignored);
  std::filesystem::remove_all(path_, ignored);
}

std::string TempFolder::read(const std::string& name) const {
  std::ifstream in(file(name), std::ios::binary);
  if (!in) return "<missing>";
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

void TempFolder::write(const std::string& name, const std::string& bytes) const {
  std::ofstream out(file(name), std::ios::binary | std::ios::trunc);
  out << bytes;
}

RunOutcome runPiped(const TempFolder& folder, const RunSetup& setup) {
  int in[2], out[2], err[2];
  if (pipe(in) != 0 || pipe(out) != 0 || pipe(err) != 0) throw std::runtime_error("pipe failed");
  bool outOpen = true, errOpen = true;
  if (setup.breakOutputPipe) {  // the reading end goes before the program can write
    close(out[0]);
    out[0] = -1;
    outOpen = false;
  }
  pid_t child = fork();
  if (child == 0) {
    if (setup.closeInput) {
      close(STDIN_FILENO);
    } else if (!setup.inputFile.empty()) {
      int file = open(setup.inputFile.c_str(), O_RDONLY);
      if (file < 0 || dup2(file, STDIN_FILENO) < 0) _exit(125);
      close(file);
    } else {
      dup2(in[0], STDIN_FILENO);
    }
    if (setup.closeOutput) {
      close(STDOUT_FILENO);
    } else {
      dup2(out[1], STDOUT_FILENO);
    }
    dup2(err[1], STDERR_FILENO);
    for (int fd : {in[0], in[1], out[0], out[1], err[0], err[1]}) {
      if (fd >= 0) close(fd);
    }
    if (!switchToUser(setup.userId)) _exit(126);
    execProgram(folder, setup);
  }
  close(in[0]);
  close(out[1]);
  close(err[1]);
  RunOutcome outcome;
  std::size_t written = 0;
  bool signalPending = setup.signalToSend != 0;
  // Like a terminal, or a writer that keeps the pipe: input stays open to the end.
  bool holdInput = signalPending || setup.keepInputOpen;
  int inFd = in[1];
  if (setup.closeInput || !setup.inputFile.empty() || (setup.input.empty() && !holdInput)) {
    close(inFd);
    inFd = -1;
  } else {
    fcntl(inFd, F_SETFL, O_NONBLOCK);
  }
  long deadline = nowMs() + kTimeoutMs;
  signal(SIGPIPE, SIG_IGN);
  while ((outOpen || errOpen) && nowMs() < deadline) {
    bool feeding = inFd >= 0 && written < setup.input.size();
    pollfd fds[3] = {{outOpen ? out[0] : -1, POLLIN, 0}, {err[0], POLLIN, 0}, {inFd, POLLOUT, 0}};
    poll(fds, feeding ? 3 : 2, 100);
    if (outOpen && (fds[0].revents & (POLLIN | POLLHUP))) outOpen = readSome(out[0], outcome.out);
    if (errOpen && (fds[1].revents & (POLLIN | POLLHUP))) errOpen = readSome(err[0], outcome.err);
    if (feeding && (fds[2].revents & (POLLOUT | POLLERR | POLLHUP))) {
      ssize_t count = write(inFd, setup.input.data() + written, setup.input.size() - written);
      if (count > 0) written += static_cast<std::size_t>(count);
      if (count < 0) written = setup.input.size();
    }
    if (signalPending && promptsShown(outcome.out, setup.signalAfterPrompts)) {
      awaitInputWait(child);
      kill(child, setup.signalToSend);
      signalPending = false;
      if (setup.afterSignal) setup.afterSignal(child);
    }
    if (inFd >= 0 && written == setup.input.size() && !holdInput) {
      close(inFd);
      inFd = -1;
    }
  }
  if (inFd >= 0) close(inFd);
  if (out[0] >= 0) close(out[0]);
  close(err[0]);
  collectStatus(child, outcome);
  return outcome;
}

RunOutcome runOnTerminal(const TempFolder& folder, const std::vector<std::string>& prompts,
                         const std::vector<std::string>& lines, const RunSetup& setup) {
  int master = -1;
  winsize size{};
  size.ws_row = 50;
  size.ws_col = 200;
  pid_t child = forkpty(&master, nullptr, nullptr, &size);
  if (child < 0) throw std::runtime_error("forkpty failed");
  if (child == 0) {
    termios modes{};
    tcgetattr(STDIN_FILENO, &modes);
    modes.c_oflag &= ~static_cast<tcflag_t>(OPOST);  // the program's bytes as they are
    modes.c_lflag &= ~static_cast<tcflag_t>(ECHO);
    tcsetattr(STDIN_FILENO, TCSANOW, &modes);
    execProgram(folder, setup);
  }
  RunOutcome outcome;
  std::size_t next = 0;
  std::size_t searchFrom = 0;
  long deadline = nowMs() + kTimeoutMs;
  while (nowMs() < deadline) {
    if (next < lines.size()) {
      const std::string& prompt = next < prompts.size() ? prompts[next] : std::string();
      std::size_t at = prompt.empty() ? searchFrom : outcome.out.find(prompt, searchFrom);
      if (at != std::string::npos) {
        awaitInputWait(child);
        std::string line = lines[next] + "\n";
        if (write(master, line.data(), line.size()) < 0) break;
        searchFrom = prompt.empty() ? outcome.out.size() : at + prompt.size();
        ++next;
        continue;
      }
    }
    pollfd fd = {master, POLLIN, 0};
    if (poll(&fd, 1, 100) > 0) {
      if (!readSome(master, outcome.out)) break;  // the program has ended
    }
  }
  close(master);
  collectStatus(child, outcome);
  return outcome;
}

std::string programStartableBy(int userId, const TempFolder& folder, std::string& whyNot) {
  namespace fs = std::filesystem;
  const std::string copy = folder.file("dosmo");
  std::error_code failed;
  fs::copy_file(DOSMO_BINARY, copy, fs::copy_options::overwrite_existing, failed);
  fs::permissions(folder.path(), fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                     fs::perms::others_read | fs::perms::others_exec, failed);
  fs::permissions(copy, fs::perms::owner_all | fs::perms::group_exec | fs::perms::others_exec, failed);
  pid_t child = fork();
  if (child < 0) {
    whyNot = "cannot start a child process";
    return {};
  }
  if (child == 0) {
    if (!switchToUser(userId)) _exit(1);
    _exit(access(copy.c_str(), X_OK) == 0 ? 0 : 2);
  }
  int raw = 0;
  int outcome = waitpid(child, &raw, 0) == child && WIFEXITED(raw) ? WEXITSTATUS(raw) : 1;
  if (outcome == 0) return copy;
  whyNot = outcome == 1 ? "this process cannot run programs as user " + std::to_string(userId)
                        : "user " + std::to_string(userId) + " cannot reach " + copy +
                              ": a folder above it is closed to other users";
  return {};
}

RunOutcome runPipedByPrompts(const TempFolder& folder, const std::vector<std::string>& prompts,
                             const std::vector<std::string>& lines, const RunSetup& setup) {
  int in[2], out[2], err[2];
  if (pipe(in) != 0 || pipe(out) != 0 || pipe(err) != 0) throw std::runtime_error("pipe failed");
  pid_t child = fork();
  if (child == 0) {
    dup2(in[0], STDIN_FILENO);
    dup2(out[1], STDOUT_FILENO);
    dup2(err[1], STDERR_FILENO);
    for (int fd : {in[0], in[1], out[0], out[1], err[0], err[1]}) close(fd);
    execProgram(folder, setup);
  }
  close(in[0]);
  close(out[1]);
  close(err[1]);
  signal(SIGPIPE, SIG_IGN);
  RunOutcome outcome;
  int inFd = in[1];
  std::size_t next = 0, searchFrom = 0;
  bool outOpen = true, errOpen = true;
  long deadline = nowMs() + kTimeoutMs;
  while ((outOpen || errOpen) && nowMs() < deadline) {
    while (inFd >= 0 && next < lines.size()) {
      const std::string prompt = next < prompts.size() ? prompts[next] : std::string();
      std::size_t at = outcome.out.find(prompt, searchFrom);
      if (at == std::string::npos) break;
      if (setup.beforeLine) setup.beforeLine(next);
      std::string line = lines[next++] + "\n";
      if (write(inFd, line.data(), line.size()) < 0) next = lines.size();
      searchFrom = at + prompt.size();
    }
    if (inFd >= 0 && next == lines.size()) {
      close(inFd);
      inFd = -1;
    }
    pollfd fds[2] = {{out[0], POLLIN, 0}, {err[0], POLLIN, 0}};
    poll(fds, 2, 100);
    if (outOpen && (fds[0].revents & (POLLIN | POLLHUP))) outOpen = readSome(out[0], outcome.out);
    if (errOpen && (fds[1].revents & (POLLIN | POLLHUP))) errOpen = readSome(err[0], outcome.err);
  }
  if (inFd >= 0) close(inFd);
  close(out[0]);
  close(err[0]);
  collectStatus(child, outcome);
  return outcome;
}

std::string readSourceFile(const std::string& relativePath) {
  std::ifstream in(std::string(DOSMO_SOURCE_DIR) + "/" + relativePath, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

}  // namespace testing_support
