// The output statement in progress: begun on a destination with or without a
// format text, given its items (values captured at once), and ended, which
// forms the records and hands each to the destination. Buffers keep their
// capacity between statements, so the steady state does not allocate.
#ifndef DOSMO_RECIO_OUTPUT_STATEMENT_H_
#define DOSMO_RECIO_OUTPUT_STATEMENT_H_

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "recio/format_text.h"
#include "recio/record_sink.h"

namespace recio {

// Columns of values in a list-directed record, after its leading blank.
inline constexpr int kListLineWidth = 79;

// One output statement; begin, items and end, in that order.
class OutputStatement {
 public:
  // Starts a statement on `sink`; a null `format` makes it list-directed.
  // A malformed format ends the run with a report naming the sink's unit.
  void begin(RecordSink& sink, const char* format);

  // Adds a CHARACTER item; the bytes are copied, a negative length counts as 0.
  void writeText(const char* bytes, int length);

  // Adds a REAL item.
  void writeReal(float value);

  // Adds an INTEGER item.
  void writeInteger(std::int32_t value);

  // Forms the records from the captured items and sends them to the sink.
  // A descriptor that does not fit its item ends the run.
  void end();

 private:
  enum class ItemKind : std::uint8_t { text, real, integer };
  struct Item {
    ItemKind kind = ItemKind::text;
    float real = 0.0f;
    std::int32_t integer = 0;
    std::size_t offset = 0;  // text: where its bytes start in textBytes_
    std::size_t length = 0;
  };
  // A group being repeated while the format is taken.
  struct GroupFrame {
    std::size_t open = 0;
    int remaining = 0;
  };

  std::string_view textOf(const Item& item) const;
  void appendBytes(std::string_view bytes);
  char* appendField(int width);
  void endRecord();

  void endList();
  void startListRecord();
  void appendListText(std::string_view text);
  void appendListNumber(std::string_view number);
  void placeListChars(std::string_view chars);

  void endFormatted();
  void writeItem(const Descriptor& descriptor, const Item& item);
  [[noreturn]] void raiseMismatch() const;

  RecordSink* sink_ = nullptr;
  bool open_ = false;  // begun and not yet ended
  bool formatted_ = false;
  FormatText format_;
  std::vector<Item> items_;
  std::string textBytes_;
  std::string record_;
  long pendingBlanks_ = 0;
  int widthLeft_ = kListLineWidth;
  bool lastWasNumber_ = false;
};

}  // namespace recio

#endif  // DOSMO_RECIO_OUTPUT_STATEMENT_H_
