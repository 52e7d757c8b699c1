// The host's side of the platform layer: one class, whose methods are defined
// in posix*.cc on a POSIX system, windows*.cc on Windows and wasi*.cc
// under WASI (standard streams, environment and interrupts; files and devices;
// child processes, the shell settings and the screen clear). Only one side is
// built; a side defines these methods and nothing else.
#ifndef DOSMO_RECIO_HOST_PLATFORM_H_
#define DOSMO_RECIO_HOST_PLATFORM_H_

#include "recio/platform/platform.h"

namespace recio {

// The host services of this system: the POSIX side or the Windows side,
// whichever the program is built for.
class HostPlatform final : public Platform {
 public:
  bool isTerminal(StdStream stream) override;
  ReadResult readInput(char* buffer, std::size_t capacity) override;
  bool writeStd(StdStream stream, std::string_view bytes) override;

  bool fileExists(const std::string& name) override;
  FileOpen openFile(const std::string& name, FileAccess access, bool create) override;
  FileOpen openDevice(Device device) override;
  FileFault truncateFile(std::intptr_t handle, std::uint64_t length) override;
  FileFault writeFile(std::intptr_t handle, std::string_view bytes) override;
  FileFault closeFile(std::intptr_t handle) override;

  std::optional<std::string> environment(const char* name) override;
  bool runProcess(const std::string& program, const std::vector<std::string>& arguments,
                  bool* missing) override;
  bool canStart(const std::string& program) override;
  void clearScreen() override;
  ShellSettings shellSettings() override;

  void catchInterrupts() override;
  int pendingInterrupt() override;
  [[noreturn]] void endByInterrupt(int signalNumber) override;
  void holdInterrupts() override;
  void releaseInterrupts() override;
  bool consoleWantsUtf8() override;
};

}  // namespace recio

#endif  // DOSMO_RECIO_HOST_PLATFORM_H_
