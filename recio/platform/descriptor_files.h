// File operations on descriptors through the POSIX calls, shared by the POSIX
// side of the platform layer and the WASI side, whose C library offers the
// same calls over the WASI file system (there confined to the folders the
// host gives the program). Every failure is told as a `FileFault`.
#ifndef DOSMO_RECIO_PLATFORM_DESCRIPTOR_FILES_H_
#define DOSMO_RECIO_PLATFORM_DESCRIPTOR_FILES_H_

#include <cstdint>
#include <string>
#include <string_view>

#include "recio/platform/platform.h"

namespace recio::descriptor_files {

// The descriptor of a standard stream.
int standardDescriptor(StdStream stream);

// Why an open failed, from its errno.
FileFault openFaultOf(int error);

// True when a file (or directory) of that name exists.
bool exists(const std::string& name);
// Opens an existing file, or creates a new one exclusively when `create`; a
// folder is refused as access denied. The descriptor is not passed to children.
// An open that a signal broke into is tried again unless `host` tells of a
// pending interrupt, when it is told as `FileFault::interrupted`.
FileOpen open(const std::string& name, FileAccess access, bool create, Platform& host);
// Cuts a regular file to `length` bytes; another kind of file is notSupported.
FileFault truncate(int descriptor, std::uint64_t length);
// Writes all bytes at the current position, retrying partial writes and
// those a signal broke into, unless `stopAtInterrupt` is given and tells of a
// pending interrupt. Returns 0, or the errno of the failure (EINTR for that
// interrupt, EIO for a write that took nothing and gave no reason).
int writeAll(int descriptor, std::string_view bytes, Platform* stopAtInterrupt);
// `writeAll` told as a fault; an interrupt pending at `host` is
// `FileFault::interrupted`.
FileFault write(int descriptor, std::string_view bytes, Platform& host);
// Closes the descriptor; it is released even when the close reports an error.
FileFault close(int descriptor);
// What `name` is, without following a symbolic link.
NameKind kind(const std::string& name);
// True when `name` is the file open on `descriptor`.
bool isSameFile(int descriptor, const std::string& name);
// Moves `from` over `to` in one step (rename).
FileFault moveOver(const std::string& from, const std::string& to);
// Gives the file `name` the second name `alias` (link).
FileFault link(const std::string& name, const std::string& alias);
// Removes the file `name`.
FileFault remove(const std::string& name);

}  // namespace recio::descriptor_files

#endif  // DOSMO_RECIO_PLATFORM_DESCRIPTOR_FILES_H_
