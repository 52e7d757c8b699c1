// Value scanning and conversion: how separators, quotes, pairs and repeat
// counts split a line into values, and the INTEGER, REAL and text conversions
// with their limits and error numbers. The storing of values into items is
// checked end to end with the console reads.
#include "recio/scanner.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace {

using recio::ScanStep;
using recio::ScannedValue;
using recio::ValueKind;
using recio::ValueScanner;

std::string describe(const ValueScanner& scanner) {
  const ScannedValue& value = scanner.value();
  std::string text;
  if (scanner.repeatCount() != 1) text += std::to_string(scanner.repeatCount()) + "*";
  if (value.isNull()) return text + "~";
  std::string body(value.text());
  switch (value.kind) {
    case ValueKind::plain: return text + body;
    case ValueKind::quoted: return text + "'" + body + "'";
    case ValueKind::pair: return text + "(" + body + ")";
  }
  return text;
}

// Scans all of `input` and writes a trace: each value, then " " after a
// separator, "|" after a line end, "/" at a slash, "." when input ran out
// and "!" with the error number when it failed.
std::string trace(std::string_view input) {
  ValueScanner scanner;
  scanner.startStatement();
  scanner.startValue();
  std::string out;
  for (;;) {
    switch (scanner.scan(input)) {
      case ScanStep::needInput: return out + ".";
      case ScanStep::lineEnd: out += "|"; break;
      case ScanStep::lineEndValue:
        out += describe(scanner) + "|";
        scanner.startValue();
        break;
      case ScanStep::value:
        out += describe(scanner) + " ";
        scanner.startValue();
        break;
      case ScanStep::lastValue: return out + describe(scanner) + "/";
      case ScanStep::failed: return out + "!" + recio::errorNumberText(scanner.error());
    }
  }
}

TEST(ValueScanner, SplitsLinesIntoValues) {
  const std::pair<const char*, const char*> rows[] = {
      {"5.5\n", "5.5|."},
      {"5,5\n", "5 5|."},
      {"30 40\n", "30 40|."},
      {"5\t6\n", "5 6|."},
      {"\n  \n\t7\n", "||7|."},
      {",\n", "~ |."},
      {"/\n", "~/"},
      {"1 /", "1 ~/"},
      {"12/34", "12/"},
      {"1 , 2\n", "1 2|."},
      {"1,,2\n", "1 ~ 2|."},
      {"1, ,2\n", "1 ~ 2|."},
      {"1 ,, 2\n", "1 ~ 2|."},
      {"3*2.5\n", "3*2.5|."},
      {"3* 4\n", "3*~ 4|."},
      {"3*,4\n", "3*~ 4|."},
      {"3*\n", "3*~|."},
      {"2*'ab'\n", "2*'ab'|."},
      {"'abc'\n", "'abc'|."},
      {"\"a'b\" 1\n", "'a'b' 1|."},
      {"'it''s'\n", "'it's'|."},
      {"'a, b /c'/", "'a, b /c'/"},
      {"'ab'x 5\n", "'ab' 5|."},
      {"''\n", "''|."},
      {"'ab\ncd'\n", "|'abcd'|."},
      {"a'b(c)\n", "a'b(c)|."},
      {"(1, 2)\n", "(1,2)|."},
      {"(a b\n c) 4\n", "|(abc) 4|."},
      {"\r\n5\r\n", "||5||."},
      {"relatorio_final.txt\n", "relatorio_final.txt|."},
      {"0*5", "!F6502"},
      {"*5", "!F6502"},
      {"3*4*5", "!F6503"},
      {"3**", "!F6503"},
      {"x*5", "!F6101"},
      {"2147483648*1", "!F6100"},
      {"16#1#1*1", "!F6302"},
      {"37#1*1", "!F6303"},
  };
  for (const auto& [input, expected] : rows) {
    EXPECT_EQ(trace(input), expected) << "input [" << input << "]";
  }
}

struct IntegerRow {
  const char* text;
  std::int32_t value;
  const char* error;  // "" when the text converts
};

