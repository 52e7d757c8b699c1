// The POSIX side of the platform layer. Its methods are defined in
// platform_posix.cc (standard streams, environment, interrupts),
// platform_posix_files.cc (files and devices) and
// platform_posix_process.cc (child processes and the screen clear).
#ifndef DOSMO_RECIO_PLATFORM_POSIX_H_
#define DOSMO_RECIO_PLATFORM_POSIX_H_

#include "recio/platform.h"

namespace recio {

// The host services of a POSIX system.
class PosixPlatform final : public Platform {
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

// Throws the end of the run when an interrupt has arrived; called by the
// POSIX side after a system call was interrupted.
void endRunIfInterrupted();

}  // namespace recio

#endif  // DOSMO_RECIO_PLATFORM_POSIX_H_
