// The POSIX side of the platform layer for files and devices: existence test,
// open with exclusive creation, device connections, cutting, writing and
// closing. Every failure is told as a `FileFault`, an interrupt that breaks
// into a write among them; nothing here ends the run except an interrupt that
// breaks into an open.
#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "recio/host_platform.h"

namespace recio {
namespace {

// Why an open failed, from its errno.
FileFault openFaultOf(int error) {
  switch (error) {
    case EINVAL:
    case ENAMETOOLONG:
    case EILSEQ:
      return FileFault::invalidName;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
    case ETXTBSY:
      return FileFault::accessDenied;
    case EEXIST:
      return FileFault::exists;
    case ENOENT:
    case ENOTDIR:
      return FileFault::notFound;
    case EMFILE:
    case ENFILE:
      return FileFault::tooManyOpen;
    default:
      return FileFault::other;
  }
}

// Why a write or a close failed, from its errno.
FileFault writeFaultOf(int error) {
  switch (error) {
    case ENOSPC:
    case EDQUOT:
      return FileFault::diskFull;
    case EACCES:
    case EPERM:
    case EBADF:
      return FileFault::accessDenied;
    default:
      return FileFault::other;
  }
}

int flagsFor(FileAccess access) {
  switch (access) {
    case FileAccess::readWrite: return O_RDWR;
    case FileAccess::readOnly: return O_RDONLY;
    case FileAccess::writeOnly: return O_WRONLY;
  }
  return O_RDWR;
}

int descriptorOf(std::intptr_t handle) { return static_cast<int>(handle); }

// open(2), tried again when an interrupt that does not end the run broke in.
int openRetrying(const char* name, int flags) {
  for (;;) {
    int descriptor = open(name, flags, 0666);
    if (descriptor >= 0 || errno != EINTR) return descriptor;
    endRunIfInterrupted();
  }
}

// A copy of a standard stream's descriptor that is not passed to children.
FileOpen duplicateOf(int descriptor) {
  int copy = fcntl(descriptor, F_DUPFD_CLOEXEC, 0);
  if (copy < 0) return {-1, openFaultOf(errno)};
  return {copy, FileFault::none};
}

}  // namespace

bool HostPlatform::fileExists(const std::string& name) {
  struct stat status;
  return stat(name.c_str(), &status) == 0;
}

FileOpen HostPlatform::openFile(const std::string& name, FileAccess access, bool create) {
  int flags = flagsFor(access) | O_CLOEXEC | O_NOCTTY;
  if (create) flags |= O_CREAT | O_EXCL;
  int descriptor = openRetrying(name.c_str(), flags);
  if (descriptor < 0) return {-1, openFaultOf(errno)};
  // A folder opened for reading is no file to write a report to.
  struct stat status;
  if (fstat(descriptor, &status) == 0 && S_ISDIR(status.st_mode)) {
    close(descriptor);
    return {-1, FileFault::accessDenied};
  }
  return {descriptor, FileFault::none};
}

FileOpen HostPlatform::openDevice(Device device) {
  switch (device) {
    case Device::console: return duplicateOf(STDOUT_FILENO);
    case Device::standardError: return duplicateOf(STDERR_FILENO);
    case Device::null: break;
  }
  int descriptor = openRetrying("/dev/null", O_RDWR | O_CLOEXEC | O_NOCTTY);
  if (descriptor < 0) return {-1, openFaultOf(errno)};
  return {descriptor, FileFault::none};
}

FileFault HostPlatform::truncateFile(std::intptr_t handle, std::uint64_t length) {
  int descriptor = descriptorOf(handle);
  // The host gives the same errno for a read-only connection and for a file
  // that cannot be cut at all, so both are told apart before the call.
  int flags = fcntl(descriptor, F_GETFL);
  if (flags < 0) return FileFault::accessDenied;
  if ((flags & O_ACCMODE) == O_RDONLY) return FileFault::accessDenied;
  struct stat status;
  if (fstat(descriptor, &status) != 0) return FileFault::other;
  if (!S_ISREG(status.st_mode)) return FileFault::notSupported;
  if (ftruncate(descriptor, static_cast<off_t>(length)) == 0) return FileFault::none;
  switch (errno) {
    case EINVAL: return FileFault::notSupported;
    case ENOSPC:
    case EDQUOT: return FileFault::diskFull;
    case EBADF:
    case EACCES:
    case EPERM:
    case ETXTBSY: return FileFault::accessDenied;
    default: return FileFault::other;
  }
}

FileFault HostPlatform::writeFile(std::intptr_t handle, std::string_view bytes) {
  int descriptor = descriptorOf(handle);
  while (!bytes.empty()) {
    ssize_t count = write(descriptor, bytes.data(), bytes.size());
    if (count > 0) {
      bytes.remove_prefix(static_cast<std::size_t>(count));
    } else if (count == 0) {
      return FileFault::other;  // nothing taken and no reason given
    } else if (errno != EINTR) {
      return writeFaultOf(errno);
    } else if (pendingInterrupt() != 0) {
      return FileFault::interrupted;
    }
  }
  return FileFault::none;
}

FileFault HostPlatform::closeFile(std::intptr_t handle) {
  // The descriptor is released even when close reports an error, so it is
  // never closed twice (an interrupted close is not retried).
  if (close(descriptorOf(handle)) == 0 || errno == EINTR) return FileFault::none;
  return writeFaultOf(errno);
}

}  // namespace recio
