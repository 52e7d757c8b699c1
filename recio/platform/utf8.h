// UTF-8 sequences inside console text: text the user typed at a UTF-8
// terminal, or wrote in a UTF-8 answer file, arrives as well-formed UTF-8
// sequences, which the program's own Windows-1252 texts never contain. These
// tell such a sequence, keep a cut from splitting one, and turn text into
// UTF-8 for a terminal or a file system that takes only UTF-8; they sit with
// the host sides because a host whose file names are UTF-8 needs them.
#ifndef DOSMO_RECIO_PLATFORM_UTF8_H_
#define DOSMO_RECIO_PLATFORM_UTF8_H_

#include <cstddef>
#include <string>
#include <string_view>

namespace recio {

// The length (2 to 4) of the well-formed multi-byte UTF-8 sequence that
// `text` starts with, or 0 when it starts with none.
std::size_t utf8SequenceLength(std::string_view text);

// Where a cut of `text` after `cut` bytes must fall so that it leaves no part
// of a UTF-8 sequence: the start of a sequence that runs past `cut`, else `cut`.
std::size_t cutBeforeSplitSequence(std::string_view text, std::size_t cut);

// Appends `text` as UTF-8: each well-formed UTF-8 sequence as it is, every
// other byte as the character Windows-1252 gives it (the five bytes that code
// page leaves unassigned as the control characters of the same number).
void appendAsUtf8(std::string_view text, std::string& out);

}  // namespace recio

#endif  // DOSMO_RECIO_PLATFORM_UTF8_H_
