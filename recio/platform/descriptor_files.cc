// File operations on descriptors through the POSIX calls (see the header). An
// interrupt that breaks into an open or a write is told as a fault; nothing
// here ends the run. On WASI the C library carries the calls out through the
// WASI file system, which refuses a name outside the given folders as not
// capable: an access denied.
#include "recio/platform/descriptor_files.h"

#include <errno.h>
#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include "recio/platform/platform.h"

namespace recio::descriptor_files {
namespace {

// Why a write or a close failed, from its errno.
FileFault writeFaultOf(int error) {
  switch (error) {
    case ENOSPC:
    case EDQUOT:
    case EFBIG:  // the file-size limit, told by the write instead of a signal
      return FileFault::diskFull;
    case EACCES:
    case EPERM:
    case EBADF:
#ifdef ENOTCAPABLE
    case ENOTCAPABLE:
#endif
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

// open(2), tried again when a signal that is no interrupt broke in; an
// interrupt leaves -1 with errno EINTR.
int openRetrying(const char* name, int flags, Platform& host) {
  for (;;) {
    int descriptor = ::open(name, flags, 0666);
    if (descriptor >= 0 || errno != EINTR || host.pendingInterrupt() != 0) {
      return descriptor;
    }
  }
}

}  // namespace

int standardDescriptor(StdStream stream) {
  switch (stream) {
    case StdStream::input: return STDIN_FILENO;
    case StdStream::output: return STDOUT_FILENO;
    case StdStream::error: return STDERR_FILENO;
  }
  return STDERR_FILENO;
}

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
#ifdef ENOTCAPABLE
    case ENOTCAPABLE:  // WASI: the name lies outside the folders given to the program
#endif
      return FileFault::accessDenied;
    case EEXIST:
      return FileFault::exists;
    case ENOENT:
    case ENOTDIR:
      return FileFault::notFound;
    case EMFILE:
    case ENFILE:
      return FileFault::tooManyOpen;
    case EINTR:
      return FileFault::interrupted;
    default:
      return FileFault::other;
  }
}

bool exists(const std::string& name) {
  struct stat status;
  return stat(name.c_str(), &status) == 0;
}

FileOpen open(const std::string& name, FileAccess access, bool create, Platform& host) {
  int flags = flagsFor(access) | O_CLOEXEC | O_NOCTTY;
  if (create) flags |= O_CREAT | O_EXCL;
  int descriptor = openRetrying(name.c_str(), flags, host);
  if (descriptor < 0) return {-1, openFaultOf(errno)};
  // A folder opened for reading is no file to write a report to.
  struct stat status;
  if (fstat(descriptor, &status) == 0 && S_ISDIR(status.st_mode)) {
    ::close(descriptor);
    return {-1, FileFault::accessDenied};
  }
  return {descriptor, FileFault::none};
}

FileFault truncate(int descriptor, std::uint64_t length) {
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
    case ETXTBSY: return FileFault::accessDenied;
    default: return writeFaultOf(errno);
  }
}

int writeAll(int descriptor, std::string_view bytes, Platform* stopAtInterrupt) {
  while (!bytes.empty()) {
    ssize_t count = ::write(descriptor, bytes.data(), bytes.size());
    if (count > 0) {
      bytes.remove_prefix(static_cast<std::size_t>(count));
    } else if (count == 0) {
      return EIO;  // nothing taken and no reason given
    } else if (errno != EINTR) {
      return errno;
    } else if (stopAtInterrupt != nullptr && stopAtInterrupt->pendingInterrupt() != 0) {
      return EINTR;
    }
  }
  return 0;
}

FileFault write(int descriptor, std::string_view bytes, Platform& host) {
  switch (int error = writeAll(descriptor, bytes, &host)) {
    case 0: return FileFault::none;
    case EINTR: return FileFault::interrupted;
    case EIO: return FileFault::other;
    default: return writeFaultOf(error);
  }
}

FileFault close(int descriptor) {
  // An interrupted close is not retried: the descriptor is already released.
  if (::close(descriptor) == 0 || errno == EINTR) return FileFault::none;
  return writeFaultOf(errno);
}

NameKind kind(const std::string& name) {
  struct stat status;
  if (lstat(name.c_str(), &status) != 0) return errno == ENOENT ? NameKind::missing : NameKind::other;
  return S_ISREG(status.st_mode) ? NameKind::file : NameKind::other;
}

bool isSameFile(int descriptor, const std::string& name) {
  struct stat open, named;
  if (fstat(descriptor, &open) != 0 || stat(name.c_str(), &named) != 0) return false;
  return open.st_dev == named.st_dev && open.st_ino == named.st_ino;
}

FileFault moveOver(const std::string& from, const std::string& to) {
  if (::rename(from.c_str(), to.c_str()) == 0) return FileFault::none;
  return openFaultOf(errno);
}

FileFault link(const std::string& name, const std::string& alias) {
  if (::link(name.c_str(), alias.c_str()) == 0) return FileFault::none;
  return openFaultOf(errno);
}

FileFault remove(const std::string& name) {
  if (::unlink(name.c_str()) == 0) return FileFault::none;
  return openFaultOf(errno);
}

}  // namespace recio::descriptor_files
