// The composition of one cubic metre by absolute volumes, as the memo's table
// and its data file both show it: cement, water, air, sand and each gravel,
// with the slots of their mass and absolute volume in the record.
#ifndef DOSMO_MEMO_COMPOSITION_H_
#define DOSMO_MEMO_COMPOSITION_H_

#include <optional>
#include <string>
#include <vector>

#include "memo/record.h"

namespace dosmo {

// One material of the cubic metre.
struct Material {
  std::string key;               // "cimento", "agua", "ar", "areia", "brita1"...
  std::string name;              // "Cimento", "Água", ...
  std::optional<MemoSlot> mass;  // kg; none for the air, which has no mass
  MemoSlot volume;               // dm³
};

// The materials of the run in table order; empty before the sand is computed.
std::vector<Material> compositionOf(const MemoRecord& memo);

// A mass or volume of the table as the memo shows it: two decimals, comma.
std::string compositionText(double value);

}  // namespace dosmo

#endif  // DOSMO_MEMO_COMPOSITION_H_
