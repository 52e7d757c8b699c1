// The Windows side of the platform layer for the standard streams, the
// environment, the console code page and interrupts. The standard handles are
// read and written raw with ReadFile and WriteFile. Ctrl-C, Ctrl-Break and the
// closing of the console are noted by a handler and told by the next read, or
// seen when a child process has finished, so the run can close the report first.
#include <windows.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>

#include "recio/platform/platform.h"

namespace recio {
namespace {

// The exit status Windows gives a process ended by Ctrl-C or Ctrl-Break.
constexpr UINT kInterruptedStatus = 0xC000013AU;
// The console's own code page for Windows-1252 text.
constexpr UINT kWindows1252 = 1252;
// Largest piece handed to one ReadFile or WriteFile on a standard handle (old
// consoles refuse bigger ones).
constexpr std::size_t kLargestStdTransfer = 32768;
// How long a console read that broke off waits for the interrupt to be noted,
// since the handler runs in a thread of its own.
constexpr int kInterruptNoteWaits = 50;
constexpr DWORD kInterruptNoteStepMs = 10;
// How long the closing of the console waits for the report to be closed
// (the system ends the process a few seconds after the close anyway).
constexpr DWORD kCloseGraceMs = 4000;

volatile LONG arrivedInterrupt = 0;
HANDLE runEnded = nullptr;  // set once the run has closed its units on an interrupt
UINT savedCodePage = 0;     // the console output code page before the run, when changed

// The signal number that stands for a console control event.
int signalOf(DWORD event) {
  switch (event) {
    case CTRL_C_EVENT: return SIGINT;
    case CTRL_BREAK_EVENT: return SIGBREAK;
    default: return SIGTERM;  // close, logoff, shutdown
  }
}

BOOL WINAPI noteInterrupt(DWORD event) {
  InterlockedExchange(&arrivedInterrupt, signalOf(event));
  if (event == CTRL_C_EVENT || event == CTRL_BREAK_EVENT) return TRUE;
  // The process ends when this returns: give the run time to close its report.
  if (runEnded != nullptr) WaitForSingleObject(runEnded, kCloseGraceMs);
  return TRUE;
}

HANDLE handleOf(StdStream stream) {
  switch (stream) {
    case StdStream::input: return GetStdHandle(STD_INPUT_HANDLE);
    case StdStream::output: return GetStdHandle(STD_OUTPUT_HANDLE);
    case StdStream::error: return GetStdHandle(STD_ERROR_HANDLE);
  }
  return nullptr;
}

bool isConsole(HANDLE handle) {
  DWORD mode = 0;
  return handle != nullptr && handle != INVALID_HANDLE_VALUE && GetConsoleMode(handle, &mode) != 0;
}

// A console read cut short by Ctrl-C returns before the handler thread has
// noted the event; wait a moment so that the interrupt, not an end of input, is seen.
void awaitInterruptNote() {
  for (int i = 0; i < kInterruptNoteWaits && arrivedInterrupt == 0; ++i) Sleep(kInterruptNoteStepMs);
}

void restoreConsoleCodePage() {
  if (savedCodePage != 0) SetConsoleOutputCP(savedCodePage);
  savedCodePage = 0;
}

}  // namespace

bool HostPlatform::isTerminal(StdStream stream) { return isConsole(handleOf(stream)); }

ReadResult HostPlatform::readInput(char* buffer, std::size_t capacity) {
  const ReadResult interrupted{0, false, true};
  if (arrivedInterrupt != 0) return interrupted;
  HANDLE input = handleOf(StdStream::input);
  DWORD count = 0;
  DWORD wanted = static_cast<DWORD>(std::min<std::size_t>(capacity, kLargestStdTransfer));
  bool ok = ReadFile(input, buffer, wanted, &count, nullptr) != 0;
  if (!ok) {
    DWORD error = GetLastError();
    // A pipe whose writer has gone is the end of the input, not a failure.
    if (error == ERROR_BROKEN_PIPE || error == ERROR_HANDLE_EOF) ok = true;
    count = 0;
  }
  if (count == 0 && isConsole(input)) awaitInterruptNote();
  if (arrivedInterrupt != 0) return interrupted;
  if (!ok) return {0, true};
  return {count, false};
}

bool HostPlatform::writeStd(StdStream stream, std::string_view bytes) {
  HANDLE handle = handleOf(stream);
  if (handle == nullptr || handle == INVALID_HANDLE_VALUE) return false;
  while (!bytes.empty()) {
    DWORD piece = static_cast<DWORD>(std::min(bytes.size(), kLargestStdTransfer));
    DWORD written = 0;
    if (!WriteFile(handle, bytes.data(), piece, &written, nullptr) || written == 0) return false;
    bytes.remove_prefix(written);
  }
  return true;
}

std::optional<std::string> HostPlatform::environment(const char* name) {
  std::string value(256, '\0');
  for (;;) {
    SetLastError(ERROR_SUCCESS);
    DWORD length = GetEnvironmentVariableA(name, value.data(), static_cast<DWORD>(value.size()));
    if (length == 0) {
      if (GetLastError() == ERROR_ENVVAR_NOT_FOUND) return std::nullopt;
      return std::string{};  // set, but empty
    }
    if (length < value.size()) {
      value.resize(length);
      return value;
    }
    value.resize(length);  // too small: `length` counts the terminating zero
  }
}

int HostPlatform::pendingInterrupt() { return arrivedInterrupt; }

// The console's code page decides what it shows. Standard output's console
// is set to Windows-1252 for the run when it can be; one left at UTF-8 gets
// converted text, and any other code page shows every byte as a letter (no
// byte of a legacy code page is a control there).
TerminalKind HostPlatform::terminalKind(StdStream stream) {
  if (!isConsole(handleOf(stream))) return TerminalKind::none;
  UINT current = GetConsoleOutputCP();
  if (stream == StdStream::output && current != kWindows1252 && SetConsoleOutputCP(kWindows1252)) {
    // The console belongs to the user's session too: its code page is put back at the end.
    if (savedCodePage == 0) {
      savedCodePage = current;
      std::atexit(restoreConsoleCodePage);
    }
    current = kWindows1252;
  }
  return current == CP_UTF8 ? TerminalKind::utf8 : TerminalKind::windowsConsole;
}

void HostPlatform::catchInterrupts() {
  if (runEnded == nullptr) runEnded = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  // A process started with Ctrl-C ignored keeps ignoring it: the handler is
  // not called for an event the process ignores.
  SetConsoleCtrlHandler(noteInterrupt, TRUE);
}

void HostPlatform::endByInterrupt(int /*signalNumber*/) {
  restoreConsoleCodePage();
  if (runEnded != nullptr) SetEvent(runEnded);
  ExitProcess(kInterruptedStatus);
}

}  // namespace recio
