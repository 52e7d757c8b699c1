// The memo's record: two ordered lists of keyed figures.
#include "memo/record.h"

#include <algorithm>

namespace dosmo {

void MemoRecord::put(std::vector<MemoFigure>& list, std::string_view key, double value,
                     FigureKind kind) {
  auto same = std::find_if(list.begin(), list.end(),
                           [key](const MemoFigure& figure) { return figure.key == key; });
  if (same != list.end()) {
    same->value = value;
    same->kind = kind;
    return;
  }
  list.push_back(MemoFigure{std::string(key), value, kind});
}

void MemoRecord::answer(std::string_view key, float value) {
  put(answers_, key, value, FigureKind::real);
}

void MemoRecord::answer(std::string_view key, std::int32_t value) {
  put(answers_, key, value, FigureKind::integer);
}

void MemoRecord::result(std::string_view key, float value) {
  put(results_, key, value, FigureKind::real);
}

void MemoRecord::result(std::string_view key, std::int32_t value) {
  put(results_, key, value, FigureKind::integer);
}

void MemoRecord::intermediate(std::string_view key, double value) {
  put(results_, key, value, FigureKind::intermediate);
}

const MemoFigure* MemoRecord::find(std::string_view key) const {
  for (const auto* list : {&answers_, &results_}) {
    for (const MemoFigure& figure : *list) {
      if (figure.key == key) return &figure;
    }
  }
  return nullptr;
}

double MemoRecord::value(std::string_view key) const {
  const MemoFigure* figure = find(key);
  return figure != nullptr ? figure->value : 0;
}

std::string gradationKey(int index, std::string_view name) {
  return "brita" + std::to_string(index) + "_" + std::string(name);
}

}  // namespace dosmo
