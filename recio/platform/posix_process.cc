// The POSIX side of child processes and the screen clear: a child is started
// by its path as given (no search), inherits the standard streams,
// environment and current directory, and is waited for without time limit.
// The screen clear writes the terminal's clear sequence itself.
#include <errno.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string_view>

#include "recio/platform/descriptor_files.h"
#include "recio/platform/platform.h"

extern char** environ;

namespace recio {
namespace {

// Home the cursor and clear the screen; the scroll-back, with the user's
// earlier work and answers, is kept.
constexpr std::string_view kClearSequence = "\x1B[H\x1B[2J";

// True when the start failed because the program is absent or not permitted.
bool isMissing(int error) { return error == ENOENT || error == EACCES || error == ENOTDIR; }

// Waits until the child has ended; interrupts of the wait are retried so the
// child always finishes before the run goes on.
void waitForChild(pid_t child) {
  int status = 0;
  while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
}

// Start attributes that give the child the host's usual broken-pipe and
// file-size signals, which the run-time itself ignores so that its own failed writes are reported.
class SpawnAttributes {
 public:
  SpawnAttributes() {
    usable_ = posix_spawnattr_init(&attributes_) == 0;
    if (!usable_) return;
    sigset_t defaults;
    sigemptyset(&defaults);
    sigaddset(&defaults, SIGPIPE);
    sigaddset(&defaults, SIGXFSZ);
    posix_spawnattr_setsigdefault(&attributes_, &defaults);
    posix_spawnattr_setflags(&attributes_, POSIX_SPAWN_SETSIGDEF);
  }
  ~SpawnAttributes() {
    if (usable_) posix_spawnattr_destroy(&attributes_);
  }
  SpawnAttributes(const SpawnAttributes&) = delete;
  SpawnAttributes& operator=(const SpawnAttributes&) = delete;

  // The attributes, or nullptr when they could not be prepared.
  const posix_spawnattr_t* get() const { return usable_ ? &attributes_ : nullptr; }

 private:
  posix_spawnattr_t attributes_;
  bool usable_ = false;
};

}  // namespace

ShellSettings HostPlatform::shellSettings() { return kPosixShell; }

bool HostPlatform::runProcess(const std::string& program,
                              const std::vector<std::string>& arguments, bool* missing) {
  if (missing) *missing = false;
  std::vector<char*> argv;
  argv.reserve(arguments.size() + 1);
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  pid_t child = 0;
  SpawnAttributes attributes;
  int error =
      posix_spawn(&child, program.c_str(), nullptr, attributes.get(), argv.data(), environ);
  if (error != 0) {
    if (missing) *missing = isMissing(error);
    return false;
  }
  waitForChild(child);
  return true;
}

bool HostPlatform::canStart(const std::string& program) {
  struct stat status {};
  return stat(program.c_str(), &status) == 0 && S_ISREG(status.st_mode) &&
         access(program.c_str(), X_OK) == 0;
}

void HostPlatform::clearScreen() {
  if (isatty(STDOUT_FILENO)) descriptor_files::writeAll(STDOUT_FILENO, kClearSequence, nullptr);
}

}  // namespace recio
