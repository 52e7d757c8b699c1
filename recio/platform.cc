// Selection of the platform in use: the host's own, or one a test installed.
#include "recio/platform.h"

namespace recio {
namespace {

Platform* installed = nullptr;

}  // namespace

Platform& platform() { return installed != nullptr ? *installed : hostPlatform(); }

void setPlatform(Platform* replacement) { installed = replacement; }

}  // namespace recio
