// Text bound for a terminal: a control character inside it would drive the
// terminal instead of being shown, so each one in text the user typed (a
// report name), or that the conversion to the terminal's character set made,
// is shown as "?" wherever such text meets a terminal.
#ifndef DOSMO_RECIO_TERMINAL_TEXT_H_
#define DOSMO_RECIO_TERMINAL_TEXT_H_

#include <string>
#include <string_view>

#include "recio/platform/platform.h"

namespace recio {

// Appends `text` (Windows-1252, with what the user typed in UTF-8 as typed) as
// a terminal of `kind` must receive it: turned into UTF-8 for a UTF-8
// terminal, and each character that kind of terminal takes as a control
// shown as "?". NUL, which terminals show as nothing, passes. Where `kind` is
// `none` (redirected output) the bytes are appended as they are.
void appendShownOnTerminal(std::string_view text, TerminalKind kind, std::string& out);

}  // namespace recio

#endif  // DOSMO_RECIO_TERMINAL_TEXT_H_
