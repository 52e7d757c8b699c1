// Unit names: which names stand for a device, whatever the case of their
// letters and with or without an extension, and which name ordinary files.
#include "recio/report_name.h"

#include <gtest/gtest.h>

namespace {

TEST(ReportName, DeviceNamesAndOrdinaryFiles) {
  struct Row {
    const char* name;
    bool isFile;
  };
  const Row rows[] = {
      {"nul", false},     {"NUL.txt", false},  {"Nul.", false},      {"con", false},
      {"CON.lst", false}, {"user", false},     {"ERR", false},       {"err.log", true},
      {"user.txt", true}, {"line.txt", true},  {"LPT1.txt", true},   {"lpt1", true},
      {"prn", true},      {"COM1", true},      {"aux.txt", true},    {"nulls", true},
      {"nu", true},       {"dir.nul", true},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(!recio::deviceFor(row.name).has_value(), row.isFile) << row.name;
  }
}

}  // namespace
