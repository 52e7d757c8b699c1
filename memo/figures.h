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

// What the memo knows of a key.
struct FigureInfo {
  std::string_view key;       // without the "brita<n>_" of a per-gradation key
  std::string_view unit;      // ASCII unit of the data file; "-" when dimensionless
  std::string_view textUnit;  // unit in the text memo; empty when dimensionless
  int decimals;               // decimals shown, or kShortest
};

// The information of `key` ("brita3_massa" finds "brita_massa"); a key the
// table lacks is dimensionless and shown shortest.
FigureInfo figureInfo(std::string_view key);

// The shortest plain decimal (digits, "." and an exponent only beyond 1e21
// or below 1e-7) that reads back as `value`: as a single-precision value
// when `single`, else as the double itself.
std::string shortestDecimal(double value, bool single);

// `value` in fixed point with `decimals` decimals, rounded exactly as the
// report's Fw.d field rounds it, with a zero before a leading point.
std::string fixedDecimal(float value, int decimals);

// `value` as `fixedDecimal` gives it, with the decimal comma.
std::string fixedText(float value, int decimals);

// The figure as the memo's text shows it, with the decimal comma.
std::string figureText(const MemoFigure& figure);

// The figure's value as a number of the data file (decimal point).
std::string figureNumber(const MemoFigure& figure);

}  // namespace dosmo

#endif  // DOSMO_MEMO_FIGURES_H_