TEST(IntegerConversion, ValuesLimitsAndErrors) {
  const IntegerRow rows[] = {
      {"12", 12, ""}, {"+7", 7, ""}, {"-7", -7, ""}, {"0", 0, ""}, {"-", 0, ""}, {"+", 0, ""},
      {"2147483647", 2147483647, ""}, {"-2147483647", -2147483647, ""},
      {"-2147483648", std::numeric_limits<std::int32_t>::min(), ""},
      {"2147483648", 0, "F6100"}, {"+2147483648", 0, "F6100"}, {"-2147483649", 0, "F6100"},
      {"-02147483648", 0, "F6100"}, {"99999999999", 0, "F6100"},
      {"16#ff", 255, ""}, {"16#FF", 255, ""}, {"#ff", 255, ""}, {"#", 0, ""}, {"-16#ff", -255, ""},
      {"+#10", 16, ""}, {"2#101", 5, ""}, {"36#Zz", 1295, ""}, {"10#99", 99, ""},
      {"16#7fffffff", 2147483647, ""}, {"16#80000000", 0, "F6100"}, {"2#", 0, ""},
      {"2#102", 0, "F6101"}, {"8#8", 0, "F6101"}, {"16#g", 0, "F6101"}, {"16#-1", 0, "F6101"},
      {"37#1", 0, "F6303"}, {"1#1", 0, "F6303"}, {"0#1", 0, "F6303"}, {"99999999999#1", 0, "F6100"},
      {"16#1#2", 0, "F6302"}, {"#1#", 0, "F6302"},
      {"2.", 0, "F6101"}, {"1.5", 0, "F6101"}, {"1e3", 0, "F6101"}, {"a", 0, "F6101"},
      {"+-5", 0, "F6101"}, {"5-", 0, "F6101"}, {"1 2", 0, "F6101"},
  };
  for (const IntegerRow& row : rows) {
    std::int32_t item = 4242;
    auto fault = recio::convertInteger(row.text, item);
    std::string error = fault ? recio::errorNumberText(*fault) : "";
    EXPECT_EQ(error, row.error) << "text [" << row.text << "]";
    EXPECT_EQ(item, fault ? 4242 : row.value) << "text [" << row.text << "]";
  }
}

struct RealRow {
  const char* text;
  float value;
  const char* error;  // "" when the text converts
};

TEST(RealConversion, ValuesLimitsAndErrors) {
  const RealRow rows[] = {
      {"5.5", 5.5f, ""}, {"5", 5.0f, ""}, {"5.", 5.0f, ""}, {".5", 0.5f, ""}, {"-2.25", -2.25f, ""},
      {"+3", 3.0f, ""}, {"0", 0.0f, ""}, {"1.5E2", 150.0f, ""}, {"1.5e2", 150.0f, ""},
      {"1.5D2", 150.0f, ""}, {"1.5d+2", 150.0f, ""}, {"1.5-3", 0.0015f, ""}, {"2+3", 2000.0f, ""},
      {"1E-2", 0.01f, ""}, {"25", 25.0f, ""}, {"0.45", 0.45f, ""},
      {"3.4028234e38", std::numeric_limits<float>::max(), ""},
      {"-3.4028234e38", -std::numeric_limits<float>::max(), ""},
      {"3.402823466385289e38", std::numeric_limits<float>::max(), ""},
      {"1e-50", 0.0f, ""}, {"1e-5300", 0.0f, ""}, {"0e99999", 0.0f, ""},
      {"1e-40", 1e-40f, ""}, {"1.4e-45", std::numeric_limits<float>::denorm_min(), ""},
      {"0.0000000000000000000000000001", 1e-28f, ""},
      // Either side of the one-operation route: 15 digits with a power up to
      // 10^22, and one digit or one power more.
      {"123456789012345e22", 1.23456789012345e36f, ""}, {"123456789012345e-22", 1.23456789012345e-8f, ""},
      {"1234567890123456e22", 1.234567890123456e37f, ""}, {"123456789012345e-23", 1.23456789012345e-9f, ""},
      {"0.1000000000000000055511151231257827", 0.1f, ""},
      {"1.0000000000000000000000000000009", 1.0f, ""},
      {"300000000000000000000000000000000000000", 3e38f, ""},
      {"999999999999999999999999.9", 1e24f, ""},
      {"123456789012345678901234567890", 1.2345679e29f, ""},
      {"3.5e38", 0, "F6104"}, {"-3.5e38", 0, "F6104"}, {"1e308", 0, "F6104"},
      {"1e400", 0, "F6102"}, {"1e309", 0, "F6102"}, {"1e5201", 0, "F6102"},
      {"-1e99999999999", 0, "F6102"}, {"1e-99999999999", 0.0f, ""},
      {".", 0, "F6103"}, {"1e", 0, "F6103"}, {"1e+", 0, "F6103"}, {"1.5.", 0, "F6103"},
      {"abc", 0, "F6103"}, {"+", 0, "F6103"}, {"-", 0, "F6103"}, {"e5", 0, "F6103"},
      {".e5", 0, "F6103"}, {"1,5", 0, "F6103"}, {"1.5E2.5", 0, "F6103"}, {"1x", 0, "F6103"},
      {"16#ff", 0, "F6103"}, {"1e5-", 0, "F6103"}, {"0x10", 0, "F6103"}, {"inf", 0, "F6103"},
  };
  for (const RealRow& row : rows) {
    float item = -7.0f;
    auto fault = recio::convertReal(row.text, item);
    std::string error = fault ? recio::errorNumberText(*fault) : "";
    EXPECT_EQ(error, row.error) << "text [" << row.text << "]";
    EXPECT_EQ(item, fault ? -7.0f : row.value) << "text [" << row.text << "]";
  }
}

TEST(RealConversion, NegativeZeroKeepsItsSign) {
  float item = 1.0f;
  EXPECT_FALSE(recio::convertReal("-0.0", item));
  EXPECT_EQ(item, 0.0f);
  EXPECT_TRUE(std::signbit(item));
}

}  // namespace
