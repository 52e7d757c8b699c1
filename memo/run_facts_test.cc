// The run's date and time as the memo shows them, across leap days, the
// turn of centuries and before 1970.
#include "memo/run_facts.h"

#include <gtest/gtest.h>

namespace {

TEST(RunFacts, DateAndTimeInUtc) {
  const struct {
    std::int64_t seconds;
    const char* shown;
    const char* iso;
  } rows[] = {
      {0, "01/01/1970 00:00 UTC", "1970-01-01T00:00:00Z"},
      {-1, "31/12/1969 23:59 UTC", "1969-12-31T23:59:59Z"},
      {951782400, "29/02/2000 00:00 UTC", "2000-02-29T00:00:00Z"},
      {1767225599, "31/12/2025 23:59 UTC", "2025-12-31T23:59:59Z"},
      {1767225600, "01/01/2026 00:00 UTC", "2026-01-01T00:00:00Z"},
      {4107542400, "01/03/2100 00:00 UTC", "2100-03-01T00:00:00Z"},
      {1709210096, "29/02/2024 12:34 UTC", "2024-02-29T12:34:56Z"},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(dosmo::shownDateTime(row.seconds), row.shown) << row.seconds;
    EXPECT_EQ(dosmo::isoDateTime(row.seconds), row.iso) << row.seconds;
  }
}

}  // namespace
