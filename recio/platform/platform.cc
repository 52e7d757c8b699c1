// The choice of the platform in use: the host's own side, built for the host
// the program runs on, unless a test installed a platform of its own.
#include "recio/platform/platform.h"

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

}  // namespace recio
