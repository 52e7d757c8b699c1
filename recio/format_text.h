// Format texts: the parenthesised descriptor lists that drive a formatted
// output statement. A text is compiled into a flat list of descriptors once
// per statement; the compiler reads nothing past the parenthesis that closes
// the first one, nor past a zero byte, and keeps its storage between uses.
#ifndef DOSMO_RECIO_FORMAT_TEXT_H_
#define DOSMO_RECIO_FORMAT_TEXT_H_

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace recio {

// The deepest nesting of parenthesised groups inside a format's own parentheses.
inline constexpr int kMaxGroupDepth = 16;

// The largest number a format accepts as a count, width or digit count.
inline constexpr int kMaxFormatNumber = 32767;

// What one compiled descriptor does.
enum class DescriptorKind : std::uint8_t {
  blanks,      // nX: `repeat` pending blanks
  literal,     // 'text' or "text": the bytes `literal()` gives
  slash,       // /: ends the record, `repeat` times
  fixed,       // Fw.d for REAL items
  integer,     // Iw for INTEGER items
  text,        // A or Aw for CHARACTER items (width 0: the item's own length)
  groupOpen,   // start of a group repeated `repeat` times
  groupClose,  // end of the innermost open group
  formatEnd,   // the format's closing parenthesis
};

// One descriptor: a small value filled once by the compiler.
struct Descriptor {
  DescriptorKind kind = DescriptorKind::formatEnd;
  int repeat = 1;
  int width = 0;
  int decimals = 0;
  std::size_t textOffset = 0;  // literal: start of its bytes in the literal store
  std::size_t textLength = 0;  // literal: its length, doubled delimiters made single
};

// A compiled format text.
class FormatText {
 public:
  // Compiles the format starting at `text`; false when it is malformed.
  bool compile(const char* text);

  // The descriptors in order; the last one is always `formatEnd`.
  const std::vector<Descriptor>& descriptors() const { return descriptors_; }

  // The bytes a literal descriptor writes.
  std::string_view literal(const Descriptor& descriptor) const;

  // Where the format restarts when items remain at its end: the last
  // top-level group's `groupOpen`, or 0 when there is no such group.
  std::size_t reversionIndex() const { return reversion_; }

 private:
  std::vector<Descriptor> descriptors_;
  std::string literals_;
  std::size_t reversion_ = 0;
};

}  // namespace recio

#endif  // DOSMO_RECIO_FORMAT_TEXT_H_
