// Scanning of free-form values and their conversion to INTEGER, REAL and text
// items. Values are gathered in a fixed buffer and converted without
// allocation; every fault is returned as the error code that ends the read.
#include "recio/scanner.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <limits>

#include "recio/nearest_double.h"

#include "recio/platform/utf8.h"

namespace recio {
namespace {

constexpr char kCarriageReturn = '\r';
constexpr char kLineFeed = '\n';

bool isLineEnd(char byte) { return byte == kCarriageReturn || byte == kLineFeed; }
bool isBlank(char byte) { return byte == ' ' || byte == '\t'; }
bool isDigit(char byte) { return byte >= '0' && byte <= '9'; }

// How many leading bytes of `input` a plain value simply keeps: every byte up
// to a line end, a blank, a comma, a slash or a repeat mark.
std::size_t plainRunLength(std::string_view input) {
  std::size_t length = 0;
  for (char byte : input) {
    if (isLineEnd(byte) || isBlank(byte) || byte == ',' || byte == '/' || byte == '*') break;
    ++length;
  }
  return length;
}

// The value of a based digit 0-9, a-z or A-Z, or -1 for any other byte.
int digitValue(char byte) {
  if (isDigit(byte)) return byte - '0';
  if (byte >= 'a' && byte <= 'z') return byte - 'a' + 10;
  if (byte >= 'A' && byte <= 'Z') return byte - 'A' + 10;
  return -1;
}

constexpr std::int64_t kIntegerMax = std::numeric_limits<std::int32_t>::max();
constexpr int kSmallestBase = 2;
constexpr int kLargestBase = 36;
constexpr int kDefaultBase = 16;

// The digits of an INTEGER text and the base they are written in.
struct IntegerDigits {
  std::int64_t value = 0;
  int base = 10;
  bool based = false;
  bool anyDigit = false;
};

// Takes one byte of an INTEGER text after its sign.
std::optional<ErrorCode> takeIntegerByte(IntegerDigits& number, char byte) {
  if (byte == '#') {
    if (number.based) return ErrorCode::secondBaseMark;
    std::int64_t base = number.anyDigit ? number.value : kDefaultBase;
    if (base < kSmallestBase || base > kLargestBase) return ErrorCode::baseOutOfRange;
    number = IntegerDigits{0, static_cast<int>(base), true, false};
    return std::nullopt;
  }
  int digit = number.based ? digitValue(byte) : (isDigit(byte) ? byte - '0' : -1);
  if (digit < 0 || digit >= number.base) return ErrorCode::invalidInteger;
  std::int64_t next = number.value * number.base + digit;
  if (next > kIntegerMax) return ErrorCode::integerOverflow;
  number.value = next;
  number.anyDigit = true;
  return std::nullopt;
}

// The significant digits of a REAL text: at most kMaxSignificant kept, the
// next one deciding the rounding, later ones only moving the decimal point.
constexpr int kMaxSignificant = 24;
constexpr long kExponentClamp = 1000000;  // far beyond every limit below
constexpr long kLargestExponent = 5200;
constexpr long kDoubleOverflowExponent = 309;   // 1e309 overflows a double
constexpr long kDoubleUnderflowExponent = -400;  // far below the smallest double
constexpr double kSingleLimit = 3.402823466385289e38;

struct Decimal {
  char digits[kMaxSignificant] = {};
  int kept = 0;
  int dropped = 0;
  bool roundUp = false;
  bool anyDigit = false;
  long scale = 0;  // value = digits * 10^scale

  void take(char byte, bool afterPoint) {
    anyDigit = true;
    if (kept == 0 && byte == '0') {
      if (afterPoint) --scale;
    } else if (kept < kMaxSignificant) {
      digits[kept++] = byte;
      if (afterPoint) --scale;
    } else {
      if (dropped++ == 0) roundUp = byte >= '5';
      if (!afterPoint) ++scale;
    }
  }

