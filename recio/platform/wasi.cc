// The WASI side of the platform layer for standard input, the terminal test,
// child processes and interrupts (writes, the environment and the terminal's
// character set are shared with the POSIX side). A WASI program can start no
// process, so no command interpreter is ever found: the screen clear gives 0
// and a command typed at the pause is skipped, as on a host without one.
// There are no signals, so no interrupt ever arrives.
#include <stdlib.h>
#include <unistd.h>
#include <wasi/api.h>

#include <string>
#include <vector>

#include "recio/platform/descriptor_files.h"
#include "recio/platform/platform.h"

namespace recio {
namespace {

int descriptorOf(StdStream stream) { return descriptor_files::standardDescriptor(stream); }

}  // namespace

// No interpreter can start here, so the settings only shape names never used.
ShellSettings HostPlatform::shellSettings() { return kPosixShell; }

// A terminal is a character device that cannot seek, as the WASI file type
// and rights of the descriptor tell; a browser page or a redirected stream
// gives none.
bool HostPlatform::isTerminal(StdStream stream) {
  __wasi_fdstat_t status;
  if (__wasi_fd_fdstat_get(descriptorOf(stream), &status) != __WASI_ERRNO_SUCCESS) return false;
  constexpr __wasi_rights_t kSeeking = __WASI_RIGHTS_FD_SEEK | __WASI_RIGHTS_FD_TELL;
  return status.fs_filetype == __WASI_FILETYPE_CHARACTER_DEVICE &&
         (status.fs_rights_base & kSeeking) == 0;
}

ReadResult HostPlatform::readInput(char* buffer, std::size_t capacity) {
  ssize_t count = read(STDIN_FILENO, buffer, capacity);
  if (count >= 0) return {static_cast<std::size_t>(count), false};
  return {0, true};
}

bool HostPlatform::runProcess(const std::string&, const std::vector<std::string>&, bool* missing) {
  if (missing) *missing = true;
  return false;
}

bool HostPlatform::canStart(const std::string&) { return false; }

void HostPlatform::clearScreen() {}

int HostPlatform::pendingInterrupt() { return 0; }

void HostPlatform::catchInterrupts() {}

void HostPlatform::endByInterrupt(int signalNumber) { _Exit(128 + signalNumber); }

}  // namespace recio
