// Text bound for a terminal: a control character inside it (a byte 0 to 31 or
// 127) would drive the terminal instead of being shown, so each one the user
// typed (in a report name) is shown as "?" wherever such text meets a terminal.
#ifndef DOSMO_RECIO_TERMINAL_TEXT_H_
#define DOSMO_RECIO_TERMINAL_TEXT_H_

#include <cstddef>
#include <string>

namespace recio {

// Replaces every control byte of `text` from position `from` on by "?".
void showControlsAsQuestionMarks(std::string& text, std::size_t from = 0);

}  // namespace recio

#endif  // DOSMO_RECIO_TERMINAL_TEXT_H_
