// The Windows side of child processes and the screen clear: a child is
// started by its path as given (no search), inherits the standard handles,
// environment and current directory, and is waited for without time limit.
// The interpreter clears the screen itself with its own "cls".
#include <windows.h>

#include <string>
#include <vector>

#include "recio/platform/platform.h"

namespace recio {
namespace {

// True when the start failed because the program is absent or not permitted.
bool isMissing(DWORD error) {
  switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_ACCESS_DENIED:
    case ERROR_INVALID_NAME:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
      return true;
    default:
      return false;
  }
}

// The process command line: the arguments joined by single blanks. The
// program's own name is quoted when it holds a blank, so the child finds its
// name whole; the other arguments go as they are, since the interpreter takes
// everything after its switch as the command line itself.
std::string commandLineOf(const std::vector<std::string>& arguments) {
  std::string line;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if (i > 0) line += ' ';
    bool quoted = i == 0 && (argument.empty() || argument.find_first_of(" \t") != std::string::npos);
    if (quoted) line += '"';
    line += argument;
    if (quoted) line += '"';
  }
  return line;
}

// A standard handle made inheritable, so the child can be given it.
HANDLE inheritable(DWORD standard) {
  HANDLE handle = GetStdHandle(standard);
  if (handle != nullptr && handle != INVALID_HANDLE_VALUE) {
    SetHandleInformation(handle, HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT);
  }
  return handle;
}

}  // namespace

bool HostPlatform::runProcess(const std::string& program,
                              const std::vector<std::string>& arguments, bool* missing) {
  if (missing) *missing = false;
  std::string commandLine = commandLineOf(arguments);
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = inheritable(STD_INPUT_HANDLE);
  startup.hStdOutput = inheritable(STD_OUTPUT_HANDLE);
  startup.hStdError = inheritable(STD_ERROR_HANDLE);
  PROCESS_INFORMATION child = {};
  if (!CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
                      nullptr, &startup, &child)) {
    if (missing) *missing = isMissing(GetLastError());
    return false;
  }
  CloseHandle(child.hThread);
  WaitForSingleObject(child.hProcess, INFINITE);
  CloseHandle(child.hProcess);
  return true;
}

// The interpreter is "cmd.exe" in the folder the system names as its own,
// never one found in the current folder or along PATH; when the system names
// no folder there is none, and commands are skipped.
ShellSettings HostPlatform::shellSettings() {
  ShellSettings settings = kWindowsShell;
  char folder[MAX_PATH];
  UINT length = GetSystemDirectoryA(folder, MAX_PATH);
  bool named = length > 0 && length < MAX_PATH;
  settings.interpreter = named ? std::string(folder, length) + "\\cmd.exe" : std::string{};
  return settings;
}

bool HostPlatform::canStart(const std::string& program) {
  DWORD attributes = GetFileAttributesA(program.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

// The interpreter runs "cls" itself here, so the run-time never clears directly.
void HostPlatform::clearScreen() {}

}  // namespace recio
