// Well-formed UTF-8: each lead byte, the length of its sequence and the range
// of its second byte (which excludes over-long forms, surrogates and values
// beyond U+10FFFF); every later byte lies in 80 to BF. Windows-1252 bytes
// become UTF-8 by their characters.
#include "recio/platform/utf8.h"

#include <array>
#include <cstdint>

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

// The characters of the Windows-1252 bytes 0x80 to 0x9F; the five bytes the
// code page leaves unassigned stand for the control characters of the same number.
constexpr std::array<std::uint16_t, 32> kHighControlRange = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

// Appends the UTF-8 form of one Windows-1252 byte.
void appendUtf8(unsigned char byte, std::string& out) {
  if (byte < 0x80) {
    out.push_back(static_cast<char>(byte));
    return;
  }
  std::uint16_t code = byte < 0xA0 ? kHighControlRange[byte - 0x80] : byte;
  if (code < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (code >> 6)));
  } else {
    out.push_back(static_cast<char>(0xE0 | (code >> 12)));
    out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
  }
  out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
}

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

void appendAsUtf8(std::string_view text, std::string& out) {
  for (std::size_t at = 0; at < text.size();) {
    std::size_t typed = utf8SequenceLength(text.substr(at));
    if (typed > 0) {
      out.append(text.substr(at, typed));
      at += typed;
    } else {
      appendUtf8(static_cast<unsigned char>(text[at++]), out);
    }
  }
}

}  // namespace recio
