// Checked arithmetic: which operations end the run with which floating-point
// or power report (exact bytes), and which results pass silently (underflow,
// rounding to single precision, quiet NaN operands).
#include "recio/fpmath.h"

#include <cfloat>
#include <cmath>
#include <functional>
#include <limits>

#include <gtest/gtest.h>

#include "tests/support/fake_platform.h"

namespace {

using testing_support::FakeRun;

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

const char* const kInvalid = "\r\nrun-time error M6101: MATH\r\n- floating-point error: invalid\r\n";
const char* const kDivide = "\r\nrun-time error M6103: MATH\r\n- floating-point error: divide by zero\r\n";
const char* const kOverflow = "\r\nrun-time error M6104: MATH\r\n- floating-point error: overflow\r\n";
const char* const kDomain = "\r\nrun-time error M6201: MATH\r\n- **: DOMAIN error\r\n";
const char* const kSing = "\r\nrun-time error M6202: MATH\r\n- **: SING error\r\n";
const char* const kPowOverflow = "\r\nrun-time error M6203: MATH\r\n- **: OVERFLOW error\r\n";

struct Row {
  const char* what;
  std::function<double()> operation;
  const char* report;  // nullptr: no report, the result is `value`
  double value;
};

void check(const Row& row) {
  FakeRun run;
  double result = 0;
  int status = FakeRun::statusOf([&] { result = row.operation(); });
  if (row.report != nullptr) {
    EXPECT_EQ(status, 1) << row.what;
    EXPECT_EQ(run.fake.error, row.report) << row.what;
    return;
  }
  EXPECT_EQ(status, -1) << row.what;
  EXPECT_EQ(run.fake.error, "") << row.what;
  if (std::isnan(row.value)) {
    EXPECT_TRUE(std::isnan(result)) << row.what;
  } else {
    EXPECT_EQ(result, row.value) << row.what;
  }
}

TEST(FpMath, ArithmeticFaults) {
  using namespace recio;
  const Row rows[] = {
      {"1/0", [] { return fpDiv(1, 0); }, kDivide, 0},
      {"-2.5/-0", [] { return fpDiv(-2.5, -0.0); }, kDivide, 0},
      {"0/0", [] { return fpDiv(0, 0); }, kInvalid, 0},
      {"-0/0", [] { return fpDiv(-0.0, 0); }, kInvalid, 0},
      {"nan/0", [] { return fpDiv(kNaN, 0); }, kInvalid, 0},
      {"inf/inf", [] { return fpDiv(kInf, kInf); }, kInvalid, 0},
      {"1e300/1e-300", [] { return fpDiv(1e300, 1e-300); }, kOverflow, 0},
      {"1e-300/1e300", [] { return fpDiv(1e-300, 1e300); }, nullptr, 0},
      {"7/2", [] { return fpDiv(7, 2); }, nullptr, 3.5},
      {"0*inf", [] { return fpMul(0, kInf); }, kInvalid, 0},
      {"1e200*-1e200", [] { return fpMul(1e200, -1e200); }, kOverflow, 0},
      {"1e-200*1e-200", [] { return fpMul(1e-200, 1e-200); }, nullptr, 0},
      {"3*0.5", [] { return fpMul(3, 0.5); }, nullptr, 1.5},
      {"inf+-inf", [] { return fpAdd(kInf, -kInf); }, kInvalid, 0},
      {"max+max", [] { return fpAdd(DBL_MAX, DBL_MAX); }, kOverflow, 0},
      {"inf+1", [] { return fpAdd(kInf, 1); }, nullptr, kInf},
      {"nan+1", [] { return fpAdd(kNaN, 1); }, nullptr, kNaN},
      {"inf-inf", [] { return fpSub(kInf, kInf); }, kInvalid, 0},
      {"-max-max", [] { return fpSub(-DBL_MAX, DBL_MAX); }, kOverflow, 0},
      {"2-5", [] { return fpSub(2, 5); }, nullptr, -3},
  };
  for (const Row& row : rows) check(row);
}

TEST(FpMath, PowerErrors) {
  using namespace recio;
  const Row rows[] = {
      {"-8**(1/3)", [] { return fpPow(-8, 1.0 / 3); }, kDomain, 0},
      {"-0.5**0.5", [] { return fpPow(-0.5, 0.5); }, kDomain, 0},
      {"0**-1", [] { return fpPow(0, -1); }, kSing, 0},
      {"-0**-0.5", [] { return fpPow(-0.0, -0.5); }, kSing, 0},
      {"10**400", [] { return fpPow(10, 400); }, kPowOverflow, 0},
      {"-2**1e20", [] { return fpPow(-2, 1e20); }, kPowOverflow, 0},
      {"0.5**-2000", [] { return fpPow(0.5, -2000); }, kPowOverflow, 0},
      {"10**-400", [] { return fpPow(10, -400); }, nullptr, 0},
      {"-8**3", [] { return fpPow(-8, 3); }, nullptr, -512},
      {"-0**0.5", [] { return fpPow(-0.0, 0.5); }, nullptr, 0},
      {"0**0", [] { return fpPow(0, 0); }, nullptr, 1},
      {"4**0.5", [] { return fpPow(4, 0.5); }, nullptr, 2},
      {"25**-0.1", [] { return fpPow(25, -0.1); }, nullptr, std::pow(25.0, -0.1)},
  };
  for (const Row& row : rows) check(row);
}

TEST(FpMath, StoreToSinglePrecision) {
  using namespace recio;
  const Row rows[] = {
      {"FLT_MAX", [] { return double(fpStore(FLT_MAX)); }, nullptr, FLT_MAX},
      {"just below the overflow bound", [] { return double(fpStore(0x1.fffffefffffffp127)); }, nullptr,
       FLT_MAX},
      {"overflow bound", [] { return double(fpStore(0x1.ffffffp127)); }, kOverflow, 0},
      {"-3.5e38", [] { return double(fpStore(-3.5e38)); }, kOverflow, 0},
      {"1e300", [] { return double(fpStore(1e300)); }, kOverflow, 0},
      {"-FLT_MAX-", [] { return double(fpStore(-0x1.fffffe8p127)); }, nullptr, -FLT_MAX},
      {"1e-50", [] { return double(fpStore(1e-50)); }, nullptr, 0},
      {"1e-40", [] { return double(fpStore(1e-40)); }, nullptr, double(1e-40f)},
      {"0.1", [] { return double(fpStore(0.1)); }, nullptr, double(0.1f)},
      {"nan", [] { return double(fpStore(kNaN)); }, nullptr, kNaN},
  };
  for (const Row& row : rows) check(row);
}

}  // namespace
