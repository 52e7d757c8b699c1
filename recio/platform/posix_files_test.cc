// The POSIX host's file calls: every failure told by its cause, read-only
// connections refused for cutting and writing, devices that cannot be cut.
#include <unistd.h>

#include <string>

#include <gtest/gtest.h>

#include "recio/platform/platform.h"
#include "tests/support/e2e_support.h"

namespace {

using testing_support::TempFolder;

// The host's file calls, each failure told by its cause.
TEST(PosixFiles, FaultsByCause) {
  TempFolder folder;
  folder.write("old", "old bytes");
  recio::Platform& host = recio::hostPlatform();
  using recio::FileAccess;
  using recio::FileFault;

  EXPECT_TRUE(host.fileExists(folder.file("old")));
  EXPECT_TRUE(host.fileExists(folder.path()));
  EXPECT_FALSE(host.fileExists(folder.file("none")));
  EXPECT_EQ(host.openFile(folder.file("old"), FileAccess::readWrite, true).fault, FileFault::exists);
  EXPECT_EQ(host.openFile(folder.file("none"), FileAccess::readWrite, false).fault, FileFault::notFound);
  EXPECT_EQ(host.openFile(folder.file("no/x"), FileAccess::readWrite, true).fault, FileFault::notFound);
  EXPECT_EQ(host.openFile(folder.path(), FileAccess::readOnly, false).fault, FileFault::accessDenied);
  EXPECT_EQ(host.openFile(folder.file(std::string(300, 'n')), FileAccess::readWrite, true).fault,
            FileFault::invalidName);

  recio::FileOpen readOnly = host.openFile(folder.file("old"), FileAccess::readOnly, false);
  ASSERT_EQ(readOnly.fault, FileFault::none);
  EXPECT_EQ(host.truncateFile(readOnly.handle, 0), FileFault::accessDenied);
  EXPECT_EQ(host.writeFile(readOnly.handle, "x"), FileFault::accessDenied);
  EXPECT_EQ(host.closeFile(readOnly.handle), FileFault::none);
  EXPECT_EQ(folder.read("old"), "old bytes");

  recio::FileOpen created = host.openFile(folder.file("new"), FileAccess::writeOnly, true);
  ASSERT_EQ(created.fault, FileFault::none);
  EXPECT_EQ(host.writeFile(created.handle, "abcdef"), FileFault::none);
  EXPECT_EQ(host.truncateFile(created.handle, 3), FileFault::none);
  EXPECT_EQ(host.closeFile(created.handle), FileFault::none);
  EXPECT_EQ(folder.read("new"), "abc");

  recio::FileOpen null = host.openDevice(recio::Device::null);
  ASSERT_EQ(null.fault, FileFault::none);
  EXPECT_EQ(host.truncateFile(null.handle, 0), FileFault::notSupported);
  EXPECT_EQ(host.writeFile(null.handle, "x"), FileFault::none);
  EXPECT_EQ(host.closeFile(null.handle), FileFault::none);

  if (access("/dev/full", W_OK) == 0) {
    recio::FileOpen full = host.openFile("/dev/full", FileAccess::readWrite, false);
    ASSERT_EQ(full.fault, FileFault::none);
    EXPECT_EQ(host.truncateFile(full.handle, 0), FileFault::notSupported);
    EXPECT_EQ(host.writeFile(full.handle, "x"), FileFault::diskFull);
    EXPECT_EQ(host.closeFile(full.handle), FileFault::none);
  }
}

}  // namespace
