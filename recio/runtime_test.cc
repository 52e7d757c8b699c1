// The end of a run: the status a body's end gives once the units are closed,
// a failure while closing the report turning a normal end into status 1, and
// exhausted memory reported like any other run-time error, the report kept.
#include "recio/runtime.h"

#include <gtest/gtest.h>

#include <new>

#include "recio/errors.h"
#include "recio/output.h"
#include "recio/record_sink.h"
#include "recio/report_unit.h"
#include "tests/support/e2e_support.h"
#include "tests/support/fake_platform.h"

namespace {

using testing_support::MemoryPlatform;

// Writes one short record to a report on the full-disk device.
void writeToFullDevice() {
  recio::openUnit(recio::kReportUnit, "/dev/full", 9);
  recio::beginWrite(recio::kReportUnit);
  recio::writeText("x", 1);
  recio::endWrite();
}

struct EndRow {
  const char* title;
  int (*body)();
  int status;
  const char* err;
};

TEST(RunEnd, StatusAndReportOfEveryEnd) {
  const EndRow rows[] = {
      {"normal end", [] { return 0; }, 0, ""},
      {"run-time error",
       []() -> int { recio::raiseRuntimeError(recio::ErrorCode::invalidReal, recio::Statement::read, "CON"); },
       1, "\r\nrun-time error F6103: READ(CON)\r\n- invalid real number\r\n"},
      {"normal end, report lost at the close",
       [] {
         writeToFullDevice();
         return 0;
       },
       1, "\r\nrun-time error F6422: CLOSE(/dev/full)\r\n- disk full\r\n"},
  };
  for (const EndRow& row : rows) {
    MemoryPlatform fake;
    fake.hostFiles = true;
    recio::setPlatform(&fake);
    int status = recio::runProgram(0, nullptr, row.body, true);
    recio::setPlatform(nullptr);
    EXPECT_EQ(status, row.status) << row.title;
    EXPECT_EQ(fake.error, row.err) << row.title;
  }
}

// Exhausted memory ends the run where it happens, through the new-handler the
// run installs: the report on standard error, the units closed, status 1.
TEST(RunEnd, ExhaustedMemoryEndsWithReportAndClosedUnits) {
  testing_support::TempFolder folder;
  static std::string reportName;
  reportName = folder.file("r.txt");
  EXPECT_EXIT(recio::runProgram(0, nullptr,
                                []() -> int {
                                  recio::openUnit(recio::kReportUnit, reportName.c_str(),
                                                  static_cast<int>(reportName.size()));
                                  recio::beginWrite(recio::kReportUnit);
                                  recio::writeText("kept", 4);
                                  recio::endWrite();
                                  std::get_new_handler()();
                                  return 0;
                                },
                                true),
              ::testing::ExitedWithCode(1), "\r\nrun-time error F6700\r\n- out of memory\r\n");
  EXPECT_EQ(folder.read("r.txt"), " kept\r\n");
}

}  // namespace
