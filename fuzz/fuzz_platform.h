// An in-memory platform for the fuzz targets: standard input from the fuzz
// bytes (one line per read when it plays a terminal), standard streams and
// files kept in memory, child processes recorded and never started. Switches
// let a target make reads, writes, file writes or process starts fail.
#ifndef DOSMO_FUZZ_FUZZ_PLATFORM_H_
#define DOSMO_FUZZ_FUZZ_PLATFORM_H_

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "recio/platform.h"

namespace fuzzing {

// The most bytes all in-memory files may hold together; past it writes fail
// as a full disk, so no input makes the target run out of memory.
inline constexpr std::size_t kDiskCapacity = 1 << 22;

// The most bytes kept of standard output and error.
inline constexpr std::size_t kStdKept = 1 << 20;

class MemoryPlatform final : public recio::Platform {
 public:
  // The fault switches and stream kinds, from one byte of the fuzz input.
  struct Settings {
    bool inputTerminal = false;
    bool outputTerminal = false;
    bool failReads = false;
    bool failOutputWrites = false;
    bool failFileWrites = false;
    bool processesMissing = false;
  };

  // Settings from the bits of `byte`; the faults are rare (two bits each).
  static Settings settingsFrom(std::uint8_t byte) {
    Settings s;
    s.inputTerminal = (byte & 0x01) != 0;
    s.outputTerminal = (byte & 0x02) != 0;
    s.failReads = (byte & 0x0C) == 0x0C;
    s.failOutputWrites = (byte & 0x30) == 0x30;
    s.failFileWrites = (byte & 0xC0) == 0xC0;
    s.processesMissing = (byte & 0x84) == 0x84;
    return s;
  }

  MemoryPlatform(Settings settings, std::string_view input)
      : settings_(settings), input_(input) {}

  bool isTerminal(recio::StdStream stream) override {
    return stream == recio::StdStream::input ? settings_.inputTerminal : settings_.outputTerminal;
  }

  recio::ReadResult readInput(char* buffer, std::size_t capacity) override {
    if (settings_.failReads) return {0, true};
    std::size_t count = 0;
    while (position_ < input_.size() && count < capacity) {
      char byte = input_[position_++];
      buffer[count++] = byte;
      if (settings_.inputTerminal && byte == '\n') break;
    }
    return {count, false};
  }

  bool writeStd(recio::StdStream stream, std::string_view bytes) override {
    std::string& kept = stream == recio::StdStream::error ? error : output;
    if (stream == recio::StdStream::output && settings_.failOutputWrites) return false;
    kept.append(bytes.substr(0, kStdKept - std::min(kStdKept, kept.size())));
    return true;
  }

  bool fileExists(const std::string& name) override { return files_.count(name) != 0; }

  recio::FileOpen openFile(const std::string& name, recio::FileAccess, bool create) override {
    if (name.empty() || name.find('\0') != std::string::npos) return {-1, recio::FileFault::invalidName};
    if (name.find('/') != std::string::npos) return {-1, recio::FileFault::notFound};
    bool exists = files_.count(name) != 0;
    if (create && exists) return {-1, recio::FileFault::exists};
    if (!create && !exists) return {-1, recio::FileFault::notFound};
    if (open_.size() >= 16) return {-1, recio::FileFault::tooManyOpen};
    files_[name];
    return newHandle(name);
  }

  recio::FileOpen openDevice(recio::Device) override {
    if (open_.size() >= 16) return {-1, recio::FileFault::tooManyOpen};
    return newHandle({});
  }

  recio::FileFault truncateFile(std::intptr_t handle, std::uint64_t length) override {
    OpenFile* file = find(handle);
    if (file == nullptr) return recio::FileFault::other;
    if (file->name.empty()) return recio::FileFault::notSupported;
    std::string& data = files_[file->name];
    if (length < data.size()) data.resize(length);
    return recio::FileFault::none;
  }

  recio::FileFault writeFile(std::intptr_t handle, std::string_view bytes) override {
    OpenFile* file = find(handle);
    if (file == nullptr) return recio::FileFault::other;
    if (file->name.empty()) return recio::FileFault::none;  // a device takes anything
    if (settings_.failFileWrites || stored_ + bytes.size() > kDiskCapacity) {
      return recio::FileFault::diskFull;
    }
    std::string& data = files_[file->name];
    if (data.size() < file->position) data.resize(file->position, '\0');
    data.replace(file->position, bytes.size(), bytes);
    file->position += bytes.size();
    stored_ += bytes.size();
    return recio::FileFault::none;
  }

  recio::FileFault closeFile(std::intptr_t handle) override {
    if (open_.erase(handle) == 0) return recio::FileFault::other;
    return recio::FileFault::none;
  }

  std::optional<std::string> environment(const char* name) override {
    if (std::string_view(name) == "PATH") return std::string("/bin:/usr/bin");
    return std::nullopt;
  }

  bool runProcess(const std::string& program, const std::vector<std::string>& arguments,
                  bool* missing) override {
    std::vector<std::string> call{program};
    call.insert(call.end(), arguments.begin(), arguments.end());
    processes.push_back(std::move(call));
    if (missing) *missing = settings_.processesMissing;
    return !settings_.processesMissing;
  }

  bool canStart(const std::string&) override { return true; }
  void clearScreen() override {}

  recio::ShellSettings shellSettings() override { return shell; }
  void catchInterrupts() override {}
  int pendingInterrupt() override { return 0; }
  // No interrupt ever arrives here, so nothing can end the process by one.
  [[noreturn]] void endByInterrupt(int) override { std::abort(); }

  // Handles still open; every run must leave none behind.
  std::size_t openHandles() const { return open_.size(); }

  recio::ShellSettings shell = recio::kPosixShell;
  std::string output;  // standard output as written
  std::string error;   // standard error as written
  std::vector<std::vector<std::string>> processes;  // program then arguments

 private:
  struct OpenFile {
    std::string name;  // empty for a device
    std::size_t position = 0;
  };

  recio::FileOpen newHandle(std::string name) {
    std::intptr_t handle = nextHandle_++;
    open_[handle] = OpenFile{std::move(name), 0};
    return {handle, recio::FileFault::none};
  }

  OpenFile* find(std::intptr_t handle) {
    auto found = open_.find(handle);
    return found == open_.end() ? nullptr : &found->second;
  }

  Settings settings_;
  std::string_view input_;
  std::size_t position_ = 0;
  std::map<std::string, std::string> files_;
  std::map<std::intptr_t, OpenFile> open_;
  std::intptr_t nextHandle_ = 3;
  std::size_t stored_ = 0;
};

}  // namespace fuzzing

#endif  // DOSMO_FUZZ_FUZZ_PLATFORM_H_
