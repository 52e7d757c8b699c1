// Free-form values: the scanner takes bytes from the front of a byte view and
// gathers one value at a time (plain, quoted or parenthesised, with an
// optional repeat count), telling its caller when it needs more input or met a
// line end; the conversions turn a gathered value into an item or an error.
#ifndef DOSMO_RECIO_SCANNER_H_
#define DOSMO_RECIO_SCANNER_H_

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

#include "recio/errors.h"

namespace recio {

// The most bytes of one text the run-time keeps: a value read from the
// console (longer values are marked cut) or a file name typed at the prompt.
inline constexpr std::size_t kTextCapacity = 260;

// How a value was written: as it stands, between quotes, or between parentheses.
enum class ValueKind { plain, quoted, pair };

// One gathered value: its first kTextCapacity bytes and its full length.
struct ScannedValue {
  std::array<char, kTextCapacity> bytes{};
  std::size_t length = 0;  // every byte of the value, kept or not
  ValueKind kind = ValueKind::plain;

  // True when the value holds no character and is plain: the item keeps its value.
  bool isNull() const { return kind == ValueKind::plain && length == 0; }
  // True when the value was longer than the bytes kept.
  bool isCut() const { return length > kTextCapacity; }
  // The bytes kept.
  std::string_view text() const;
};

// What a call of `ValueScanner::scan` ended with.
enum class ScanStep {
  needInput,     // the view is used up and the value is not complete
  lineEnd,       // a line end was taken inside or before the value: finish the line
  lineEndValue,  // a line end was taken and ended the value: finish the line
  value,         // the value is complete and its separator was taken
  lastValue,     // a slash ended the value and the whole statement
  failed,        // a repeat count was invalid; see `error()`
};

// Where the quoted text of a text item is written as it is scanned.
struct TextTarget {
  char* item = nullptr;
  int length = 0;
};

// Gathers the values of one statement, one after another.
class ValueScanner {
 public:
  // Starts a statement: the last separator counts as a comma.
  void startStatement();
  // Starts a value; quoted text also goes straight into `target`, if any.
  void startValue(TextTarget target = {});
  // Takes bytes from the front of `input` until the value is complete, a line
  // end is met or the view is used up.
  ScanStep scan(std::string_view& input);

  // The value gathered.
  const ScannedValue& value() const { return value_; }
  // The repeat count written before the value, or 1 without one.
  std::int32_t repeatCount() const { return repeatCount_; }
  // The line-end byte (CR or LF) of the last lineEnd or lineEndValue step.
  char lineEndByte() const { return lineEndByte_; }
  // The error of the last failed step.
  ErrorCode error() const { return error_; }

 private:
  enum class Phase { before, afterRepeat, plain, quoted, quoteClosing, pair, afterPair };
  enum class Separator { comma, blank };

  ScanStep takeByte(char byte);
  ScanStep takeBeforeValue(char byte);
  ScanStep takePlain(char byte);
  ScanStep takeQuoted(char byte);
  ScanStep takePair(char byte);
  ScanStep takeSeparator(char byte);
  ScanStep takeRepeatMark();
  ScanStep lineEndEndsValue(char byte);
  void append(char byte);

  ScannedValue value_;
  TextTarget target_;
  Phase phase_ = Phase::before;
  Separator lastSeparator_ = Separator::comma;
  char quote_ = '\'';
  bool repeatSeen_ = false;
  std::int32_t repeatCount_ = 1;
  char lineEndByte_ = '\n';
  ErrorCode error_ = ErrorCode::zeroRepeatCount;
};

// Converts an INTEGER text (decimal, or based with "#"); nullopt when valid.
std::optional<ErrorCode> convertInteger(std::string_view text, std::int32_t& result);

// Converts a REAL text to the nearest single-precision value; nullopt when valid.
std::optional<ErrorCode> convertReal(std::string_view text, float& result);

// Stores a value into an INTEGER item; a null value leaves the item unchanged.
std::optional<ErrorCode> storeInteger(const ScannedValue& value, std::int32_t& item);

// Stores a value into a REAL item; a null value leaves the item unchanged.
std::optional<ErrorCode> storeReal(const ScannedValue& value, float& item);

// Stores a value into a text item of `length` bytes, cut or blank-padded (a
// cut that would split a UTF-8 character blanks its first bytes too); a
// null value leaves it unchanged. `quotedInPlace`: the scanner already wrote
// this quoted value into the item, which only needs its padding.
void storeText(const ScannedValue& value, char* item, int length, bool quotedInPlace = false);

}  // namespace recio

#endif  // DOSMO_RECIO_SCANNER_H_
