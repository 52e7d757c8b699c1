// A run of the run-time on the in-memory platform, for unit tests. Its files
// go to the host's file system unless a test keeps them in memory.
#ifndef DOSMO_TESTS_SUPPORT_FAKE_PLATFORM_H_
#define DOSMO_TESTS_SUPPORT_FAKE_PLATFORM_H_

#include <functional>
#include <string>

#include "recio/platform/platform.h"
#include "recio/run_end.h"
#include "recio/runtime.h"
#include "tests/support/memory_platform.h"

namespace testing_support {

// Installs a fake platform for the life of the object and starts a run on it.
class FakeRun {
 public:
  explicit FakeRun(std::string input = {}, bool terminal = false) {
    fake.hostFiles = true;
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

  MemoryPlatform fake;
};

}  // namespace testing_support

#endif  // DOSMO_TESTS_SUPPORT_FAKE_PLATFORM_H_