  // Rounds the kept digits half up by the first dropped digit.
  void round() {
    if (!roundUp) return;
    for (int i = kept - 1; i >= 0; --i) {
      if (digits[i] != '9') {
        ++digits[i];
        return;
      }
      digits[i] = '0';
    }
    digits[0] = '1';  // all nines: 10^kept
    scale += kept;
    kept = 1;
  }
};

// Reads the digits of an exponent, clamped; false when there is none.
bool takeExponentDigits(std::string_view text, std::size_t& at, long& exponent) {
  bool negative = false;
  if (at < text.size() && (text[at] == '+' || text[at] == '-')) negative = text[at++] == '-';
  std::size_t first = at;
  long value = 0;
  for (; at < text.size() && isDigit(text[at]); ++at) {
    value = std::min(value * 10 + (text[at] - '0'), kExponentClamp);
  }
  exponent = negative ? -value : value;
  return at > first;
}

// Reads the optional exponent after the mantissa; false when it is malformed.
bool takeExponent(std::string_view text, std::size_t& at, long& exponent) {
  exponent = 0;
  if (at == text.size()) return true;
  char byte = text[at];
  if (byte == 'E' || byte == 'e' || byte == 'D' || byte == 'd') {
    ++at;
    return takeExponentDigits(text, at, exponent);
  }
  if (byte == '+' || byte == '-') return takeExponentDigits(text, at, exponent);
  return false;
}

// The nearest double by one exact operation, when both operands are exact:
// at most 15 digits (below 2^53) and a power of ten up to 10^22. One correctly
// rounded multiplication or division then gives the nearest double.
std::optional<double> nearestDoubleDirectly(const Decimal& number, long exponent10) {
  static constexpr double kPowers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                       1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                       1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
  if (number.kept > 15 || exponent10 > 22 || exponent10 < -22) return std::nullopt;
  std::int64_t digits = 0;
  for (int i = 0; i < number.kept; ++i) digits = digits * 10 + (number.digits[i] - '0');
  const auto mantissa = static_cast<double>(digits);
  return exponent10 >= 0 ? mantissa * kPowers[exponent10] : mantissa / kPowers[-exponent10];
}

// The nearest double of digits * 10^exponent10, or nullopt when it overflows.
std::optional<double> nearestDouble(const Decimal& number, long exponent10) {
  if (std::optional<double> direct = nearestDoubleDirectly(number, exponent10)) return direct;
  char text[kScientificCapacity];
  std::memcpy(text, number.digits, static_cast<std::size_t>(number.kept));
  char* end = text + number.kept;
  *end++ = 'e';
  end = std::to_chars(end, text + sizeof text, exponent10).ptr;
  std::optional<double> value =
      nearestDoubleOf(std::string_view(text, static_cast<std::size_t>(end - text)));
  if (!value && number.kept - 1 + exponent10 <= 0) return 0.0;  // below the double range
  return value;
}

}  // namespace

std::string_view ScannedValue::text() const {
  return {bytes.data(), std::min(length, kTextCapacity)};
}

void ValueScanner::startStatement() {
  lastSeparator_ = Separator::comma;
  value_ = ScannedValue{};
  repeatCount_ = 1;
}

void ValueScanner::startValue(TextTarget target) {
  value_.length = 0;
  value_.kind = ValueKind::plain;
  target_ = target;
  phase_ = Phase::before;
  repeatSeen_ = false;
  repeatCount_ = 1;
}

ScanStep ValueScanner::scan(std::string_view& input) {
  while (!input.empty()) {
    if (phase_ == Phase::plain) {
      // The ordinary bytes of a plain value are kept in one copy.
      std::size_t run = plainRunLength(input);
      std::size_t at = value_.length;
      if (at < kTextCapacity) {
        std::memcpy(value_.bytes.data() + at, input.data(), std::min(run, kTextCapacity - at));
      }
      value_.length = at + run;
      input.remove_prefix(run);
      if (input.empty()) break;
    }
    char byte = input.front();
    input.remove_prefix(1);
    ScanStep step = takeByte(byte);
    if (step != ScanStep::needInput) return step;
  }
  return ScanStep::needInput;
}

// Every take function returns needInput to ask for the next byte.
ScanStep ValueScanner::takeByte(char byte) {
  switch (phase_) {
    case Phase::before:
    case Phase::afterRepeat: return takeBeforeValue(byte);
    case Phase::plain: return takePlain(byte);
    case Phase::quoted: return takeQuoted(byte);
    case Phase::quoteClosing:
      if (byte == quote_) {
        phase_ = Phase::quoted;
        append(byte);
        return ScanStep::needInput;
      }
      return takeSeparator(byte);
    case Phase::pair: return takePair(byte);
    case Phase::afterPair: return takeSeparator(byte);
  }
  return ScanStep::needInput;
}

ScanStep ValueScanner::takeBeforeValue(char byte) {
  bool afterRepeat = phase_ == Phase::afterRepeat;
  if (isLineEnd(byte)) {
    if (afterRepeat) return lineEndEndsValue(byte);  // r* at the end of a line: null value
    lineEndByte_ = byte;
    return ScanStep::lineEnd;
  }
  if (isBlank(byte)) {
    if (!afterRepeat) return ScanStep::needInput;
    lastSeparator_ = Separator::blank;
    return ScanStep::value;
  }
  switch (byte) {
    case ',':
      if (!afterRepeat && lastSeparator_ == Separator::blank) {
        lastSeparator_ = Separator::comma;  // blanks and one comma make one separator
        return ScanStep::needInput;
      }
      lastSeparator_ = Separator::comma;
      return ScanStep::value;
    case '/': return ScanStep::lastValue;
    case '\'':
    case '"':
      value_.kind = ValueKind::quoted;
      quote_ = byte;
      phase_ = Phase::quoted;
      return ScanStep::needInput;
    case '(':
      value_.kind = ValueKind::pair;
      phase_ = Phase::pair;
      return ScanStep::needInput;
    case '*': return takeRepeatMark();
    default:
      phase_ = Phase::plain;
      append(byte);
      return ScanStep::needInput;
  }
}

ScanStep ValueScanner::takePlain(char byte) {
  if (isLineEnd(byte)) return lineEndEndsValue(byte);
  if (isBlank(byte)) {
    lastSeparator_ = Separator::blank;
    return ScanStep::value;
  }
  switch (byte) {
    case ',':
      lastSeparator_ = Separator::comma;
      return ScanStep::value;
    case '/': return ScanStep::lastValue;
    case '*': return takeRepeatMark();
    default:
      append(byte);
      return ScanStep::needInput;
  }
}

ScanStep ValueScanner::takeQuoted(char byte) {
  if (byte == quote_) {
    phase_ = Phase::quoteClosing;
  } else if (isLineEnd(byte)) {
    lineEndByte_ = byte;  // the text goes on with the next line, every byte kept
    return ScanStep::lineEnd;
  } else {
    append(byte);
  }
  return ScanStep::needInput;
}

ScanStep ValueScanner::takePair(char byte) {
  if (isLineEnd(byte)) {
    lineEndByte_ = byte;
    return ScanStep::lineEnd;
  }
  if (byte == ')') {
    phase_ = Phase::afterPair;
  } else if (!isBlank(byte)) {
    append(byte);
  }
  return ScanStep::needInput;
}

// The byte after a closing quote or parenthesis separates the value.
ScanStep ValueScanner::takeSeparator(char byte) {
  if (isLineEnd(byte)) return lineEndEndsValue(byte);
  if (byte == '/') return ScanStep::lastValue;
  lastSeparator_ = isBlank(byte) ? Separator::blank : Separator::comma;
  return ScanStep::value;
}

ScanStep ValueScanner::takeRepeatMark() {
  if (repeatSeen_) {
    error_ = ErrorCode::secondRepeatCount;
    return ScanStep::failed;
  }
  std::int32_t count = 0;
  if (value_.isCut()) {
    error_ = ErrorCode::invalidInteger;
    return ScanStep::failed;
  }
  if (auto fault = convertInteger(value_.text(), count)) {
    error_ = *fault;
    return ScanStep::failed;
  }
  if (count == 0) {
    error_ = ErrorCode::zeroRepeatCount;
    return ScanStep::failed;
  }
  repeatSeen_ = true;
  repeatCount_ = count;
  value_.length = 0;
  phase_ = Phase::afterRepeat;
  return ScanStep::needInput;
}

ScanStep ValueScanner::lineEndEndsValue(char byte) {
  lineEndByte_ = byte;
  lastSeparator_ = Separator::blank;
  return ScanStep::lineEndValue;
}

void ValueScanner::append(char byte) {
  std::size_t at = value_.length;
  if (at < kTextCapacity) value_.bytes[at] = byte;
  if (value_.kind == ValueKind::quoted && target_.item != nullptr &&
      at < static_cast<std::size_t>(std::max(target_.length, 0))) {
    target_.item[at] = byte;
  }
  value_.length = at + 1;
}

std::optional<ErrorCode> convertInteger(std::string_view text, std::int32_t& result) {
  if (text == "-2147483648") {
    result = std::numeric_limits<std::int32_t>::min();
    return std::nullopt;
  }
  bool negative = false;
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  IntegerDigits number;
  for (char byte : text) {
    if (auto fault = takeIntegerByte(number, byte)) return fault;
  }
  auto magnitude = static_cast<std::int32_t>(number.value);
  result = negative ? -magnitude : magnitude;
  return std::nullopt;
}

std::optional<ErrorCode> convertReal(std::string_view text, float& result) {
  std::size_t at = 0;
  bool negative = false;
  if (at < text.size() && (text[at] == '+' || text[at] == '-')) negative = text[at++] == '-';
  Decimal number;
  for (; at < text.size() && isDigit(text[at]); ++at) number.take(text[at], false);
  if (at < text.size() && text[at] == '.') {
    for (++at; at < text.size() && isDigit(text[at]); ++at) number.take(text[at], true);
  }
  long exponent = 0;
  if (!number.anyDigit || !takeExponent(text, at, exponent) || at != text.size()) {
    return ErrorCode::invalidReal;
  }
  double magnitude = 0.0;
  if (number.kept > 0) {
    number.round();
    long exponent10 = number.scale + exponent;
    long scientific = number.kept - 1 + exponent10;
    if (scientific > kLargestExponent || scientific >= kDoubleOverflowExponent) {
      return ErrorCode::realOverflow;
    }
    if (scientific >= kDoubleUnderflowExponent) {
      std::optional<double> nearest = nearestDouble(number, exponent10);
      if (!nearest) return ErrorCode::realOverflow;
      magnitude = *nearest;
    }
  }
  if (magnitude > kSingleLimit) return ErrorCode::realOutOfRange;
  auto single = static_cast<float>(magnitude);
  result = negative ? -single : single;
  return std::nullopt;
}

std::optional<ErrorCode> storeInteger(const ScannedValue& value, std::int32_t& item) {
  if (value.isNull()) return std::nullopt;
  if (value.kind != ValueKind::plain) return ErrorCode::wrongKindOfValue;
  if (value.isCut()) return ErrorCode::invalidInteger;
  return convertInteger(value.text(), item);
}

std::optional<ErrorCode> storeReal(const ScannedValue& value, float& item) {
  if (value.isNull()) return std::nullopt;
  if (value.kind != ValueKind::plain) return ErrorCode::wrongKindOfValue;
  if (value.isCut()) return ErrorCode::invalidReal;
  return convertReal(value.text(), item);
}

void storeText(const ScannedValue& value, char* item, int length, bool quotedInPlace) {
  if (value.isNull() || length <= 0) return;
  auto size = static_cast<std::size_t>(length);
  std::size_t filled = 0;
  if (quotedInPlace && value.kind == ValueKind::quoted) {
    filled = std::min(value.length, size);
  } else {
    std::string_view text = value.text();
    filled = std::min(text.size(), size);
    std::memcpy(item, text.data(), filled);
  }
  // A cut never keeps the first bytes of a character the user typed in UTF-8.
  if (value.length > size) filled = cutBeforeSplitSequence(value.text(), filled);
  std::fill(item + filled, item + size, ' ');
}

}  // namespace recio
