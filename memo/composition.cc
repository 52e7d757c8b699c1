// The cubic metre's materials, read from the record in table order.
#include "memo/composition.h"

#include "memo/figures.h"

namespace dosmo {

std::vector<Material> compositionOf(const MemoRecord& memo) {
  if (!memo.has(MemoKey::sandMass)) return {};
  std::vector<Material> materials = {
      {"cimento", "Cimento", MemoKey::cementContent, MemoKey::cementVolume},
      {"agua", "Água", MemoKey::waterContent, MemoKey::waterContent},
      {"ar", "Ar", std::nullopt, MemoKey::airVolume},
      {"areia", "Areia", MemoKey::sandMass, MemoKey::sandVolume},
  };
  for (int index = 1; memo.has({MemoKey::coarseMass, index}); ++index) {
    materials.push_back({"brita" + std::to_string(index), "Brita " + std::to_string(index),
                         MemoSlot{MemoKey::coarseMass, index}, MemoSlot{MemoKey::coarseVolume, index}});
  }
  return materials;
}

std::string compositionText(double value) { return fixedTextOfSum(value, 2); }

}  // namespace dosmo
