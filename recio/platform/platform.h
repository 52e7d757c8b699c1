// The platform layer: every service the run-time takes from the host (standard
// streams, terminal test, files, child processes and the shell settings,
// environment, interrupts), and the choice of host. The run-time reaches the
// host only through `platform()`, so tests install a `Platform` of their own
// and drive the whole run-time from memory. A host's side defines the methods
// of `HostPlatform`.
#ifndef DOSMO_RECIO_PLATFORM_PLATFORM_H_
#define DOSMO_RECIO_PLATFORM_PLATFORM_H_

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace recio {

// The three standard streams of the process.
enum class StdStream { input, output, error };

// Why a file operation failed, in the run-time's own terms.
enum class FileFault {
  none,
  invalidName,   // the host rejects the name
  accessDenied,  // no permission
  inUse,         // another run holds the file (see `openFile`)
  exists,        // exclusive creation found the file already there
  notFound,      // the file or a directory on its path does not exist
  tooManyOpen,   // the process or the system has no free file handle
  diskFull,      // no space left on the device
  notSupported,  // the kind of file cannot do this (a device or a pipe)
  interrupted,   // an interrupt broke into the write; the run ends by it
  other,         // any other failure
};

// Access asked for when a file is opened.
enum class FileAccess { readWrite, readOnly, writeOnly };

// What a name is, without following a symbolic link: nothing, a plain file,
// or anything else (a symbolic link, a folder, a FIFO, a device).
enum class NameKind { missing, file, other };

// What kind of terminal a standard stream is, by what it takes as a control
// character and how it shows the rest.
enum class TerminalKind {
  none,            // not a terminal: bytes pass as they are
  utf8,            // character set UTF-8: the characters U+0080 to U+009F are controls
  singleByte,      // a single-byte character set: the bytes 0x80 to 0x9F are controls
  windowsConsole,  // a console that shows every byte from 0x80 up as a letter of its code page
};

// Host devices a report may be connected to instead of a file.
enum class Device { console, standardError, null };

// An open file of the host; `handle` is meaningful only when `fault` is none.
struct FileOpen {
  std::intptr_t handle = -1;
  FileFault fault = FileFault::none;
};

// Outcome of a standard-stream read: bytes read, 0 at end of input, failed,
// or broken off by an interrupt before anything was read.
struct ReadResult {
  std::size_t count = 0;
  bool failed = false;
  bool interrupted = false;
};

// How the host's command interpreter is found and started: the host's own
// interpreter at its fixed system place (the one used when COMSPEC names none
// that can start; empty when the host has none), the switch that makes it run
// one command line, whether a name that starts from the root also needs a
// drive letter or a network name (else a leading '/' is enough), and whether
// the interpreter itself runs "cls" (else the platform clears the screen).
struct ShellSettings {
  std::string interpreter;
  const char* commandSwitch;
  bool driveNames;
  bool runsClearCommand;
};

// The settings of a POSIX host and of a Windows host of the NT family (the
// hosts that only had "command.com" are not served). The Windows side puts the
// system folder it is given in place of the usual one named here.
inline const ShellSettings kPosixShell{"/bin/sh", "-c", false, false};
inline const ShellSettings kWindowsShell{"C:\\Windows\\System32\\cmd.exe", "/c", true, true};

// The host services. One instance serves the process; see `platform()`.
class Platform {
 public:
  virtual ~Platform() = default;

  // True when the standard stream is a terminal (a character device).
  virtual bool isTerminal(StdStream stream) = 0;
  // One read of at most `capacity` bytes from standard input; an interrupt
  // that arrives before or during the wait is told, not acted on.
  virtual ReadResult readInput(char* buffer, std::size_t capacity) = 0;
  // Writes all bytes to standard output or error; false when the write failed.
  virtual bool writeStd(StdStream stream, std::string_view bytes) = 0;

  // True when a file (or directory) of that name exists.
  virtual bool fileExists(const std::string& name) = 0;
  // Opens an existing file, or creates a new one exclusively when `create`,
  // and holds it for this run until it is closed, where the host has locks:
  // a file another run holds is refused as `inUse`, untouched.
  // Open, write and close tell an interrupt that broke in as `interrupted`.
  virtual FileOpen openFile(const std::string& name, FileAccess access, bool create) = 0;
  // Connects a host device; its handle is closed like a file's.
  virtual FileOpen openDevice(Device device) = 0;
  // Cuts the file to `length` bytes.
  virtual FileFault truncateFile(std::intptr_t handle, std::uint64_t length) = 0;
  // Writes all bytes at the file's current position, retrying partial writes.
  virtual FileFault writeFile(std::intptr_t handle, std::string_view bytes) = 0;
  // Closes the file.
  virtual FileFault closeFile(std::intptr_t handle) = 0;
  // What `name` is, without following a symbolic link.
  virtual NameKind nameKind(const std::string& name) = 0;
  // True when `name` is the very file that the open `handle` holds.
  virtual bool isSameFile(std::intptr_t handle, const std::string& name) = 0;
  // Moves the file `from` over `to` in one step, replacing what `to` named
  // (never writing through it).
  virtual FileFault moveFileOver(const std::string& from, const std::string& to) = 0;
  // Gives the file `name` the second name `alias` (a hard link), which must
  // not exist yet; fails where the file system has no second names.
  virtual FileFault linkFile(const std::string& name, const std::string& alias) = 0;
  // Removes the file `name`.
  virtual FileFault removeFile(const std::string& name) = 0;
  // Keeps other runs from replacing files in the folder of `name` until
  // `releaseFolder`, waiting a few seconds at most for one that does; told as
  // `accessDenied` when the wait runs out. Where the host or the folder has
  // no such hold, it holds nothing and succeeds.
  virtual FileOpen holdFolderOf(const std::string& name) {
    static_cast<void>(name);
    return {-1, FileFault::none};
  }
  virtual void releaseFolder(std::intptr_t handle) { static_cast<void>(handle); }

  // The value of an environment variable, if it is set.
  virtual std::optional<std::string> environment(const char* name) = 0;
  // Starts `program` with `arguments` (arguments[0] is the program's own name)
  // inheriting the standard streams, environment and current directory, and
  // waits for it without time limit, even through interrupts. Returns false
  // when it could not start; `missing` then tells whether it was absent or not permitted.
  virtual bool runProcess(const std::string& program,
                          const std::vector<std::string>& arguments,
                          bool* missing) = 0;
  // True when `program` names a file that could be started as a program.
  virtual bool canStart(const std::string& program) = 0;
  // Clears the terminal on standard output, and does nothing when standard
  // output is not a terminal (used where the interpreter has no "cls").
  virtual void clearScreen() = 0;
  // How this host's command interpreter is found and started.
  virtual ShellSettings shellSettings() = 0;

  // Arranges for interrupts (SIGINT, SIGTERM, SIGHUP or the host's like) to be
  // noted instead of ending the process at once, so that the run can close its
  // report before it ends.
  virtual void catchInterrupts() = 0;
  // The number of an interrupt that has arrived, or 0.
  virtual int pendingInterrupt() = 0;
  // Ends the process by the interrupt `signalNumber`, with the host's usual status.
  [[noreturn]] virtual void endByInterrupt(int signalNumber) = 0;
  // Makes interrupts wait until `releaseInterrupts` instead of breaking into
  // the writes in progress, so a run that is already ending finishes its last
  // writes. Where interrupts never break into a write, both do nothing.
  virtual void holdInterrupts() {}
  virtual void releaseInterrupts() {}

  // The kind of terminal the standard stream is (`none` when it is not one).
  // Text for a UTF-8 terminal is turned from Windows-1252 into UTF-8. A host
  // whose console can show Windows-1252 bytes as they are prepares it here
  // when asked about standard output, and tells `windowsConsole`.
  virtual TerminalKind terminalKind(StdStream stream) = 0;
};

// The host services of this system. Its methods are defined by the one side
// built for the host: posix*.cc on a POSIX system, windows*.cc on Windows,
// wasi*.cc under WASI; a side defines these methods and nothing else.
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
  NameKind nameKind(const std::string& name) override;
  bool isSameFile(std::intptr_t handle, const std::string& name) override;
  FileFault moveFileOver(const std::string& from, const std::string& to) override;
  FileFault linkFile(const std::string& name, const std::string& alias) override;
  FileFault removeFile(const std::string& name) override;
#if !defined(__wasi__)
  // WASI has no locks: that side holds nothing.
  FileOpen holdFolderOf(const std::string& name) override;
  void releaseFolder(std::intptr_t handle) override;
#endif

  std::optional<std::string> environment(const char* name) override;
  bool runProcess(const std::string& program, const std::vector<std::string>& arguments,
                  bool* missing) override;
  bool canStart(const std::string& program) override;
  void clearScreen() override;
  ShellSettings shellSettings() override;

  void catchInterrupts() override;
  int pendingInterrupt() override;
  [[noreturn]] void endByInterrupt(int signalNumber) override;
#if !defined(_WIN32) && !defined(__wasi__)
  // Only a POSIX signal can break into a write; the other sides keep the
  // interface's hold that does nothing.
  void holdInterrupts() override;
  void releaseInterrupts() override;
#endif
  TerminalKind terminalKind(StdStream stream) override;
};

// The platform in use: the host's own unless a test installed another.
Platform& platform();

// Installs `replacement` (not owned) as the platform; nullptr restores the host's.
void setPlatform(Platform* replacement);

// The host's own platform: the side of the host the program is built for.
Platform& hostPlatform();

}  // namespace recio

#endif  // DOSMO_RECIO_PLATFORM_PLATFORM_H_
