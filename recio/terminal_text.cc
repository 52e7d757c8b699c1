// Control characters in text for a terminal: the bytes below the blank and
// DEL, which start escape sequences, ring the bell or move the cursor there.
#include "recio/terminal_text.h"

namespace recio {
namespace {

constexpr unsigned char kFirstShown = 0x20;  // the blank
constexpr unsigned char kDelete = 0x7F;

bool isControl(char byte) {
  auto value = static_cast<unsigned char>(byte);
  return value < kFirstShown || value == kDelete;
}

}  // namespace

void showControlsAsQuestionMarks(std::string& text, std::size_t from) {
  for (std::size_t at = from; at < text.size(); ++at) {
    if (isControl(text[at])) text[at] = '?';
  }
}

}  // namespace recio
