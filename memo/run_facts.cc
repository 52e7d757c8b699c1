// The run's time as a civil date in UTC, by the days-from-civil arithmetic of
// the proleptic Gregorian calendar, so every host gives the same text.
#include "memo/run_facts.h"

#include <cstdio>

namespace dosmo {
namespace {

struct CivilTime {
  std::int64_t year;
  int month, day, hour, minute, second;
};

CivilTime civilTimeOf(std::int64_t epochSeconds) {
  std::int64_t days = epochSeconds / 86400;
  std::int64_t rest = epochSeconds % 86400;
  if (rest < 0) {
    rest += 86400;
    --days;
  }
  days += 719468;  // from 1970-01-01 to 0000-03-01
  const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
  const std::int64_t dayOfEra = days - era * 146097;
  const std::int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const std::int64_t shiftedMonth = (5 * dayOfYear + 2) / 153;
  const int day = static_cast<int>(dayOfYear - (153 * shiftedMonth + 2) / 5 + 1);
  const int month = static_cast<int>(shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9);
  const std::int64_t year = yearOfEra + era * 400 + (month <= 2 ? 1 : 0);
  return {year, month, day, static_cast<int>(rest / 3600), static_cast<int>(rest / 60 % 60),
          static_cast<int>(rest % 60)};
}

}  // namespace

std::string shownDateTime(std::int64_t epochSeconds) {
  const CivilTime t = civilTimeOf(epochSeconds);
  char text[64];
  std::snprintf(text, sizeof text, "%02d/%02d/%04lld %02d:%02d UTC", t.day, t.month,
                static_cast<long long>(t.year), t.hour, t.minute);
  return text;
}

std::string isoDateTime(std::int64_t epochSeconds) {
  const CivilTime t = civilTimeOf(epochSeconds);
  char text[64];
  std::snprintf(text, sizeof text, "%04lld-%02d-%02dT%02d:%02d:%02dZ", static_cast<long long>(t.year),
                t.month, t.day, t.hour, t.minute, t.second);
  return text;
}

}  // namespace dosmo
