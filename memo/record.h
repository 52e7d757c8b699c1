// The record of a run's calculation for its memo: every answer and every
// result, each under a stable key, stored by the stages as they run, with the
// branches they took. The memo is written from this record alone, so it shows
// what the run computed and never computes anything again.
#ifndef DOSMO_MEMO_RECORD_H_
#define DOSMO_MEMO_RECORD_H_

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace dosmo {

// How a figure was held by the run.
enum class FigureKind {
  real,          // a REAL answer or result (single precision)
  integer,       // an INTEGER answer, a table row, a count of boxes
  intermediate,  // a step inside a formula, held in double precision
};

// One figure of the record.
struct MemoFigure {
  std::string key;
  double value = 0;  // a REAL or an INTEGER widened exactly
  FigureKind kind = FigureKind::real;
};

// The answers and results of one run, each list in the order first stored.
class MemoRecord {
 public:
  void answer(std::string_view key, float value);
  void answer(std::string_view key, std::int32_t value);
  void result(std::string_view key, float value);
  void result(std::string_view key, std::int32_t value);
  void intermediate(std::string_view key, double value);

  const std::vector<MemoFigure>& answers() const { return answers_; }
  const std::vector<MemoFigure>& results() const { return results_; }

  // The answer or result stored under `key`, or nullptr.
  const MemoFigure* find(std::string_view key) const;
  bool has(std::string_view key) const { return find(key) != nullptr; }
  // The value under `key`, 0 when there is none.
  double value(std::string_view key) const;

 private:
  // A key stored again (an answer asked again) keeps its place, takes the new value.
  static void put(std::vector<MemoFigure>& list, std::string_view key, double value,
                  FigureKind kind);

  std::vector<MemoFigure> answers_;
  std::vector<MemoFigure> results_;
};

// The key of a per-gradation figure: "brita<index>_<name>", index from 1.
std::string gradationKey(int index, std::string_view name);

}  // namespace dosmo

#endif  // DOSMO_MEMO_RECORD_H_
