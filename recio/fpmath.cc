// Checked arithmetic for the dialogue's formulas. Each operation looks at its
// operands and its result to decide the fault a trapping unit would raise
// (invalid operation, division by zero, overflow), so the outcome is the same
// on every host and compiler; underflow and inexact results pass silently.
#include "recio/fpmath.h"

#include <cfloat>
#include <cmath>

#include "recio/errors.h"

namespace recio {
namespace {

constexpr const char* kPowerName = "**";

// The smallest magnitude that rounds to infinity in single precision: half
// an ulp above the largest finite single, where a tie rounds away from it.
constexpr double kSingleOverflow = 0x1.ffffffp127;

[[noreturn]] void fault(ErrorCode code) { raiseRuntimeError(code, Statement::math); }

[[noreturn]] void powerFault(ErrorCode code) {
  raiseRuntimeError(code, Statement::math, {}, kPowerName);
}

// The result of an addition, subtraction or multiplication: a NaN made from
// numbers is an invalid operation, an infinity made from finite numbers an overflow.
double checked(double result, double a, double b) {
  bool operandsAreNumbers = !std::isnan(a) && !std::isnan(b);
  if (std::isnan(result) && operandsAreNumbers) fault(ErrorCode::fpInvalid);
  if (std::isinf(result) && std::isfinite(a) && std::isfinite(b)) fault(ErrorCode::fpOverflow);
  return result;
}

bool isInteger(double value) { return std::trunc(value) == value; }

}  // namespace

double fpAdd(double a, double b) { return checked(a + b, a, b); }

double fpSub(double a, double b) { return checked(a - b, a, b); }

double fpMul(double a, double b) { return checked(a * b, a, b); }

double fpDiv(double a, double b) {
  if (b == 0) fault(a == 0 || std::isnan(a) ? ErrorCode::fpInvalid : ErrorCode::fpDivideByZero);
  return checked(a / b, a, b);
}

double fpPow(double base, double exponent) {
  bool finiteOperands = std::isfinite(base) && std::isfinite(exponent);
  if (finiteOperands && base < 0 && !isInteger(exponent)) powerFault(ErrorCode::mathDomain);
  if (base == 0 && exponent < 0) powerFault(ErrorCode::mathSingularity);
  double result = std::pow(base, exponent);
  if (std::isinf(result) && finiteOperands) powerFault(ErrorCode::mathOverflow);
  return result;
}

float fpStore(double value) {
  if (std::isfinite(value)) {
    double magnitude = std::fabs(value);
    if (magnitude >= kSingleOverflow) fault(ErrorCode::fpOverflow);
    // Between the largest single and the overflow bound the value rounds
    // down to the largest single; said outright, as the conversion of a
    // value outside the single range is not defined by the language.
    if (magnitude > FLT_MAX) return std::signbit(value) ? -FLT_MAX : FLT_MAX;
  }
  return static_cast<float>(value);
}

}  // namespace recio
