// Compiling a format text: commas separate descriptors, a slash needs none on
// either side; counts are nX and repeat counts before F, I, A, a slash or a
// group. Anything else (a stray comma, an unknown letter, a missing width, a
// zero count, an open literal or parenthesis) makes the format malformed.
#include "recio/format_text.h"

namespace recio {
namespace {

// Reads a format text character by character, skipping blanks and tabs
// except inside literals; a zero byte is the end of the text.
class Cursor {
 public:
  explicit Cursor(const char* text) : at_(text) {}

  // The next significant character, 0 at the end of the text.
  char peek() {
    while (*at_ == ' ' || *at_ == '\t') ++at_;
    return *at_;
  }
  // The next significant character, in upper case, consumed.
  char take() {
    char c = peek();
    if (c != 0) ++at_;
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
  }
  // The next byte as it stands (inside a literal), consumed; 0 at the end.
  char takeRaw() { return *at_ == 0 ? 0 : *at_++; }
  // The next byte as it stands, not consumed.
  char peekRaw() const { return *at_; }

 private:
  const char* at_;
};

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// An unsigned number, or -1 when none is there or it is too large.
int takeNumber(Cursor& cursor) {
  if (!isDigit(cursor.peek())) return -1;
  int value = 0;
  while (isDigit(cursor.peek())) {
    value = value * 10 + (cursor.take() - '0');
    if (value > kMaxFormatNumber) return -1;
  }
  return value;
}

// Fills the descriptor list of one format text.
class Compiler {
 public:
  Compiler(const char* text, std::vector<Descriptor>& out, std::string& literals,
           std::size_t& reversion)
      : cursor_(text), out_(out), literals_(literals), reversion_(reversion) {}

  bool run() {
    if (cursor_.take() != '(') return false;
    for (;;) {
      switch (cursor_.peek()) {
        case 0:
          return false;
        case ',':
          if (!commaAllowed_) return false;
          cursor_.take();
          expect(true, false, false);
          break;
        case ')':
          if (!closeAllowed_) return false;
          cursor_.take();
          if (depth_ == 0) {
            push({DescriptorKind::formatEnd});
            return true;
          }
          --depth_;
          push({DescriptorKind::groupClose});
          expect(false, true, true);
          break;
        case '/':
          cursor_.take();
          push({DescriptorKind::slash});
          expect(true, true, true);
          break;
        default:
          if (!startAllowed_ || !item()) return false;
      }
    }
  }

 private:
  // What may come next: a new item, a comma, a closing parenthesis.
  void expect(bool start, bool comma, bool close) {
    startAllowed_ = start;
    commaAllowed_ = comma;
    closeAllowed_ = close;
  }

  void push(Descriptor descriptor) { out_.push_back(descriptor); }

  // One item, with its optional count in front.
  bool item() {
    const char first = cursor_.peek();
    if (first == '\'' || first == '"') return literal();
    const bool counted = isDigit(first);
    const int count = counted ? takeNumber(cursor_) : 1;
    if (count < 1) return false;
    if (cursor_.peek() == '(') return group(count);
    if (cursor_.peek() == '/') {
      cursor_.take();
      push({DescriptorKind::slash, count});
      expect(true, true, true);
      return true;
    }
    if (!edit(cursor_.take(), count)) return false;
    expect(false, true, true);
    return true;
  }

  // The edit descriptor that starts with `letter` (upper case).
  bool edit(char letter, int count) {
    Descriptor d{DescriptorKind::blanks, count};
    switch (letter) {
      case 'X':
        break;
      case 'F':
        d.kind = DescriptorKind::fixed;
        d.width = takeNumber(cursor_);
        if (cursor_.take() != '.') return false;
        d.decimals = takeNumber(cursor_);
        if (d.width < 1 || d.decimals < 0) return false;
        break;
      case 'I':
        d.kind = DescriptorKind::integer;
        d.width = takeNumber(cursor_);
        if (d.width < 1) return false;
        break;
      case 'A':
        d.kind = DescriptorKind::text;
        if (isDigit(cursor_.peek()) && (d.width = takeNumber(cursor_)) < 1) return false;
        break;
      default:
        return false;
    }
    push(d);
    return true;
  }

  bool group(int count) {
    if (depth_ == kMaxGroupDepth) return false;
    cursor_.take();
    if (depth_ == 0) reversion_ = out_.size();
    ++depth_;
    push({DescriptorKind::groupOpen, count});
    expect(true, false, true);
    return true;
  }

  // A literal in either quote; the delimiter written twice stands for one.
  bool literal() {
    const char delimiter = cursor_.take();
    Descriptor d{DescriptorKind::literal};
    d.textOffset = literals_.size();
    for (;;) {
      const char c = cursor_.takeRaw();
      if (c == 0) return false;
      if (c == delimiter) {
        if (cursor_.peekRaw() != delimiter) break;
        cursor_.takeRaw();
      }
      literals_.push_back(c);
    }
    d.textLength = literals_.size() - d.textOffset;
    push(d);
    expect(false, true, true);
    return true;
  }

  Cursor cursor_;
  std::vector<Descriptor>& out_;
  std::string& literals_;
  std::size_t& reversion_;
  int depth_ = 0;  // groups open inside the format's own parentheses
  bool startAllowed_ = true;
  bool commaAllowed_ = false;
  bool closeAllowed_ = true;
};

}  // namespace

bool FormatText::compile(const char* text) {
  descriptors_.clear();
  literals_.clear();
  reversion_ = 0;
  return Compiler(text, descriptors_, literals_, reversion_).run();
}

std::string_view FormatText::literal(const Descriptor& descriptor) const {
  return std::string_view(literals_).substr(descriptor.textOffset, descriptor.textLength);
}

}  // namespace recio
