// The POSIX side of the platform layer for the standard streams, the
// environment and interrupts. Interrupts are noted by a handler and end the
// run at the next system call they break into, so the report is closed first.
#include "recio/platform_posix.h"

#include <errno.h>
#include <signal.h>
#include <stdlib.h>
#include <unistd.h>

#include "recio/run_end.h"

namespace recio {
namespace {

volatile sig_atomic_t arrivedInterrupt = 0;

extern "C" void noteInterrupt(int signalNumber) { arrivedInterrupt = signalNumber; }

int descriptorOf(StdStream stream) {
  switch (stream) {
    case StdStream::input: return STDIN_FILENO;
    case StdStream::output: return STDOUT_FILENO;
    case StdStream::error: return STDERR_FILENO;
  }
  return STDERR_FILENO;
}

}  // namespace

Platform& hostPlatform() {
  static PosixPlatform host;
  return host;
}

void endRunIfInterrupted() {
  int signalNumber = arrivedInterrupt;
  if (signalNumber != 0) throw RunEnd{128 + signalNumber, signalNumber};
}

bool PosixPlatform::isTerminal(StdStream stream) { return isatty(descriptorOf(stream)) == 1; }

ReadResult PosixPlatform::readInput(char* buffer, std::size_t capacity) {
  for (;;) {
    endRunIfInterrupted();
    ssize_t count = read(STDIN_FILENO, buffer, capacity);
    if (count >= 0) return {static_cast<std::size_t>(count), false};
    if (errno != EINTR) return {0, true};
  }
}

bool PosixPlatform::writeStd(StdStream stream, std::string_view bytes) {
  int descriptor = descriptorOf(stream);
  while (!bytes.empty()) {
    ssize_t count = write(descriptor, bytes.data(), bytes.size());
    if (count > 0) {
      bytes.remove_prefix(static_cast<std::size_t>(count));
    } else if (count < 0 && errno == EINTR) {
      continue;  // retried; an interrupt ends the run at the next read
    } else {
      return false;
    }
  }
  return true;
}

std::optional<std::string> PosixPlatform::environment(const char* name) {
  const char* value = getenv(name);
  if (value == nullptr) return std::nullopt;
  return std::string(value);
}

int PosixPlatform::pendingInterrupt() { return arrivedInterrupt; }

void installInterruptHandlers() {
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
  // A closed pipe on standard output becomes a failed write, reported as such.
  signal(SIGPIPE, SIG_IGN);
}

void endByInterrupt(int signalNumber) {
  signal(signalNumber, SIG_DFL);
  raise(signalNumber);
  _exit(128 + signalNumber);
}

}  // namespace recio
