// The Windows side of the platform layer for files and devices: existence
// test, open with exclusive creation and deny-none sharing and a byte-range
// lock that holds the file for the run, device connections, cutting, writing
// and closing. Every failure is told as a `FileFault` from the host's
// last-error code; no handle is passed to children. Files put in place beside
// a report are moved there while their folder is held by a named mutex that
// every run on this machine shares.
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>

#include "recio/platform/platform.h"

namespace recio {
namespace {

// Largest piece handed to one WriteFile on a file (its count is 32 bits).
constexpr std::size_t kLargestFileWrite = 1U << 30;

// Why an open failed, from its last-error code.
FileFault openFaultOf(DWORD error) {
  switch (error) {
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_FILENAME_EXCED_RANGE:
    case ERROR_INVALID_PARAMETER:
    case ERROR_DIRECTORY:
      return FileFault::invalidName;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_WRITE_PROTECT:
      return FileFault::accessDenied;
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
      return FileFault::exists;
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME:
      return FileFault::notFound;
    case ERROR_TOO_MANY_OPEN_FILES:
      return FileFault::tooManyOpen;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      return FileFault::diskFull;
    default:
      return FileFault::other;
  }
}

// Why a write, a cut or a close failed, from its last-error code.
FileFault writeFaultOf(DWORD error) {
  switch (error) {
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      return FileFault::diskFull;
    case ERROR_ACCESS_DENIED:
    case ERROR_LOCK_VIOLATION:
    case ERROR_SHARING_VIOLATION:
    case ERROR_WRITE_PROTECT:
    case ERROR_INVALID_HANDLE:
      return FileFault::accessDenied;
    case ERROR_NOT_SUPPORTED:
    case ERROR_INVALID_FUNCTION:
      return FileFault::notSupported;
    default:
      return FileFault::other;
  }
}

DWORD rightsFor(FileAccess access) {
  switch (access) {
    case FileAccess::readWrite: return GENERIC_READ | GENERIC_WRITE;
    case FileAccess::readOnly: return GENERIC_READ;
    case FileAccess::writeOnly: return GENERIC_WRITE;
  }
  return GENERIC_READ | GENERIC_WRITE;
}

HANDLE handleOf(std::intptr_t handle) { return reinterpret_cast<HANDLE>(handle); }

FileOpen opened(HANDLE handle) {
  if (handle == INVALID_HANDLE_VALUE) return {-1, openFaultOf(GetLastError())};
  return {reinterpret_cast<std::intptr_t>(handle), FileFault::none};
}

// CreateFile with deny-none sharing and a handle that children do not inherit.
HANDLE createShared(const char* name, DWORD rights, DWORD disposition) {
  SECURITY_ATTRIBUTES security = {sizeof(SECURITY_ATTRIBUTES), nullptr, FALSE};
  return CreateFileA(name, rights, FILE_SHARE_READ | FILE_SHARE_WRITE, &security, disposition,
                     FILE_ATTRIBUTE_NORMAL, nullptr);
}

// The byte a run locks to hold its file, far past the end of any report: a
// Windows lock over the report's own bytes would refuse them even to readers,
// such as a command typed at the pause, while this one only keeps out another
// run that asks for the same lock.
constexpr DWORD kHeldByteOffset = 0x7FFFFFFF;

// Holds the file for this run, taken at once or not at all. False when
// another process holds it. A file that takes no locks (a device, a pipe, a
// network folder without them) goes unheld, as before locks.
bool holdForThisRun(HANDLE file) {
  OVERLAPPED at = {};
  at.Offset = kHeldByteOffset;
  if (LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &at)) return true;
  return GetLastError() != ERROR_LOCK_VIOLATION;
}

// A copy of a standard handle that is not passed to children.
FileOpen duplicateOf(DWORD standard) {
  HANDLE source = GetStdHandle(standard);
  if (source == nullptr || source == INVALID_HANDLE_VALUE) return {-1, FileFault::notFound};
  HANDLE self = GetCurrentProcess();
  HANDLE copy = nullptr;
  if (!DuplicateHandle(self, source, self, &copy, 0, FALSE, DUPLICATE_SAME_ACCESS)) {
    return {-1, openFaultOf(GetLastError())};
  }
  return {reinterpret_cast<std::intptr_t>(copy), FileFault::none};
}

// How long a run waits for another that replaces files in the same folder.
constexpr DWORD kFolderHoldMilliseconds = 5000;
// How often a refused move is tried again, and how long apart: a second in all.
constexpr int kMoveAttempts = 100;
constexpr DWORD kMovePauseMilliseconds = 10;

// The name of the mutex that holds the folder of `name`: a hash of the
// folder's full path in lower case (a mutex name takes no backslash).
std::string folderMutexName(const std::string& name) {
  const std::size_t slash = name.find_last_of("/\\");
  // "dir\\." and "." give the folder's full path without a closing separator.
  const std::string folder = (slash == std::string::npos ? std::string() : name.substr(0, slash + 1)) + ".";
  char full[MAX_PATH * 4];
  const DWORD length = GetFullPathNameA(folder.c_str(), sizeof full, full, nullptr);
  const std::string path = length > 0 && length < sizeof full ? std::string(full, length) : folder;
  std::uint64_t hash = 14695981039346656037ULL;  // FNV-1a
  for (char c : path) {
    const char lower = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    hash = (hash ^ static_cast<unsigned char>(lower)) * 1099511628211ULL;
  }
  char text[40];
  std::snprintf(text, sizeof text, "Local\\dosmo-folder-%016llx", static_cast<unsigned long long>(hash));
  return text;
}

}  // namespace

