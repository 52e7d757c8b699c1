// Checked floating-point arithmetic for the dialogue's formulas. Each step
// works in double precision and ends the run with the floating-point error
// report on an invalid operation, a division by zero or an overflow, as a
// trapping floating-point unit would; underflow and inexact results pass.
#ifndef DOSMO_RECIO_FPMATH_H_
#define DOSMO_RECIO_FPMATH_H_

namespace recio {

// a + b.
double fpAdd(double a, double b);

// a - b.
double fpSub(double a, double b);

// a * b.
double fpMul(double a, double b);

// a / b.
double fpDiv(double a, double b);

// The power of a real to a real, evaluated in double precision; domain,
// singularity, overflow and total-loss errors end the run with the math
// error report of the operation "**".
double fpPow(double base, double exponent);

// Rounds a formula's result once to single precision for storing; a result
// beyond the single-precision range is an overflow fault.
float fpStore(double value);

}  // namespace recio

#endif  // DOSMO_RECIO_FPMATH_H_
