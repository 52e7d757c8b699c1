// Selection of the platform in use: the host's own, or one a test installed.
#include "recio/platform.h"

#include "recio/run_end.h"

namespace recio {
namespace {

Platform* installed = nullptr;

}  // namespace

Platform& platform() { return installed != nullptr ? *installed : hostPlatform(); }

void setPlatform(Platform* replacement) { installed = replacement; }

void endRunIfInterrupted() {
  int signalNumber = platform().pendingInterrupt();
  if (signalNumber != 0) endRun(RunEnd{128 + signalNumber, signalNumber});
}

}  // namespace recio
