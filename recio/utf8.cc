// Well-formed UTF-8: each lead byte, the length of its sequence and the range
// of its second byte (which excludes over-long forms, surrogates and values
// beyond U+10FFFF); every later byte lies in 80 to BF.
#include "recio/utf8.h"

namespace recio {
namespace {

struct LeadRange {
  unsigned char first, last;  // lead bytes
  std::size_t length;
  unsigned char secondLow, secondHigh;
};

constexpr LeadRange kLeadRanges[] = {
    {0xC2, 0xDF, 2, 0x80, 0xBF}, {0xE0, 0xE0, 3, 0xA0, 0xBF}, {0xE1, 0xEC, 3, 0x80, 0xBF},
    {0xED, 0xED, 3, 0x80, 0x9F}, {0xEE, 0xEF, 3, 0x80, 0xBF}, {0xF0, 0xF0, 4, 0x90, 0xBF},
    {0xF1, 0xF3, 4, 0x80, 0xBF}, {0xF4, 0xF4, 4, 0x80, 0x8F},
};

constexpr std::size_t kLongestSequence = 4;

bool inRange(char byte, unsigned char low, unsigned char high) {
  auto value = static_cast<unsigned char>(byte);
  return value >= low && value <= high;
}

bool isContinuation(char byte) { return inRange(byte, 0x80, 0xBF); }

}  // namespace

std::size_t utf8SequenceLength(std::string_view text) {
  if (text.empty()) return 0;
  for (const LeadRange& lead : kLeadRanges) {
    if (!inRange(text[0], lead.first, lead.last)) continue;
    if (text.size() < lead.length || !inRange(text[1], lead.secondLow, lead.secondHigh)) return 0;
    for (std::size_t i = 2; i < lead.length; ++i) {
      if (!isContinuation(text[i])) return 0;
    }
    return lead.length;
  }
  return 0;
}

std::size_t cutBeforeSplitSequence(std::string_view text, std::size_t cut) {
  if (cut >= text.size()) return cut;
  for (std::size_t back = 1; back < kLongestSequence && back <= cut; ++back) {
    std::size_t start = cut - back;
    if (utf8SequenceLength(text.substr(start)) > back) return start;
    if (!isContinuation(text[start])) break;
  }
  return cut;
}

}  // namespace recio
