// The POSIX side of the platform layer for files and devices: files through
// the descriptor calls shared with the WASI side, each held for the run by a
// record lock; a device connection is a copy of a standard stream's
// descriptor or the system's null device. Files put in place beside a report
// are moved there while their folder is held by a lock.
#include <errno.h>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include "recio/platform/descriptor_files.h"
#include "recio/platform/platform.h"

namespace recio {
namespace {

int descriptorOf(std::intptr_t handle) { return static_cast<int>(handle); }

// How long a run waits for another that replaces files in the same folder:
// 500 tries 10 ms apart, five seconds in all.
constexpr int kFolderHoldAttempts = 500;
constexpr useconds_t kFolderHoldPauseMicroseconds = 10000;

// A copy of a standard stream's descriptor that is not passed to children.
FileOpen duplicateOf(int descriptor) {
  int copy = fcntl(descriptor, F_DUPFD_CLOEXEC, 0);
  if (copy < 0) return {-1, descriptor_files::openFaultOf(errno)};
  return {copy, FileFault::none};
}

// Holds the whole file for this run with a record lock, taken at once or not
// at all: a write lock on a connection that may write, a read lock on a
// read-only one. False when another process holds a lock in the way. Where
// the file system has no locks the file goes unheld, as before locks.
bool holdForThisRun(int descriptor, FileAccess access) {
  struct flock whole = {};
  whole.l_type = access == FileAccess::readOnly ? F_RDLCK : F_WRLCK;
  whole.l_whence = SEEK_SET;
  whole.l_start = 0;
  whole.l_len = 0;  // to the end, however far the file grows
  if (fcntl(descriptor, F_SETLK, &whole) == 0) return true;
  return errno != EACCES && errno != EAGAIN;
}

}  // namespace

bool HostPlatform::fileExists(const std::string& name) { return descriptor_files::exists(name); }

// A file another run holds is refused as access denied, before anything in
// it is touched.
FileOpen HostPlatform::openFile(const std::string& name, FileAccess access, bool create) {
  FileOpen opened = descriptor_files::open(name, access, create, *this);
  if (opened.fault != FileFault::none) return opened;
  if (holdForThisRun(descriptorOf(opened.handle), access)) return opened;
  descriptor_files::close(descriptorOf(opened.handle));
  return {-1, FileFault::inUse};
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

NameKind HostPlatform::nameKind(const std::string& name) { return descriptor_files::kind(name); }

bool HostPlatform::isSameFile(std::intptr_t handle, const std::string& name) {
  return descriptor_files::isSameFile(descriptorOf(handle), name);
}

FileFault HostPlatform::moveFileOver(const std::string& from, const std::string& to) {
  return descriptor_files::moveOver(from, to);
}

FileFault HostPlatform::linkFile(const std::string& name, const std::string& alias) {
  return descriptor_files::link(name, alias);
}

FileFault HostPlatform::removeFile(const std::string& name) { return descriptor_files::remove(name); }

// The folder is held by an exclusive whole-file lock on the folder itself,
// tried every few milliseconds until the wait runs out. A folder whose file
// system takes no such lock goes unheld.
FileOpen HostPlatform::holdFolderOf(const std::string& name) {
  const std::size_t slash = name.rfind('/');
  const std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : name.substr(0, slash);
  const int descriptor = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (descriptor < 0) return {-1, descriptor_files::openFaultOf(errno)};
  for (int attempt = 0; attempt < kFolderHoldAttempts; ++attempt) {
    if (flock(descriptor, LOCK_EX | LOCK_NB) == 0) return {descriptor, FileFault::none};
    if (errno != EWOULDBLOCK && errno != EINTR) return {descriptor, FileFault::none};  // no locks here
    if (pendingInterrupt() != 0) break;
    usleep(kFolderHoldPauseMicroseconds);
  }
  ::close(descriptor);
  return {-1, pendingInterrupt() != 0 ? FileFault::interrupted : FileFault::accessDenied};
}

void HostPlatform::releaseFolder(std::intptr_t handle) {
  if (handle >= 0) ::close(descriptorOf(handle));  // the lock goes with the descriptor
}

}  // namespace recio
