// Fuzz target for free-form console reads: the first byte picks the stream
// kinds and faults, the next eight plan the read statements (items, their
// types, a prompt before them), taken cyclically, and the rest is standard input.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

#include "fuzz/fuzz_platform.h"
#include "recio/console_input.h"
#include "recio/output.h"
#include "recio/record_sink.h"
#include "recio/report_unit.h"
#include "recio/run_end.h"
#include "recio/runtime.h"

namespace {

constexpr std::size_t kPlanLength = 8;

// Text items are read into buffers of exactly their length, so a byte written
// past the item is caught by the address checker.
constexpr int kTextLengths[] = {1, 15, 131, 300};

// One item of the plan: its type in two bits.
enum class ItemType { integer, real, text, longText };

// Reads one item of `type`; `round` varies the text length.
void readItem(ItemType type, std::size_t round) {
  switch (type) {
    case ItemType::integer: {
      std::int32_t item = -77;
      recio::readInteger(item);
      break;
    }
    case ItemType::real: {
      float item = -1.25f;
      recio::readReal(item);
      break;
    }
    case ItemType::text:
    case ItemType::longText: {
      int length = kTextLengths[(type == ItemType::text ? 0 : 2) + round % 2];
      auto item = std::make_unique<char[]>(static_cast<std::size_t>(length));
      recio::readText(item.get(), length);
      break;
    }
  }
}

// One statement from a plan byte: bits 0-1 hold the item count (0 to 3),
// bits 2-7 three item types, and a count of 0 with bit 7 set writes a prompt.
void runStatement(std::uint8_t plan, std::size_t round) {
  int count = plan & 0x03;
  if (count == 0 || (plan & 0x80) != 0) {
    recio::beginWrite(recio::kConsole);
    recio::writeText(" Valor:", 7);
    recio::endWrite();
  }
  recio::beginRead();
  for (int i = 0; i < count; ++i) {
    readItem(static_cast<ItemType>((plan >> (2 + 2 * i)) & 0x03), round + static_cast<std::size_t>(i));
  }
  recio::endRead();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1 + kPlanLength) return 0;
  const std::uint8_t* plan = data + 1;
  std::string_view input(reinterpret_cast<const char*>(data + 1 + kPlanLength),
                         size - 1 - kPlanLength);
  fuzzing::MemoryPlatform host;
  fuzzing::prepare(host, data[0], input);
  recio::setPlatform(&host);
  try {
    recio::startRun(0, nullptr);
    // Reads end the run at the end of input; the bound only stops a plan of
    // statements without items, which may take nothing.
    for (std::size_t round = 0; round <= input.size() + kPlanLength; ++round) {
      runStatement(plan[round % kPlanLength], round);
    }
  } catch (const recio::RunEnd&) {
  }
  recio::closeAllUnits();
  recio::setPlatform(nullptr);
  return 0;
}
