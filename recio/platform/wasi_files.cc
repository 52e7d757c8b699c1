// The WASI side of the platform layer for files and devices: files through
// the descriptor calls shared with the POSIX side, over the WASI file system,
// so a report goes only into the folders the host gives the program. A WASI
// path is UTF-8 text, so a name's Windows-1252 letters are turned into UTF-8
// (what was typed in UTF-8 stays as it is). WASI has no way to copy a
// descriptor, so the console and standard error are connected as marks that
// write to those streams and are never closed, and the null device is a mark
// whose writes go nowhere. WASI has no locks, so files put in place beside a
// report are moved there without holding their folder.
#include "recio/platform/descriptor_files.h"
#include "recio/platform/platform.h"
#include "recio/platform/utf8.h"

namespace recio {
namespace {

// The handles of device connections; every file handle is a descriptor >= 0.
constexpr std::intptr_t kConsoleHandle = -2;
constexpr std::intptr_t kErrorHandle = -3;
constexpr std::intptr_t kNullHandle = -4;

bool isDevice(std::intptr_t handle) { return handle <= kConsoleHandle; }

int descriptorOf(std::intptr_t handle) { return static_cast<int>(handle); }

// The file name as a WASI path.
std::string pathOf(const std::string& name) {
  std::string path;
  appendAsUtf8(name, path);
  return path;
}

}  // namespace

bool HostPlatform::fileExists(const std::string& name) {
  return descriptor_files::exists(pathOf(name));
}

FileOpen HostPlatform::openFile(const std::string& name, FileAccess access, bool create) {
  return descriptor_files::open(pathOf(name), access, create, *this);
}

FileOpen HostPlatform::openDevice(Device device) {
  switch (device) {
    case Device::console: return {kConsoleHandle, FileFault::none};
    case Device::standardError: return {kErrorHandle, FileFault::none};
    case Device::null: break;
  }
  return {kNullHandle, FileFault::none};
}

FileFault HostPlatform::truncateFile(std::intptr_t handle, std::uint64_t length) {
  if (isDevice(handle)) return FileFault::notSupported;
  return descriptor_files::truncate(descriptorOf(handle), length);
}

FileFault HostPlatform::writeFile(std::intptr_t handle, std::string_view bytes) {
  switch (handle) {
    case kConsoleHandle: return writeStd(StdStream::output, bytes) ? FileFault::none : FileFault::other;
    case kErrorHandle: return writeStd(StdStream::error, bytes) ? FileFault::none : FileFault::other;
    case kNullHandle: return FileFault::none;
    default: return descriptor_files::write(descriptorOf(handle), bytes, *this);
  }
}

FileFault HostPlatform::closeFile(std::intptr_t handle) {
  if (isDevice(handle)) return FileFault::none;
  return descriptor_files::close(descriptorOf(handle));
}

NameKind HostPlatform::nameKind(const std::string& name) { return descriptor_files::kind(pathOf(name)); }

bool HostPlatform::isSameFile(std::intptr_t handle, const std::string& name) {
  return !isDevice(handle) && descriptor_files::isSameFile(descriptorOf(handle), pathOf(name));
}

FileFault HostPlatform::moveFileOver(const std::string& from, const std::string& to) {
  return descriptor_files::moveOver(pathOf(from), pathOf(to));
}

FileFault HostPlatform::linkFile(const std::string& name, const std::string& alias) {
  return descriptor_files::link(pathOf(name), pathOf(alias));
}

FileFault HostPlatform::removeFile(const std::string& name) {
  return descriptor_files::remove(pathOf(name));
}

}  // namespace recio
