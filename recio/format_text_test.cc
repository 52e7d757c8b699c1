// Compiling format texts: the descriptors each text gives (blanks, case,
// literals with doubled delimiters, counts, groups, slashes without commas),
// what stops the compiler, the reversion point, and malformed texts.
#include "recio/format_text.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using recio::Descriptor;
using recio::DescriptorKind;

// The compiled descriptors as one line, e.g. "1X 'abc' F5.2 / END".
std::string summary(const recio::FormatText& format) {
  std::string out;
  for (const Descriptor& d : format.descriptors()) {
    if (!out.empty()) out += ' ';
    const std::string count = d.repeat == 1 ? "" : std::to_string(d.repeat);
    switch (d.kind) {
      case DescriptorKind::blanks: out += std::to_string(d.repeat) + "X"; break;
      case DescriptorKind::literal: out += "'" + std::string(format.literal(d)) + "'"; break;
      case DescriptorKind::slash: out += count + "/"; break;
      case DescriptorKind::fixed:
        out += count + "F" + std::to_string(d.width) + "." + std::to_string(d.decimals);
        break;
      case DescriptorKind::integer: out += count + "I" + std::to_string(d.width); break;
      case DescriptorKind::text: out += count + "A" + (d.width ? std::to_string(d.width) : ""); break;
      case DescriptorKind::groupOpen: out += count + "("; break;
      case DescriptorKind::groupClose: out += ")"; break;
      case DescriptorKind::formatEnd: out += "END"; break;
    }
  }
  return out;
}

std::string compiled(const char* text) {
  recio::FormatText format;
  return format.compile(text) ? summary(format) : "malformed";
}

struct FormatRow {
  const char* text;
  const char* descriptors;
};

TEST(FormatText, CompilesDescriptors) {
  const FormatRow rows[] = {
      {"(1X,' Dosmo calculado para um concreto de ',F5.2,' MPa de resist\xEAncia caracter\xEDstica',/)",
       "1X ' Dosmo calculado para um concreto de ' F5.2 ' MPa de resist\xEAncia caracter\xEDstica' / END"},
      {"(1X,' brita',I2,' = ',F5.2)", "1X ' brita' I2 ' = ' F5.2 END"},
      {"(F5.2)", "F5.2 END"},
      {"(f6.2,i3,x)", "F6.2 I3 1X END"},
      {"( 1 x , F 5 . 2 )", "1X F5.2 END"},
      {"(\t2X,\tI2 )", "2X I2 END"},
      {"(' a \t b ')", "' a \t b ' END"},
      {"('it''s',\"say \"\"hi\"\"\")", "'it's' 'say \"hi\"' END"},
      {"('a\"b',\"c'd\")", "'a\"b' 'c'd' END"},
      {"('')", "'' END"},
      {"()", "END"},
      {"(/)", "/ END"},
      {"(//)", "/ / END"},
      {"(3/)", "3/ END"},
      {"(/F5.2/I2/)", "/ F5.2 / I2 / END"},
      {"(/,F5.2,/,I2)", "/ F5.2 / I2 END"},
      {"(2(1X,I2),3F5.2)", "2( 1X I2 ) 3F5.2 END"},
      {"(A,A10,2a3)", "A A10 2A3 END"},
      {"(I2)F5.2'unterminated", "I2 END"},
      {"(I2))", "I2 END"},
      {"(1X,'a')\0(", "1X 'a' END"},
      {"(F32767.32767)", "F32767.32767 END"},
  };
  for (const FormatRow& row : rows) {
    EXPECT_EQ(compiled(row.text), row.descriptors) << row.text;
  }
}

TEST(FormatText, RejectsMalformedText) {
  const char* const rows[] = {
      "", "F5.2", " ", "(", "(F5.2", "(F5.2,(I2)", "((I2)",
      "(F5.2,)", "(,F5.2)", "(F5.2,,I2)", "(F5.2 I2)", "(1X'a')", "('a'1X)", "(I2(1X))",
      "(F5)", "(F.2)", "(F5.)", "(F5,2)", "(I)", "(I.2)",
      "(0X)", "(0I2)", "(F0.2)", "(I0)", "(A0)", "(0(I2))", "(5)", "(2'abc')",
      "(E10.3)", "(G10.3)", "(T5)", "(3HABC)", "(:)", "(-F5.2)", "(I32768)", "(99999X)",
      "('abc)", "('abc'", "(\"abc')", "('ab''", "(1X,'a\0')",
  };
  for (const char* row : rows) {
    EXPECT_EQ(compiled(row), "malformed") << "[" << row << "]";
  }
}

TEST(FormatText, NestsGroupsSixteenDeep) {
  const std::string sixteen = "(" + std::string(16, '(') + "I2" + std::string(16, ')') + ")";
  const std::string seventeen = "(" + std::string(17, '(') + "I2" + std::string(17, ')') + ")";
  EXPECT_NE(compiled(sixteen.c_str()), "malformed");
  EXPECT_EQ(compiled(seventeen.c_str()), "malformed");
}

TEST(FormatText, ReversionGoesToLastTopLevelGroup) {
  const struct {
    const char* text;
    std::size_t index;
  } rows[] = {
      {"(F5.2,I2)", 0},
      {"(I2,(F5.2),2(1X,I3))", 4},
      {"(I2,(1X,(I3)),F5.2)", 1},
      {"((I2))", 0},
  };
  for (const auto& row : rows) {
    recio::FormatText format;
    ASSERT_TRUE(format.compile(row.text)) << row.text;
    EXPECT_EQ(format.reversionIndex(), row.index) << row.text;
  }
}

TEST(FormatText, CompilingAgainForgetsThePreviousText) {
  recio::FormatText format;
  ASSERT_TRUE(format.compile("('first',I2)"));
  ASSERT_FALSE(format.compile("('bad"));
  ASSERT_TRUE(format.compile("('x')"));
  EXPECT_EQ(summary(format), "'x' END");
}

}  // namespace
