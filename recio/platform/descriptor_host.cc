// The host services that the POSIX side and the WASI side carry out alike,
// through the descriptors and the C library both have: writes to the standard
// streams, the environment, and the kind of terminal a stream is, whose
// character set on both follows the locale the environment names.
#include <stdlib.h>
#include <unistd.h>

#include <cctype>
#include <optional>
#include <string>
#include <string_view>

#include "recio/platform/descriptor_files.h"
#include "recio/platform/platform.h"

namespace recio {
namespace {

// True when the locale the environment names has the UTF-8 code set. The
// user's character set is the code set in the name of the locale the
// environment selects (LC_ALL, then LC_CTYPE, then LANG: the first one set
// and not empty), as in "pt_BR.UTF-8". It is read from the name, so the
// answer holds whether or not the system has that locale installed, and in
// a statically linked program that cannot load one.
bool localeNamesUtf8(Platform& host) {
  for (const char* variable : {"LC_ALL", "LC_CTYPE", "LANG"}) {
    std::optional<std::string> value = host.environment(variable);
    if (!value || value->empty()) continue;
    std::string_view name = *value;
    std::size_t dot = name.find('.');
    if (dot == std::string_view::npos) return false;
    std::string_view codeset = name.substr(dot + 1, name.find('@', dot) - dot - 1);
    std::string letters;  // "UTF-8", "utf8" and "Utf_8" all read "utf8"
    for (char c : codeset) {
      if (c == '-' || c == '_') continue;
      letters.push_back(static_cast<char>(std::tolower(static_cast<unsigned char>(c))));
    }
    return letters == "utf8";
  }
  return false;
}

}  // namespace

// Partial and interrupted writes are retried: an interrupt is told by the next read.
bool HostPlatform::writeStd(StdStream stream, std::string_view bytes) {
  return descriptor_files::writeAll(descriptor_files::standardDescriptor(stream), bytes, nullptr) == 0;
}

std::optional<std::string> HostPlatform::environment(const char* name) {
  const char* value = getenv(name);
  if (value == nullptr) return std::nullopt;
  return std::string(value);
}

// A terminal shows the character set of the user's locale; any that is not
// UTF-8 is taken as single-byte (the C and POSIX locales among them).
TerminalKind HostPlatform::terminalKind(StdStream stream) {
  if (!isTerminal(stream)) return TerminalKind::none;
  return localeNamesUtf8(*this) ? TerminalKind::utf8 : TerminalKind::singleByte;
}

}  // namespace recio