bool HostPlatform::fileExists(const std::string& name) {
  return GetFileAttributesA(name.c_str()) != INVALID_FILE_ATTRIBUTES;
}

FileOpen HostPlatform::openFile(const std::string& name, FileAccess access, bool create) {
  // A folder cannot be opened this way: the host refuses it with access denied.
  FileOpen file = opened(createShared(name.c_str(), rightsFor(access), create ? CREATE_NEW : OPEN_EXISTING));
  if (file.fault != FileFault::none || holdForThisRun(handleOf(file.handle))) return file;
  // Another run holds it: refused before anything in it is touched.
  CloseHandle(handleOf(file.handle));
  return {-1, FileFault::inUse};
}

FileOpen HostPlatform::openDevice(Device device) {
  switch (device) {
    case Device::console: return duplicateOf(STD_OUTPUT_HANDLE);
    case Device::standardError: return duplicateOf(STD_ERROR_HANDLE);
    case Device::null: break;
  }
  return opened(createShared("NUL", GENERIC_READ | GENERIC_WRITE, OPEN_EXISTING));
}

FileFault HostPlatform::truncateFile(std::intptr_t handle, std::uint64_t length) {
  HANDLE file = handleOf(handle);
  if (GetFileType(file) != FILE_TYPE_DISK) return FileFault::notSupported;
  // The end is set at the file position, so the position is moved there and back.
  LARGE_INTEGER zero = {};
  LARGE_INTEGER current = {};
  if (!SetFilePointerEx(file, zero, &current, FILE_CURRENT)) return writeFaultOf(GetLastError());
  LARGE_INTEGER end = {};
  end.QuadPart = static_cast<LONGLONG>(length);
  if (!SetFilePointerEx(file, end, nullptr, FILE_BEGIN)) return writeFaultOf(GetLastError());
  FileFault fault = SetEndOfFile(file) ? FileFault::none : writeFaultOf(GetLastError());
  SetFilePointerEx(file, current, nullptr, FILE_BEGIN);
  return fault;
}

