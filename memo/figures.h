// The figures of the calculation memo: each key's unit and how many decimals
// the memo shows (those the report prints where the report shows the figure),
// and the number texts: the shortest decimal that reads back as the stored
// value, and the fixed-point text rounded as the report's fields round.
#ifndef DOSMO_MEMO_FIGURES_H_
#define DOSMO_MEMO_FIGURES_H_

#include <string>
#include <string_view>

#include "memo/record.h"

namespace dosmo {

// Shown as the shortest decimal that reads back as the stored value.
inline constexpr int kShortest = -1;

// What the memo knows of a key: one row of its table.
struct FigureInfo {
  MemoKey key;
  std::string_view name;      // key name of the data file (per gradation: in its gravel's object)
  std::string_view unit;      // SI unit of the data file, ASCII; "1" when dimensionless
  std::string_view textUnit;  // unit in the text memo; empty when dimensionless
  int decimals;               // decimals shown, or kShortest
  bool perGradation;          // stored once for each coarse gradation
};

// The row of `key`.
const FigureInfo& figureInfo(MemoKey key);

// The cement class of a table column numbered from 1: "CP25", "CP32", "CP40".
std::string_view cementClassName(int column);

// The key name of a slot in the data file: "fc28"; "massa" for a gravel's mass.
std::string_view figureName(MemoSlot slot);

// The shortest plain decimal (digits, "." and an exponent only beyond 1e21
// or below 1e-7) that reads back as `value`: as a single-precision value
// when `single`, else as the double itself.
std::string shortestDecimal(double value, bool single);

// `value` in fixed point with `decimals` decimals, rounded exactly as the
// report's Fw.d field rounds it, with a zero before a leading point.
std::string fixedDecimal(float value, int decimals);

// `value` as `fixedDecimal` gives it, with the decimal comma.
std::string fixedText(float value, int decimals);

// A sum or product of stored values in fixed point as `fixedText` gives it;
// beyond the single-precision range, the shortest decimal.
std::string fixedTextOfSum(double value, int decimals);

// `value` as the shortest decimal that reads back as the double, with the comma.
std::string shownDecimal(double value);

// The figure as the memo's text shows it, with the decimal comma.
std::string figureText(const MemoFigure& figure);

// The stored value in full with the decimal comma, as an operand of an
// equation (single-precision digits, enough to close the equation).
std::string operandText(const MemoFigure& figure);

// The figure's value as a number of the data file (decimal point).
std::string figureNumber(const MemoFigure& figure);

}  // namespace dosmo

#endif  // DOSMO_MEMO_FIGURES_H_
