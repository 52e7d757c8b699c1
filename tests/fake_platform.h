// An in-memory platform for tests: standard input from a string (one line per
// read when it plays a terminal), standard output and error captured, the
// environment from a map and child processes recorded instead of started.
// Files go to the host's file system, so tests use temporary folders.
#ifndef DOSMO_TESTS_FAKE_PLATFORM_H_
#define DOSMO_TESTS_FAKE_PLATFORM_H_

#include <cstdlib>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "recio/platform.h"
#include "recio/run_end.h"
#include "recio/runtime.h"

namespace testing_support {

class FakePlatform : public recio::Platform {
 public:
  bool inputTerminal = false;
  bool outputTerminal = false;
  std::string input;             // what standard input will deliver
  std::size_t inputPosition = 0;
  bool failReads = false;
  bool failOutputWrites = false;
  std::string output;            // bytes written to standard output
  std::string error;             // bytes written to standard error
  std::map<std::string, std::string> variables;
  std::vector<std::vector<std::string>> processes;  // program then arguments
  bool processesStart = true;    // false: every start fails as missing
  std::vector<std::string> probes;  // programs asked about by canStart
  int clears = 0;                // screen clears carried out directly
  bool wantsUtf8 = false;        // the terminal's character set is UTF-8
  recio::ShellSettings shell = recio::kPosixShell;  // the interpreter's settings

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
    if (stream == recio::StdStream::error) {
      error.append(bytes);
      return true;
    }
    if (failOutputWrites) return false;
    output.append(bytes);
    return true;
  }
  bool fileExists(const std::string& name) override { return host().fileExists(name); }
  recio::FileOpen openFile(const std::string& name, recio::FileAccess access, bool create) override {
    return host().openFile(name, access, create);
  }
  recio::FileOpen openDevice(recio::Device device) override { return host().openDevice(device); }
  recio::FileFault truncateFile(std::intptr_t handle, std::uint64_t length) override {
    return host().truncateFile(handle, length);
  }
  recio::FileFault writeFile(std::intptr_t handle, std::string_view bytes) override {
    return host().writeFile(handle, bytes);
  }
  recio::FileFault closeFile(std::intptr_t handle) override { return host().closeFile(handle); }
  std::optional<std::string> environment(const char* name) override {
    auto found = variables.find(name);
    if (found == variables.end()) return std::nullopt;
    return found->second;
  }
  bool runProcess(const std::string& program, const std::vector<std::string>& arguments,
                  bool* missing) override {
    std::vector<std::string> call{program};
    call.insert(call.end(), arguments.begin(), arguments.end());
    processes.push_back(call);
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
  bool consoleWantsUtf8() override { return wantsUtf8; }

 private:
  static recio::Platform& host() { return recio::hostPlatform(); }
};

// Installs a fake platform for the life of the object and starts a run on it.
class FakeRun {
 public:
  explicit FakeRun(std::string input = {}, bool terminal = false) {
    fake.input = std::move(input);
    fake.inputTerminal = terminal;
    fake.outputTerminal = terminal;
    recio::setPlatform(&fake);
    recio::startRun(0, nullptr);
  }
  ~FakeRun() { recio::setPlatform(nullptr); }
  FakeRun(const FakeRun&) = delete;
  FakeRun& operator=(const FakeRun&) = delete;

  // Starts the run again after the fake's settings were changed.
  void restart(int argumentCount = 0, const char* const* arguments = nullptr) {
    recio::startRun(argumentCount, arguments);
  }

  // Runs `body`; returns the status a run-time error would end with, or -1
  // when the body returned normally.
  static int statusOf(const std::function<void()>& body) {
    try {
      body();
    } catch (const recio::RunEnd& end) {
      return end.status;
    }
    return -1;
  }

  FakePlatform fake;
};

}  // namespace testing_support

#endif  // DOSMO_TESTS_FAKE_PLATFORM_H_