FileFault HostPlatform::writeFile(std::intptr_t handle, std::string_view bytes) {
  HANDLE file = handleOf(handle);
  while (!bytes.empty()) {
    DWORD piece = static_cast<DWORD>(std::min(bytes.size(), kLargestFileWrite));
    DWORD written = 0;
    if (!WriteFile(file, bytes.data(), piece, &written, nullptr)) return writeFaultOf(GetLastError());
    if (written == 0) return FileFault::other;  // nothing taken and no reason given
    bytes.remove_prefix(written);
  }
  return FileFault::none;
}

FileFault HostPlatform::closeFile(std::intptr_t handle) {
  if (CloseHandle(handleOf(handle))) return FileFault::none;
  return writeFaultOf(GetLastError());
}

// A folder, a symbolic link or junction (a reparse point) or a device is no
// plain file.
NameKind HostPlatform::nameKind(const std::string& name) {
  const DWORD attributes = GetFileAttributesA(name.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    const DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? NameKind::missing
                                                                           : NameKind::other;
  }
  constexpr DWORD kNotPlain =
      FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DEVICE;
  return (attributes & kNotPlain) != 0 ? NameKind::other : NameKind::file;
}

// The same volume and the same file index. The name is opened sharing even
// deletion, so that another run can move a file over it meanwhile.
bool HostPlatform::isSameFile(std::intptr_t handle, const std::string& name) {
  SECURITY_ATTRIBUTES security = {sizeof(SECURITY_ATTRIBUTES), nullptr, FALSE};
  HANDLE named = CreateFileA(name.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, &security,
                             OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (named == INVALID_HANDLE_VALUE) return false;
  BY_HANDLE_FILE_INFORMATION a = {}, b = {};
  const bool same = GetFileInformationByHandle(handleOf(handle), &a) &&
                    GetFileInformationByHandle(named, &b) &&
                    a.dwVolumeSerialNumber == b.dwVolumeSerialNumber &&
                    a.nFileIndexHigh == b.nFileIndexHigh && a.nFileIndexLow == b.nFileIndexLow;
  CloseHandle(named);
  return same;
}

// A file that another program has open for a moment (another run checking
// the name, a virus scanner, an indexer) cannot be replaced, so a refused
// move is tried again for a second before it is told.
FileFault HostPlatform::moveFileOver(const std::string& from, const std::string& to) {
  for (int attempt = 0;; ++attempt) {
    if (MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING)) return FileFault::none;
    const DWORD error = GetLastError();
    const bool refused = error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION;
    if (!refused || attempt == kMoveAttempts) return openFaultOf(error);
    Sleep(kMovePauseMilliseconds);
  }
}

FileFault HostPlatform::linkFile(const std::string& name, const std::string& alias) {
  if (CreateHardLinkA(alias.c_str(), name.c_str(), nullptr)) return FileFault::none;
  return openFaultOf(GetLastError());
}

FileFault HostPlatform::removeFile(const std::string& name) {
  if (DeleteFileA(name.c_str())) return FileFault::none;
  return openFaultOf(GetLastError());
}

// A mutex left by a run that ended without releasing it is taken over. Where
// no mutex can be made, the folder goes unheld.
FileOpen HostPlatform::holdFolderOf(const std::string& name) {
  SECURITY_ATTRIBUTES security = {sizeof(SECURITY_ATTRIBUTES), nullptr, FALSE};
  HANDLE mutex = CreateMutexA(&security, FALSE, folderMutexName(name).c_str());
  if (mutex == nullptr) return {-1, FileFault::none};
  const DWORD waited = WaitForSingleObject(mutex, kFolderHoldMilliseconds);
  if (waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED) {
    return {reinterpret_cast<std::intptr_t>(mutex), FileFault::none};
  }
  CloseHandle(mutex);
  return {-1, FileFault::accessDenied};
}

void HostPlatform::releaseFolder(std::intptr_t handle) {
  if (handle == -1) return;
  ReleaseMutex(handleOf(handle));
  CloseHandle(handleOf(handle));
}

}  // namespace recio
