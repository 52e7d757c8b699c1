// The fuzz targets' in-memory platform: the tests' own, its stream kinds and
// rare faults taken from one byte of the fuzz input, PATH set so that the
// interpreter search has directories to walk, and files kept in memory.
#ifndef DOSMO_FUZZ_FUZZ_PLATFORM_H_
#define DOSMO_FUZZ_FUZZ_PLATFORM_H_

#include <cstdint>
#include <string_view>

#include "tests/support/memory_platform.h"

namespace fuzzing {

using testing_support::MemoryPlatform;

// Prepares `host` for one run: the bits of `flags` pick the stream kinds and
// the faults (each fault needs two bits, so faults stay rare); `input` is
// what standard input delivers.
inline void prepare(MemoryPlatform& host, std::uint8_t flags, std::string_view input) {
  host.inputTerminal = (flags & 0x01) != 0;
  host.outputTerminal = (flags & 0x02) != 0;
  host.failReads = (flags & 0x0C) == 0x0C;
  host.failOutputWrites = (flags & 0x30) == 0x30;
  host.failFileWrites = (flags & 0xC0) == 0xC0;
  host.processesStart = (flags & 0x84) != 0x84;
  host.variables["PATH"] = "/bin:/usr/bin";
  host.input.assign(input);
}

}  // namespace fuzzing

#endif  // DOSMO_FUZZ_FUZZ_PLATFORM_H_
