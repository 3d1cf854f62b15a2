// Checked double-precision steps and the rounding of doubles to single precision.
//
// Internal to the engine. Each step checks its operands and its result explicitly instead of
// reading the floating-point status flags, so that the checks hold whatever the compiler does
// with the flags.
#pragma once

#ifndef PEVRAND_ENGINE_INTERNAL
#error "CheckedMath.h is the engine's own: use the engine's public headers"
#endif

namespace pevrand::checked
{

// `value` itself, or ArithmeticError when it is infinite or not a number (an overflow or an
// invalid operation of the step that produced it).
double Finite(double value);

// a / b, or ArithmeticError when b is zero or the quotient is not finite.
double Divide(double a, double b);

// The square root of a finite value that is not negative, else ArithmeticError.
double Sqrt(double value);

// `value` rounded to the nearest single, or ArithmeticError when it is not finite or lies
// beyond the single-precision range (it would round to infinity). Underflow gives a
// subnormal or zero and is not an error.
float ToSingle(double value);

// `value` rounded to the nearest single as IEEE 754 does it, with no check: a double beyond
// the single-precision range becomes an infinity of its sign.
float NearestSingle(double value);

} // namespace pevrand::checked
