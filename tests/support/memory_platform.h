// The in-memory platform of the unit tests and the fuzz targets: standard input
// from a string (one line per read when it plays a terminal), standard output
// and error captured, the environment from a map, child processes recorded and
// never started, and files kept in memory (or, for tests of the host's own
// file calls, handed to the host). Switches make reads, writes, file writes,
// moves, second names or process starts fail.
#ifndef DOSMO_TESTS_SUPPORT_MEMORY_PLATFORM_H_
#define DOSMO_TESTS_SUPPORT_MEMORY_PLATFORM_H_

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "recio/platform/platform.h"

namespace testing_support {

// The most bytes all memory files may hold together; past it writes fail as
// a full disk, so no input makes a fuzz target run out of memory.
inline constexpr std::size_t kDiskCapacity = 1 << 22;
// The most bytes kept of standard output and of standard error.
inline constexpr std::size_t kStdKept = 1 << 20;
// The most memory files and devices open at once.
inline constexpr std::size_t kMostOpenFiles = 16;

class MemoryPlatform final : public recio::Platform {
 public:
  bool inputTerminal = false;
  bool outputTerminal = false;
  std::string input;                // what standard input will deliver
  std::size_t inputPosition = 0;
  bool failReads = false;
  bool failOutputWrites = false;
  bool failFileWrites = false;      // every write to a memory file finds the disk full
  bool hostFiles = false;           // files and devices are the host's, not memory's
  std::string refuseMovesOnto;      // moves over this name are refused, also on the host,
  int movesToRefuse = 1;            // this many of them
  bool refuseLinks = false;         // second names are refused, also on the host
  std::string output;               // bytes written to standard output
  std::string error;                // bytes written to standard error
  std::map<std::string, std::string> variables;
  std::vector<std::vector<std::string>> processes;  // program then arguments
  bool processesStart = true;       // false: every start fails as missing
  std::vector<std::string> probes;  // programs asked about by canStart
  int clears = 0;                   // screen clears carried out directly
  // The kind of terminal the streams that are terminals are.
  recio::TerminalKind terminal = recio::TerminalKind::singleByte;
  recio::ShellSettings shell = recio::kPosixShell;

  // The bytes of a memory file, or nullopt when there is none of that name.
  std::optional<std::string> file(const std::string& name) const {
    auto found = files_.find(name);
    if (found == files_.end()) return std::nullopt;
    return found->second;
  }
  // Memory files and devices still open; every run must leave none behind.
  std::size_t openHandles() const { return open_.size(); }

  bool isTerminal(recio::StdStream stream) override {
    return stream == recio::StdStream::input ? inputTerminal : outputTerminal;
  }

  recio::ReadResult readInput(char* buffer, std::size_t capacity) override {
    if (failReads) return {0, true};
    std::size_t count = 0;
    while (inputPosition < input.size() && count < capacity) {
      char byte = input[inputPosition++];
      buffer[count++] = byte;
      if (inputTerminal && byte == '\n') break;  // a terminal gives one line per read
    }
    return {count, false};
  }

  bool writeStd(recio::StdStream stream, std::string_view bytes) override {
    bool toError = stream == recio::StdStream::error;
    if (!toError && failOutputWrites) return false;
    std::string& kept = toError ? error : output;
    kept.append(bytes.substr(0, kStdKept - std::min(kStdKept, kept.size())));
    return true;
  }

  bool fileExists(const std::string& name) override {
    return hostFiles ? host().fileExists(name) : files_.count(name) != 0;
  }

  recio::FileOpen openFile(const std::string& name, recio::FileAccess access, bool create) override {
    if (hostFiles) return host().openFile(name, access, create);
    if (name.empty() || name.find('\0') != std::string::npos) return {-1, recio::FileFault::invalidName};
    if (name.find('/') != std::string::npos) return {-1, recio::FileFault::notFound};
    bool exists = files_.count(name) != 0;
    if (create && exists) return {-1, recio::FileFault::exists};
    if (!create && !exists) return {-1, recio::FileFault::notFound};
    if (open_.size() >= kMostOpenFiles) return {-1, recio::FileFault::tooManyOpen};
    files_[name];
    return newHandle(name);
  }

  recio::FileOpen openDevice(recio::Device device) override {
    if (hostFiles) return host().openDevice(device);
    if (open_.size() >= kMostOpenFiles) return {-1, recio::FileFault::tooManyOpen};
    return newHandle({});
  }

  recio::FileFault truncateFile(std::intptr_t handle, std::uint64_t length) override {
    if (hostFiles) return host().truncateFile(handle, length);
    OpenFile* open = find(handle);
    if (open == nullptr) return recio::FileFault::other;
    if (open->name.empty()) return recio::FileFault::notSupported;
    std::string& data = files_[open->name];
    if (length < data.size()) data.resize(length);
    return recio::FileFault::none;
  }

