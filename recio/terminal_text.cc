// Control characters in text for a terminal: the C0 controls and DEL start
// escape sequences, ring the bell or move the cursor on every terminal; the
// C1 controls (CSI, OSC and the rest) do so where the terminal can read them:
// as characters on a UTF-8 terminal, as bytes on a single-byte one.
#include "recio/terminal_text.h"

#include <array>
#include <cstddef>

#include "recio/platform/utf8.h"

namespace recio {
namespace {

struct ControlRange {
  char32_t first, last;
};

// What each kind of terminal takes as a control: characters (code points) on
// a UTF-8 terminal, bytes on the others. NUL is in no range: a terminal
// shows it as nothing, and a name never typed is fifteen of them.
struct KindControls {
  TerminalKind kind;
  std::array<ControlRange, 2> controls;
};

constexpr KindControls kControls[] = {
    {TerminalKind::utf8, {{{0x01, 0x1F}, {0x7F, 0x9F}}}},
    {TerminalKind::singleByte, {{{0x01, 0x1F}, {0x7F, 0x9F}}}},
    {TerminalKind::windowsConsole, {{{0x01, 0x1F}, {0x7F, 0x7F}}}},
};

const KindControls* controlsOf(TerminalKind kind) {
  for (const KindControls& row : kControls) {
    if (row.kind == kind) return &row;
  }
  return nullptr;
}

// The value of the character of `length` bytes that `text` starts with: the
// code point of a UTF-8 sequence, else the byte.
char32_t valueOf(std::string_view text, std::size_t length) {
  static constexpr unsigned char kLeadBits[] = {0, 0xFF, 0x1F, 0x0F, 0x07};
  char32_t value = static_cast<unsigned char>(text[0]) & kLeadBits[length];
  for (std::size_t i = 1; i < length; ++i) {
    value = (value << 6) | (static_cast<unsigned char>(text[i]) & 0x3F);
  }
  return value;
}

bool isControl(char32_t value, const KindControls& row) {
  for (const ControlRange& range : row.controls) {
    if (value >= range.first && value <= range.last) return true;
  }
  return false;
}

// Appends `shown` (text already in the terminal's character set) with each of
// its control characters as "?".
void appendWithoutControls(std::string_view shown, const KindControls& row, std::string& out) {
  for (std::size_t at = 0; at < shown.size();) {
    std::size_t length = 1;
    if (row.kind == TerminalKind::utf8) {
      if (std::size_t sequence = utf8SequenceLength(shown.substr(at))) length = sequence;
    }
    std::string_view character = shown.substr(at, length);
    if (isControl(valueOf(character, length), row)) {
      out.push_back('?');
    } else {
      out.append(character);
    }
    at += length;
  }
}

}  // namespace

void appendShownOnTerminal(std::string_view text, TerminalKind kind, std::string& out) {
  const KindControls* row = controlsOf(kind);
  if (row == nullptr) {
    out.append(text);
    return;
  }
  if (kind != TerminalKind::utf8) {
    appendWithoutControls(text, *row, out);
    return;
  }
  static std::string converted;  // reused: a record costs no allocation once warm
  converted.clear();
  appendAsUtf8(text, converted);
  appendWithoutControls(converted, *row, out);
}

}  // namespace recio
