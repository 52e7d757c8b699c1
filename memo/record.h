// The record of a run's calculation for its memo: every answer and every
// result the stages told it, each in its slot, with the branches they took.
// The memo is written from this record alone, so it shows what the run
// computed and never computes anything again.
#ifndef DOSMO_MEMO_RECORD_H_
#define DOSMO_MEMO_RECORD_H_

#include <cstdint>
#include <vector>

#include "dialogue/dialogue.h"

namespace dosmo {

// How a figure was held by the run.
enum class FigureKind {
  real,          // a REAL answer or result (single precision)
  integer,       // an INTEGER answer, a table row, a count of boxes
  intermediate,  // a step inside a formula, held in double precision
};

// One figure of the record.
struct MemoFigure {
  MemoSlot slot;
  double value = 0;  // a REAL or an INTEGER widened exactly
  FigureKind kind = FigureKind::real;
};

// The answers and results of one run, each list in the order first stored.
class MemoRecord final : public MemoSink {
 public:
  void answer(MemoSlot slot, float value) override;
  void answer(MemoSlot slot, std::int32_t value) override;
  void result(MemoSlot slot, float value) override;
  void result(MemoSlot slot, std::int32_t value) override;
  void intermediate(MemoSlot slot, double value) override;

  const std::vector<MemoFigure>& answers() const { return answers_; }
  const std::vector<MemoFigure>& results() const { return results_; }

  // The answer or result stored in `slot`, or nullptr.
  const MemoFigure* find(MemoSlot slot) const;
  bool has(MemoSlot slot) const { return find(slot) != nullptr; }
  // The value in `slot`, 0 when there is none.
  double value(MemoSlot slot) const;
  // The number of gradations whose `key` is stored, counted from gradation 1.
  int gradations(MemoKey key) const;

 private:
  // A slot stored again (an answer asked again) keeps its place, takes the new value.
  static void put(std::vector<MemoFigure>& list, MemoSlot slot, double value, FigureKind kind);

  std::vector<MemoFigure> answers_;
  std::vector<MemoFigure> results_;
};

}  // namespace dosmo

#endif  // DOSMO_MEMO_RECORD_H_
