// Checked double-precision steps and the rounding of doubles to single precision.
//
// Internal to the engine. Each step checks its operands and its result explicitly instead of
// reading the floating-point status flags, so that the checks hold whatever the compiler does
// with the flags.
#pragma once

#ifndef PEVRAND_ENGINE_INTERNAL
#error "CheckedMath.h is the engine's own: use the engine's public headers"
#endif

#include <cmath>

namespace pevrand::checked
{

// The smallest magnitude that rounds to infinity in single precision: halfway between
// FLT_MAX and 2^128, which ties to the even neighbour, 2^128.
inline constexpr double SingleOverflowThreshold = 0x1.ffffffp127;

// Throws ArithmeticError with `what`. Out of line, so that the checks below stay small enough
// to be inlined into every step of a conversion.
[[noreturn]] void Fail(const char *what);

// `value` itself, or ArithmeticError when it is infinite or not a number (an overflow or an
// invalid operation of the step that produced it).
inline double Finite(double value)
{
    if (std::isnan(value))
        Fail("invalid floating-point operation");
    if (std::isinf(value))
        Fail("floating-point overflow");
    return value;
}

// a / b, or ArithmeticError when b is zero or the quotient is not finite.
inline double Divide(double a, double b)
{
    if (b == 0.0)
        Fail("division by zero");
    return Finite(a / b);
}

// The square root of a finite value that is not negative, else ArithmeticError.
inline double Sqrt(double value)
{
    if (!(Finite(value) >= 0.0))
        Fail("invalid floating-point operation");
    return std::sqrt(value);
}

// `value` rounded to the nearest single, or ArithmeticError when it is not finite or lies
// beyond the single-precision range (it would round to infinity). Underflow gives a
// subnormal or zero and is not an error.
inline float ToSingle(double value)
{
    if (std::fabs(Finite(value)) >= SingleOverflowThreshold)
        Fail("floating-point overflow");
    return static_cast<float>(value);
}

// `value` rounded to the nearest single as IEEE 754 does it, with no check: a double beyond
// the single-precision range becomes an infinity of its sign.
float NearestSingle(double value);

} // namespace pevrand::checked
