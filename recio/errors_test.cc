// The run-time error report: its exact layout for each kind of statement,
// the letter and number of the errors in use, and the end of the run it causes.
#include "recio/errors.h"

#include <gtest/gtest.h>

#include "tests/support/fake_platform.h"

namespace {

using recio::ErrorCode;
using recio::Statement;
using testing_support::FakeRun;

TEST(ErrorReport, LayoutByStatement) {
  struct Row {
    ErrorCode code;
    Statement statement;
    const char* unit;
    const char* operation;
    const char* bytes;
  };
  const Row rows[] = {
      {ErrorCode::invalidReal, Statement::read, "CON", "",
       "\r\nrun-time error F6103: READ(CON)\r\n- invalid real number\r\n"},
      {ErrorCode::endOfFile, Statement::read, "CON", "",
       "\r\nrun-time error F6501: READ(CON)\r\n- end of file encountered\r\n"},
      {ErrorCode::fileNotFound, Statement::open, "my dir/r.txt", "",
       "\r\nrun-time error F6416: OPEN(my dir/r.txt)\r\n- file or folder not found\r\n"},
      {ErrorCode::writeAccessDenied, Statement::write, "r.txt", "",
       "\r\nrun-time error F6421: WRITE(r.txt)\r\n- write to the file refused\r\n"},
      {ErrorCode::diskFull, Statement::close, "r.txt", "",
       "\r\nrun-time error F6422: CLOSE(r.txt)\r\n- disk full\r\n"},
      {ErrorCode::fpDivideByZero, Statement::math, "", "",
       "\r\nrun-time error M6103: MATH\r\n- floating-point error: divide by zero\r\n"},
      {ErrorCode::mathDomain, Statement::math, "", "**",
       "\r\nrun-time error M6201: MATH\r\n- **: DOMAIN error\r\n"},
      {ErrorCode::mathTotalLoss, Statement::math, "", "mod",
       "\r\nrun-time error M6205: MATH\r\n- mod: TLOSS error\r\n"},
      {ErrorCode::outOfMemory, Statement::none, "", "",
       "\r\nrun-time error F6700\r\n- out of memory\r\n"},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(recio::formatErrorReport(row.code, row.statement, row.unit, row.operation), row.bytes);
  }
}

TEST(ErrorReport, NumbersShown) {
  struct Row {
    ErrorCode code;
    const char* shown;
  };
  const Row rows[] = {
      {ErrorCode::integerOverflow, "F6100"}, {ErrorCode::endOfFile, "F6501"},
      {ErrorCode::openFailed, "F6419"},      {ErrorCode::writeFailed, "F6423"},
      {ErrorCode::outOfMemory, "F6700"},     {ErrorCode::fpInvalid, "M6101"},
      {ErrorCode::fpStackUnderflow, "M6111"}, {ErrorCode::mathPartialLoss, "M6206"},
  };
  for (const Row& row : rows) EXPECT_EQ(recio::errorNumberText(row.code), row.shown);
}

TEST(ErrorReport, RaiseWritesToStandardErrorAndEndsWithStatusOne) {
  FakeRun run;
  EXPECT_EQ(FakeRun::statusOf([] { recio::raiseRuntimeError(ErrorCode::invalidReal, Statement::read, "CON"); }),
            1);
  EXPECT_EQ(run.fake.error, "\r\nrun-time error F6103: READ(CON)\r\n- invalid real number\r\n");
  EXPECT_EQ(run.fake.output, "");
}

TEST(ErrorReport, WriteOnlyReportsAndEndsNothing) {
  FakeRun run;
  EXPECT_EQ(FakeRun::statusOf([] { recio::writeErrorReport(ErrorCode::diskFull, Statement::close, "r.txt"); }),
            -1);
  EXPECT_EQ(run.fake.error, "\r\nrun-time error F6422: CLOSE(r.txt)\r\n- disk full\r\n");
}

}  // namespace
