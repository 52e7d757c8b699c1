// Selection of the platform in use (the host's own, or one a test installed)
// and what the sides share: how an interrupt the platform tells of ends the
// run, and the character set named by the environment's locale.
#include "recio/platform/platform.h"

#include <cctype>
#include <cstdlib>
#include <string>
#include <string_view>

#include "recio/platform/host_platform.h"
#include "recio/run_end.h"

namespace recio {
namespace {

Platform* installed = nullptr;

}  // namespace

Platform& hostPlatform() {
  static HostPlatform host;
  return host;
}

Platform& platform() { return installed != nullptr ? *installed : hostPlatform(); }

void setPlatform(Platform* replacement) { installed = replacement; }

void endRunIfInterrupted() {
  int signalNumber = platform().pendingInterrupt();
  if (signalNumber != 0) endRun(RunEnd{128 + signalNumber, signalNumber});
}

bool localeNamesUtf8() {
  // The user's character set is the code set in the name of the locale the
  // environment selects (LC_ALL, then LC_CTYPE, then LANG: the first one set
  // and not empty), as in "pt_BR.UTF-8". It is read from the name, so the
  // answer holds whether or not the system has that locale installed, and in
  // a statically linked program that cannot load one.
  for (const char* variable : {"LC_ALL", "LC_CTYPE", "LANG"}) {
    const char* value = std::getenv(variable);
    if (value == nullptr || *value == '\0') continue;
    std::string_view name = value;
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

ReadResult readInputOrEnd(char* buffer, std::size_t capacity) {
  ReadResult got = platform().readInput(buffer, capacity);
  if (got.interrupted) endRunIfInterrupted();
  return got;
}

}  // namespace recio
