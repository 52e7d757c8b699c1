// Fw.d and Iw fields: the report's number tables, rounding at the shown
// digits and at the seventh significant digit, the lone zero of d = 0, the
// dropped minus sign of a rounded zero, and asterisks for values too wide.
#include "recio/field.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cstdint>
#include <limits>
#include <string>

namespace {

std::string fixed(float value, int width, int decimals) {
  std::string field(static_cast<std::size_t>(width), '?');
  recio::renderFixed(value, width, decimals, field.data());
  return field;
}

std::string integer(std::int32_t value, int width) {
  std::string field(static_cast<std::size_t>(width), '?');
  recio::renderInteger(value, width, field.data());
  return field;
}

struct ReportRow {
  float value;
  const char* f52;
  const char* f62;
  const char* f72;
};

TEST(FixedField, ReportWidths) {
  const ReportRow rows[] = {
      {0.45f, "  .45", "   .45", "    .45"},
      {0.0f, "  .00", "   .00", "    .00"},
      {-0.004f, "  .00", "   .00", "    .00"},
      {-0.5f, " -.50", "  -.50", "   -.50"},
      {0.125f, "  .13", "   .13", "    .13"},
      {0.015f, "  .01", "   .01", "    .01"},
      {9.996f, "10.00", " 10.00", "  10.00"},
      {-1.5f, "-1.50", " -1.50", "  -1.50"},
      {99.995f, "*****", "100.00", " 100.00"},
      {-12.5f, "*****", "-12.50", " -12.50"},
      {-123.45f, "*****", "******", "-123.45"},
      {25.0f, "25.00", " 25.00", "  25.00"},
      {-0.0f, "  .00", "   .00", "    .00"},
      {-0.125f, " -.13", "  -.13", "   -.13"},
      {99.99f, "99.99", " 99.99", "  99.99"},
      {-9.996f, "*****", "-10.00", " -10.00"},
      {999.994f, "*****", "999.99", " 999.99"},
      {9999.99f, "*****", "******", "9999.99"},
      {10000.0f, "*****", "******", "*******"},
  };
  for (const ReportRow& row : rows) {
    EXPECT_EQ(fixed(row.value, 5, 2), row.f52) << row.value;
    EXPECT_EQ(fixed(row.value, 6, 2), row.f62) << row.value;
    EXPECT_EQ(fixed(row.value, 7, 2), row.f72) << row.value;
  }
}

struct FixedRow {
  float value;
  int width;
  int decimals;
  const char* field;
};

TEST(FixedField, Boundaries) {
  const FixedRow rows[] = {
      // d = 0: a lone 0 only when no digit at all is shown.
      {0.4f, 3, 0, " 0."},
      {-0.4f, 3, 0, " 0."},
      {0.5f, 3, 0, " 1."},
      {-0.5f, 3, 0, "-1."},
      {0.0f, 2, 0, "0."},
      {0.0f, 1, 0, "*"},
      {12.5f, 4, 0, " 13."},
      // Values far below the last shown place, and just at half of it.
      {1e-10f, 5, 3, " .000"},
      {0.00049f, 6, 3, "  .000"},
      {0.0005f, 6, 3, "  .001"},
      {-0.0004f, 6, 3, "  .000"},
      {1e-45f, 5, 2, "  .00"},
      // Zeros after the point for a negative exponent.
      {0.00123f, 8, 5, "  .00123"},
      // Carry out of the first digit adds a digit before the point.
      {0.996f, 4, 2, "1.00"},
      {0.996f, 3, 2, "***"},
      // At most seven significant digits; later places are zeros.
      {123456.789f, 12, 3, "  123456.800"},
      {16777216.0f, 10, 0, " 16777220."},
      {1.0f / 3.0f, 12, 10, " .3333333000"},
      {1e10f, 14, 1, " 10000000000.0"},
      // Both sides of the short route for common magnitudes: its lower
      // bound 2^-10, its upper bound 10^(7-d), and exact halves on it.
      {0x1p-10f, 6, 3, "  .001"},
      {0x1.fffffep-11f, 6, 3, "  .001"},
      {99999.99f, 9, 2, " 99999.99"},
      {100000.0f, 10, 2, " 100000.00"},
      {2.5f, 3, 0, " 3."},
      {-2.5f, 3, 0, "-3."},
      {1234567.5f, 10, 0, "  1234568."},
      {9999999.0f, 9, 0, " 9999999."},
      {0.5f, 9, 7, " .5000000"},
      {0.99999994f, 9, 7, " .9999999"},
      {0.99999997f, 9, 6, " 1.000000"},
      // Exact fit, one too narrow, width 1.
      {-1.5f, 5, 2, "-1.50"},
      {-1.5f, 4, 2, "****"},
      {5.0f, 1, 0, "*"},
      // Not finite: asterisks.
      {std::numeric_limits<float>::infinity(), 5, 2, "*****"},
      {-std::numeric_limits<float>::infinity(), 3, 0, "***"},
      {std::numeric_limits<float>::quiet_NaN(), 6, 2, "******"},
  };
  for (const FixedRow& row : rows) {
    EXPECT_EQ(fixed(row.value, row.width, row.decimals), row.field)
        << row.value << " F" << row.width << "." << row.decimals;
  }
}

TEST(FixedField, LargestRealKeepsSevenDigits) {
  EXPECT_EQ(fixed(FLT_MAX, 44, 1), "   3402823" + std::string(32, '0') + ".0");
  EXPECT_EQ(fixed(-FLT_MAX, 41, 0), "-3402823" + std::string(32, '0') + ".");
}

TEST(IntegerField, WidthTwoAndBoundaries) {
  const struct {
    std::int32_t value;
    int width;
    const char* field;
  } rows[] = {
      {7, 2, " 7"},
      {12, 2, "12"},
      {123, 2, "**"},
      {-5, 2, "-5"},
      {-10, 2, "**"},
      {100, 2, "**"},
      {0, 1, "0"},
      {0, 3, "  0"},
      {-1, 1, "*"},
      {99, 5, "   99"},
      {INT32_MAX, 10, "2147483647"},
      {INT32_MIN, 11, "-2147483648"},
      {INT32_MIN, 10, "**********"},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(integer(row.value, row.width), row.field) << row.value << " I" << row.width;
  }
}

}  // namespace
