// The Windows side of the platform layer. Its methods are defined in
// platform_windows.cc (standard streams, environment, interrupts, console
// code page), platform_windows_files.cc (files and devices) and
// platform_windows_process.cc (child processes and the screen clear).
#ifndef DOSMO_RECIO_PLATFORM_WINDOWS_H_
#define DOSMO_RECIO_PLATFORM_WINDOWS_H_

#include "recio/platform.h"

namespace recio {

// The host services of a Windows system, reached through the Win32 calls
// directly (no C run-time text mode or code-page translation in between).
class WindowsPlatform final : public Platform {
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
  bool clearScreenDirectly() override;

  int pendingInterrupt() override;
  bool consoleWantsUtf8() override;
};

// Throws the end of the run when a console interrupt has been noted.
void endRunIfInterrupted();

}  // namespace recio

#endif  // DOSMO_RECIO_PLATFORM_WINDOWS_H_
