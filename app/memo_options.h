// The options that ask for the memo, read at the start of the command line:
// --memorial, and with it --volume V (m³ of concrete to order for) and
// --perda P (loss allowance in %, 0 when not given). A line that misuses them
// is refused before any question, with a message and status 2.
#ifndef DOSMO_APP_MEMO_OPTIONS_H_
#define DOSMO_APP_MEMO_OPTIONS_H_

#include <optional>
#include <string>
#include <string_view>

#include "memo/run_facts.h"

namespace dosmo {

// The exit status of a refused command line.
inline constexpr int kRefusedStatus = 2;

struct MemoOptions {
  bool memo = false;
  std::optional<OrderVolume> order;
  int used = 0;          // leading arguments taken by the options
  std::string refusal;   // why the line is refused (ASCII, CR LF ended); empty when it is not
};

// The memo options at the start of `arguments` (those after the program name).
MemoOptions parseMemoOptions(int count, const char* const* arguments);

// A number typed with a decimal point or a decimal comma ("2.5", "2,5", "10");
// nullopt for anything else (signs, exponents, letters, blanks, nothing).
std::optional<double> typedNumber(std::string_view text);

}  // namespace dosmo

#endif  // DOSMO_APP_MEMO_OPTIONS_H_
