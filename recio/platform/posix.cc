// The POSIX side of the platform layer for the standard streams and
// interrupts (writes, the environment and the terminal's character set are
// shared with the WASI side). Interrupts are noted by a handler and told by
// the next read they break into, so the run can close the report first.
#include "recio/platform/platform.h"

#include <errno.h>
#include <signal.h>
#include <sys/select.h>
#include <unistd.h>

#include <optional>

#include "recio/platform/descriptor_files.h"

namespace recio {
namespace {

volatile sig_atomic_t arrivedInterrupt = 0;

extern "C" void noteInterrupt(int signalNumber) { arrivedInterrupt = signalNumber; }

// Blocks the interrupts for its lifetime and restores the previous mask.
struct InterruptsBlocked {
  sigset_t previous;
  InterruptsBlocked() {
    sigset_t interrupts;
    sigemptyset(&interrupts);
    for (int signalNumber : {SIGINT, SIGTERM, SIGHUP}) sigaddset(&interrupts, signalNumber);
    sigprocmask(SIG_BLOCK, &interrupts, &previous);
  }
  ~InterruptsBlocked() { sigprocmask(SIG_SETMASK, &previous, nullptr); }
  InterruptsBlocked(const InterruptsBlocked&) = delete;
  InterruptsBlocked& operator=(const InterruptsBlocked&) = delete;

};

// Interrupts held back while a run that is already ending closes its units.
std::optional<InterruptsBlocked> heldInterrupts;

int descriptorOf(StdStream stream) { return descriptor_files::standardDescriptor(stream); }

}  // namespace

bool HostPlatform::isTerminal(StdStream stream) { return isatty(descriptorOf(stream)) == 1; }

ReadResult HostPlatform::readInput(char* buffer, std::size_t capacity) {
  // The interrupts stay blocked except while waiting for input, so one that
  // arrives just before the wait still breaks it instead of being noticed only
  // after the next answer; one that arrives with the end of input wins over it.
  InterruptsBlocked blocked;
  const ReadResult interrupted{0, false, true};
  for (;;) {
    if (arrivedInterrupt != 0) return interrupted;
    fd_set readable;
    FD_ZERO(&readable);
    FD_SET(STDIN_FILENO, &readable);
    int ready = pselect(STDIN_FILENO + 1, &readable, nullptr, nullptr, nullptr, &blocked.previous);
    if (ready < 0 && errno == EINTR) continue;
    ssize_t count = read(STDIN_FILENO, buffer, capacity);
    if (count < 0 && errno == EINTR) continue;
    if (arrivedInterrupt != 0) return interrupted;
    if (count >= 0) return {static_cast<std::size_t>(count), false};
    return {0, true};
  }
}

int HostPlatform::pendingInterrupt() { return arrivedInterrupt; }

void HostPlatform::catchInterrupts() {
  struct sigaction action = {};
  action.sa_handler = noteInterrupt;
  sigemptyset(&action.sa_mask);
  action.sa_flags = 0;  // no restart: a blocked read returns and the run can end
  for (int signalNumber : {SIGINT, SIGTERM, SIGHUP}) {
    struct sigaction previous = {};
    sigaction(signalNumber, nullptr, &previous);
    if (previous.sa_handler == SIG_IGN) continue;  // an ignored interrupt stays ignored
    sigaction(signalNumber, &action, nullptr);
  }
  // A closed pipe on standard output becomes a failed write, and a file past
  // the file-size limit a failed write (EFBIG), each reported as such.
  signal(SIGPIPE, SIG_IGN);
  signal(SIGXFSZ, SIG_IGN);
}

void HostPlatform::holdInterrupts() { heldInterrupts.emplace(); }

void HostPlatform::releaseInterrupts() { heldInterrupts.reset(); }

void HostPlatform::endByInterrupt(int signalNumber) {
  signal(signalNumber, SIG_DFL);
  raise(signalNumber);
  _exit(128 + signalNumber);
}

}  // namespace recio