  recio::FileFault writeFile(std::intptr_t handle, std::string_view bytes) override {
    if (hostFiles) return host().writeFile(handle, bytes);
    OpenFile* open = find(handle);
    if (open == nullptr) return recio::FileFault::other;
    if (open->name.empty()) return recio::FileFault::none;  // a device takes anything
    if (failFileWrites || stored_ + bytes.size() > kDiskCapacity) return recio::FileFault::diskFull;
    std::string& data = files_[open->name];
    if (data.size() < open->position) data.resize(open->position, '\0');
    data.replace(open->position, bytes.size(), bytes);
    open->position += bytes.size();
    stored_ += bytes.size();
    return recio::FileFault::none;
  }

  recio::FileFault closeFile(std::intptr_t handle) override {
    if (hostFiles) return host().closeFile(handle);
    if (open_.erase(handle) == 0) return recio::FileFault::other;
    return recio::FileFault::none;
  }

  recio::NameKind nameKind(const std::string& name) override {
    if (hostFiles) return host().nameKind(name);
    return files_.count(name) != 0 ? recio::NameKind::file : recio::NameKind::missing;
  }

  bool isSameFile(std::intptr_t handle, const std::string& name) override {
    if (hostFiles) return host().isSameFile(handle, name);
    OpenFile* open = find(handle);
    return open != nullptr && open->name == name;
  }

  recio::FileFault moveFileOver(const std::string& from, const std::string& to) override {
    if (to == refuseMovesOnto && movesToRefuse > 0) {
      --movesToRefuse;
      return recio::FileFault::accessDenied;
    }
    if (hostFiles) return host().moveFileOver(from, to);
    auto found = files_.find(from);
    if (found == files_.end()) return recio::FileFault::notFound;
    files_[to] = std::move(found->second);
    files_.erase(from);
    return recio::FileFault::none;
  }

  // A second name of a memory file is a copy of it.
  recio::FileFault linkFile(const std::string& name, const std::string& alias) override {
    if (refuseLinks) return recio::FileFault::notSupported;
    if (hostFiles) return host().linkFile(name, alias);
    if (files_.count(alias) != 0) return recio::FileFault::exists;
    auto found = files_.find(name);
    if (found == files_.end()) return recio::FileFault::notFound;
    files_[alias] = found->second;
    return recio::FileFault::none;
  }

  recio::FileFault removeFile(const std::string& name) override {
    if (hostFiles) return host().removeFile(name);
    return files_.erase(name) != 0 ? recio::FileFault::none : recio::FileFault::notFound;
  }

  std::optional<std::string> environment(const char* name) override {
    auto found = variables.find(name);
    if (found == variables.end()) return std::nullopt;
    return found->second;
  }

  bool runProcess(const std::string& program, const std::vector<std::string>& arguments,
                  bool* missing) override {
    std::vector<std::string> call{program};
    call.insert(call.end(), arguments.begin(), arguments.end());
    processes.push_back(std::move(call));
    if (missing) *missing = !processesStart;
    return processesStart;
  }

  bool canStart(const std::string& program) override {
    probes.push_back(program);
    return processesStart;
  }

  void clearScreen() override { ++clears; }
  recio::ShellSettings shellSettings() override { return shell; }
  void catchInterrupts() override {}
  int pendingInterrupt() override { return 0; }
  // No interrupt ever arrives here, so nothing can end the process by one.
  [[noreturn]] void endByInterrupt(int) override { std::abort(); }
  recio::TerminalKind terminalKind(recio::StdStream stream) override {
    return isTerminal(stream) ? terminal : recio::TerminalKind::none;
  }

 private:
  struct OpenFile {
    std::string name;  // empty for a device
    std::size_t position = 0;
  };

  static recio::Platform& host() { return recio::hostPlatform(); }

  recio::FileOpen newHandle(std::string name) {
    std::intptr_t handle = nextHandle_++;
    open_[handle] = OpenFile{std::move(name), 0};
    return {handle, recio::FileFault::none};
  }

  OpenFile* find(std::intptr_t handle) {
    auto found = open_.find(handle);
    return found == open_.end() ? nullptr : &found->second;
  }

  std::map<std::string, std::string> files_;
  std::map<std::intptr_t, OpenFile> open_;
  std::intptr_t nextHandle_ = 3;
  std::size_t stored_ = 0;
};

}  // namespace testing_support

#endif  // DOSMO_TESTS_SUPPORT_MEMORY_PLATFORM_H_
