// Fw.d and Iw fields. A REAL is first reduced to at most 17 significant
// decimal digits, then rounded half away from zero to the digits the field
// shows (never more than 7 significant ones), then measured, padded and written.
#include "recio/field.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>

namespace recio {
namespace {

constexpr int kGeneratedDigits = 18;  // digits produced from the binary value
constexpr int kKeptDigits = 17;       // digits kept after rounding the 18th
constexpr int kShownDigits = 7;       // significant digits a field ever shows

// A magnitude written as 0.d1d2...dn x 10^exponent; no digits means zero.
struct DecimalDigits {
  std::array<char, kGeneratedDigits> digit{};  // values 0..9, d1 first
  int count = 0;
  int exponent = 0;
  bool negative = false;

  bool isZero() const { return count == 0; }
  // The digit at 0-based place `place` (0 is d1); 0 past the held digits.
  char digitAt(int place) const { return place < count ? digit[place] : 0; }
};

void dropTrailingZeros(DecimalDigits& number) {
  while (number.count > 0 && number.digit[number.count - 1] == 0) --number.count;
}

// Keeps the first `keep` digits; a next digit of 5 or more rounds them up by
// magnitude, and a carry out of d1 becomes a new leading 1.
void roundToDigits(DecimalDigits& number, int keep) {
  if (keep >= number.count) return;
  bool up = number.digit[keep] >= 5;
  number.count = keep;
  for (int place = keep - 1; up && place >= 0; --place) {
    up = ++number.digit[place] == 10;
    if (up) number.digit[place] = 0;
  }
  if (up) {
    number.digit[0] = 1;
    number.count = 1;
    ++number.exponent;
  }
  dropTrailingZeros(number);
}

// The value taken exactly as a double, to 18 significant digits, with the
// 18th rounding the 17th half up and trailing zeros dropped.
DecimalDigits decompose(float value) {
  DecimalDigits number;
  number.negative = std::signbit(value);
  if (value == 0.0f) return number;
  // Scientific form "d.ddddddddddddddddde+XX": 18 digits and the exponent,
  // correctly rounded by the C library (its formatting tables are far smaller
  // than those of the C++ library's to_chars with a precision, the same digits).
  char text[40];
  const int length = std::snprintf(text, sizeof text, "%.*e", kGeneratedDigits - 1,
                                   std::fabs(static_cast<double>(value)));
  const char* end = text + length;
  const char* at = text;
  for (int place = 0; place < kGeneratedDigits; ++place) {
    if (place == 1) ++at;  // the decimal point, whichever character the locale gives it
    number.digit[place] = static_cast<char>(*at++ - '0');
  }
  int exponent = 0;
  std::from_chars(at + 1 + (at[1] == '+'), end, exponent);
  number.exponent = exponent + 1;
  number.count = kGeneratedDigits;
  roundToDigits(number, kKeptDigits);
  return number;
}

void fillAsterisks(int width, char* field) { std::memset(field, '*', static_cast<std::size_t>(width)); }

// The field's text from the shown digits, counted in units of the last
// decimal place: "-", the whole part without leading zeros, ".", the decimals.
// Returns false when the text is wider than the field.
bool writeScaled(bool negative, std::uint32_t scaled, int width, int decimals, char* field) {
  std::array<char, 12> digits{};  // least significant first
  int count = 0;
  for (std::uint32_t rest = scaled; rest != 0; rest /= 10) digits[count++] = static_cast<char>('0' + rest % 10);
  const int before = std::max(count - decimals, 0);
  const bool minus = negative && scaled != 0;
  const bool loneZero = before == 0 && decimals == 0;
  const int length = (minus ? 1 : 0) + before + (loneZero ? 1 : 0) + 1 + decimals;
  if (length > width) return false;
  char* out = field;
  for (int pad = width - length; pad > 0; --pad) *out++ = ' ';
  if (minus) *out++ = '-';
  for (int place = count - 1; place >= decimals; --place) *out++ = digits[place];
  if (loneZero) *out++ = '0';
  *out++ = '.';
  for (int place = decimals - 1; place >= 0; --place) *out++ = place < count ? digits[place] : '0';
  return true;
}

// The common case without the decimal expansion: for 2^-10 <= |value| <
// 10^(7-d) and d <= 7 the product |value| x 10^d is exact in a double and
// shows at most 7 significant digits, so rounding it half away from zero
// gives the digits the 17-digit route gives (its fraction, a multiple of
// 2^-33, never lies within 10^-10 of a half without being one).
bool renderFixedExactly(float value, int width, int decimals, char* field) {
  static constexpr double kPowers[] = {1, 10, 100, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8};
  if (decimals > kShownDigits) return false;
  const double magnitude = std::fabs(static_cast<double>(value));
  if (!(magnitude >= 0x1p-10 && magnitude < kPowers[kShownDigits - decimals])) return false;
  const double scaled = magnitude * kPowers[decimals];
  double whole = std::floor(scaled);
  if (scaled - whole >= 0.5) whole += 1;
  if (!writeScaled(std::signbit(value), static_cast<std::uint32_t>(whole), width, decimals, field)) {
    fillAsterisks(width, field);
  }
  return true;
}

}  // namespace

// Worked example, -9.996 in F6.2: the digits are 99960002899169922 with
// exponent 1 (-0.99960002899169922 x 10^1); 1 digit before the point and 2
// after make 3 wanted, so 999 rounds up on the 6 to 1 with exponent 2. The
// text is "-", "10", ".", "00": 6 characters, no padding, "-10.00". In F5.2
// the same 6 characters do not fit and the field is "*****".
void renderFixed(float value, int width, int decimals, char* field) {
  if (!std::isfinite(value)) return fillAsterisks(width, field);
  if (renderFixedExactly(value, width, decimals, field)) return;
  DecimalDigits number = decompose(value);
  if (!number.isZero()) {
    const int wanted = number.exponent + decimals;
    if (wanted < 0) {
      number.count = 0;  // below half of the last place shown: a zero
    } else {
      roundToDigits(number, std::min(wanted, kShownDigits));
    }
  }
  const bool zero = number.isZero();
  const bool minus = number.negative && !zero;
  const int before = zero ? 0 : std::max(number.exponent, 0);
  const bool loneZero = before == 0 && decimals == 0;

  // Measure.
  const long length = (minus ? 1L : 0L) + before + (loneZero ? 1 : 0) + 1 + decimals;
  if (length > width) return fillAsterisks(width, field);

  // Pad, then write.
  char* out = field;
  for (long pad = width - length; pad > 0; --pad) *out++ = ' ';
  if (minus) *out++ = '-';
  for (int place = 0; place < before; ++place) *out++ = static_cast<char>('0' + number.digitAt(place));
  if (loneZero) *out++ = '0';
  *out++ = '.';
  for (int after = 0; after < decimals; ++after) {
    const int place = number.exponent + after;
    *out++ = static_cast<char>('0' + (zero || place < 0 ? 0 : number.digitAt(place)));
  }
}

void renderInteger(std::int32_t value, int width, char* field) {
  const bool minus = value < 0;
  std::uint32_t magnitude = minus ? 0u - static_cast<std::uint32_t>(value) : static_cast<std::uint32_t>(value);
  std::array<char, 10> digits{};
  int count = 0;
  do {
    digits[count++] = static_cast<char>('0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude != 0);

  const int length = count + (minus ? 1 : 0);
  if (length > width) return fillAsterisks(width, field);
  char* out = field;
  for (int pad = width - length; pad > 0; --pad) *out++ = ' ';
  if (minus) *out++ = '-';
  while (count > 0) *out++ = digits[--count];
}

}  // namespace recio
