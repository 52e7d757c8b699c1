// The memo's record: two ordered lists of figures in their slots.
#include "memo/record.h"

#include <algorithm>

namespace dosmo {

void MemoRecord::put(std::vector<MemoFigure>& list, MemoSlot slot, double value, FigureKind kind) {
  auto same = std::find_if(list.begin(), list.end(),
                           [slot](const MemoFigure& figure) { return figure.slot == slot; });
  if (same != list.end()) {
    same->value = value;
    same->kind = kind;
    return;
  }
  list.push_back(MemoFigure{slot, value, kind});
}

void MemoRecord::answer(MemoSlot slot, float value) { put(answers_, slot, value, FigureKind::real); }

void MemoRecord::answer(MemoSlot slot, std::int32_t value) {
  put(answers_, slot, value, FigureKind::integer);
}

void MemoRecord::result(MemoSlot slot, float value) { put(results_, slot, value, FigureKind::real); }

void MemoRecord::result(MemoSlot slot, std::int32_t value) {
  put(results_, slot, value, FigureKind::integer);
}

void MemoRecord::intermediate(MemoSlot slot, double value) {
  put(results_, slot, value, FigureKind::intermediate);
}

const MemoFigure* MemoRecord::find(MemoSlot slot) const {
  for (const auto* list : {&answers_, &results_}) {
    for (const MemoFigure& figure : *list) {
      if (figure.slot == slot) return &figure;
    }
  }
  return nullptr;
}

double MemoRecord::value(MemoSlot slot) const {
  const MemoFigure* figure = find(slot);
  return figure != nullptr ? figure->value : 0;
}

int MemoRecord::gradations(MemoKey key) const {
  int count = 0;
  while (has({key, count + 1})) ++count;
  return count;
}

}  // namespace dosmo
