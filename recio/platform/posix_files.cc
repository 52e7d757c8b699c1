// The POSIX side of the platform layer for files and devices: files through
// the descriptor calls shared with the WASI side; a device connection is a
// copy of a standard stream's descriptor or the system's null device.
#include <errno.h>
#include <fcntl.h>
#include <unistd.h>

#include "recio/platform/descriptor_files.h"
#include "recio/platform/platform.h"

namespace recio {
namespace {

int descriptorOf(std::intptr_t handle) { return static_cast<int>(handle); }

// A copy of a standard stream's descriptor that is not passed to children.
FileOpen duplicateOf(int descriptor) {
  int copy = fcntl(descriptor, F_DUPFD_CLOEXEC, 0);
  if (copy < 0) return {-1, descriptor_files::openFaultOf(errno)};
  return {copy, FileFault::none};
}

}  // namespace

bool HostPlatform::fileExists(const std::string& name) { return descriptor_files::exists(name); }

FileOpen HostPlatform::openFile(const std::string& name, FileAccess access, bool create) {
  return descriptor_files::open(name, access, create, *this);
}

FileOpen HostPlatform::openDevice(Device device) {
  switch (device) {
    case Device::console: return duplicateOf(STDOUT_FILENO);
    case Device::standardError: return duplicateOf(STDERR_FILENO);
    case Device::null: break;
  }
  return descriptor_files::open("/dev/null", FileAccess::readWrite, false, *this);
}

FileFault HostPlatform::truncateFile(std::intptr_t handle, std::uint64_t length) {
  return descriptor_files::truncate(descriptorOf(handle), length);
}

FileFault HostPlatform::writeFile(std::intptr_t handle, std::string_view bytes) {
  return descriptor_files::write(descriptorOf(handle), bytes, *this);
}

FileFault HostPlatform::closeFile(std::intptr_t handle) {
  return descriptor_files::close(descriptorOf(handle));
}

}  // namespace recio
