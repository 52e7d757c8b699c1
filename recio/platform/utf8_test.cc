// Well-formed UTF-8 sequences and cuts that must not split one.
#include "recio/platform/utf8.h"

#include <gtest/gtest.h>

#include <string_view>

namespace {

TEST(Utf8, SequenceLength) {
  struct Row {
    std::string_view text;
    std::size_t length;
  };
  const Row rows[] = {
      {"\xC3\xB3rio", 2},      {"\xE2\x82\xAC", 3},     {"\xF0\x9F\x98\x80", 4}, {"\xF4\x8F\xBF\xBF", 4},
      {"a\xC3\xB3", 0},        {"", 0},                 {"\xF3r", 0},            {"\xC3", 0},
      {"\xC0\xAF", 0},         {"\xC1\xBF", 0},         {"\xE0\x9F\xBF", 0},     {"\xED\xA0\x80", 0},
      {"\xF0\x8F\xBF\xBF", 0}, {"\xF4\x90\x80\x80", 0}, {"\xF5\x80\x80\x80", 0}, {"\xE2\x82", 0},
      {"\xB3", 0},             {"\xC3\xA9\xA9", 2},     {"\xE2\x82\x41", 0},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(recio::utf8SequenceLength(row.text), row.length) << testing::PrintToString(row.text);
  }
}

TEST(Utf8, CutFallsBeforeASplitSequence) {
  struct Row {
    std::string_view text;
    std::size_t cut, expected;
  };
  const Row rows[] = {
      {"relat\xC3\xB3rio_a\xC3\xA7\xC3\xA3o.txt", 15, 14},  // the cut halves the last letter
      {"relat\xC3\xB3rios_a\xC3\xA7\xC3\xA3o.txt", 15, 15},  // the cut falls between letters
      {"ab\xE2\x82\xAC", 3, 2},   {"ab\xE2\x82\xAC", 4, 2},   {"ab\xE2\x82\xAC", 5, 5},
      {"a\xF0\x9F\x98\x80", 4, 1}, {"ab\xC3xy", 3, 3},  // a lone Windows-1252 letter is whole
      {"ab\xC3\xA9", 9, 9},        {"\xC3\xA9", 0, 0},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(recio::cutBeforeSplitSequence(row.text, row.cut), row.expected)
        << testing::PrintToString(row.text) << " cut " << row.cut;
  }
}

}  // namespace
