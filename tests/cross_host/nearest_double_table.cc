// Prints, for many REAL answers drawn from a fixed seed, the nearest double of
// the exact route, the stored REAL (or the error) and its widest F field, one
// answer a line, so that builds for two hosts can be compared byte for byte:
// every host must convert and show each answer the same way. Usage: nearest_double_table [count]
#include <charconv>
#include <cinttypes>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>

#include "recio/errors.h"
#include "recio/field.h"
#include "recio/nearest_double.h"
#include "recio/scanner.h"

namespace {

constexpr int kSignificant = 24;  // the most digits the scanner hands on
// A field wide enough for every REAL, with more decimals than the short route
// of the renderer takes, so each is rendered from its 17 decimal digits.
constexpr int kFieldWidth = 90;
constexpr int kFieldDecimals = 45;

// A number in [0, bound) from the generator alone, the same on every host.
std::uint64_t below(std::mt19937_64& generator, std::uint64_t bound) { return generator() % bound; }

// Up to 24 random digits, the first not zero, and an exponent that puts the
// number, half of the time, anywhere from below the double range to beyond
// it, and otherwise within the range of a REAL.
std::string randomDigits(std::mt19937_64& generator) {
  int count = 1 + static_cast<int>(below(generator, kSignificant));
  std::string digits(1, static_cast<char>('1' + below(generator, 9)));
  while (static_cast<int>(digits.size()) < count) digits += static_cast<char>('0' + below(generator, 10));
  bool anywhere = below(generator, 2) == 0;
  long scientific = anywhere ? static_cast<long>(below(generator, 660)) - 340
                             : static_cast<long>(below(generator, 86)) - 46;
  return digits + "e" + std::to_string(scientific - (count - 1));
}

// The 24 significant digits of `value` and the exponent of the last one.
struct Digits {
  char text[kSignificant + 1] = {};
  long exponent = 0;
};

Digits digitsOf(double value) {
  char text[64];
  char* end = std::to_chars(text, text + sizeof text, value, std::chars_format::scientific,
                            kSignificant - 1).ptr;
  *end = '\0';
  Digits digits;
  digits.text[0] = text[0];
  std::memcpy(digits.text + 1, text + 2, kSignificant - 1);
  digits.exponent = std::strtol(std::strchr(text, 'e') + 1, nullptr, 10) - (kSignificant - 1);
  return digits;
}

// A text within a few units of the 25th digit of the halfway point between a
// random double and the next one up: the hardest answers to round.
std::string nearHalfway(std::mt19937_64& generator) {
  double low = 0;
  do {
    std::uint64_t bits = generator() & 0x7FEFFFFFFFFFFFFFu;
    std::memcpy(&low, &bits, sizeof low);
  } while (!(low > 0));
  Digits a = digitsOf(low);
  Digits b = digitsOf(std::nextafter(low, INFINITY));
  if (a.exponent != b.exponent) return std::string(a.text) + "e" + std::to_string(a.exponent);
  // (a + b) / 2: the sum from the right, then halved from the left.
  int sum[kSignificant + 1] = {};
  for (int i = kSignificant - 1, carry = 0; i >= 0; --i) {
    int digit = (a.text[i] - '0') + (b.text[i] - '0') + carry;
    sum[i + 1] = digit % 10;
    carry = digit / 10;
    sum[0] = carry;
  }
  char half[kSignificant + 3] = {};  // one digit more, for the half
  int rest = 0;
  for (int i = 0; i <= kSignificant; ++i) {
    int value = rest * 10 + sum[i];
    half[i] = static_cast<char>('0' + value / 2);
    rest = value % 2;
  }
  half[kSignificant + 1] = static_cast<char>('0' + rest * 5);
  int nudge = static_cast<int>(below(generator, 5)) - 2;
  for (int i = kSignificant + 1; i >= 0 && nudge != 0; --i) {
    int digit = half[i] - '0' + nudge;
    nudge = digit < 0 ? -1 : digit > 9 ? 1 : 0;
    half[i] = static_cast<char>('0' + (digit + 10) % 10);
  }
  const char* first = half;
  while (*first == '0' && first[1] != '\0') ++first;
  return std::string(first) + "e" + std::to_string(a.exponent - 1);
}

void printRow(const std::string& text) {
  std::optional<double> nearest = recio::nearestDoubleOf(text);
  std::uint64_t doubleBits = 0;
  if (nearest) std::memcpy(&doubleBits, &*nearest, sizeof doubleBits);
  float stored = 0;
  std::optional<recio::ErrorCode> fault = recio::convertReal(text, stored);
  std::uint32_t singleBits = 0;
  std::memcpy(&singleBits, &stored, sizeof singleBits);
  std::string real = fault ? recio::errorNumberText(*fault) : std::to_string(singleBits);
  char field[kFieldWidth + 1] = {};
  recio::renderFixed(stored, kFieldWidth, kFieldDecimals, field);
  std::printf("%s %s %s %s\n", text.c_str(),
              nearest ? std::to_string(doubleBits).c_str() : "none", real.c_str(), field);
}

}  // namespace

int main(int argc, char** argv) {
  long count = argc > 1 ? std::strtol(argv[1], nullptr, 10) : 100000;
  std::mt19937_64 generator(20261207);
  for (long i = 0; i < count; ++i) printRow(i % 2 == 0 ? randomDigits(generator) : nearHalfway(generator));
  return 0;
}
