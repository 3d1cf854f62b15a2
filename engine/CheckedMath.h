// Checked double-precision steps and the rounding of doubles to single precision.
//
// Internal to the engine. Each step checks its operands and its result explicitly instead of
// reading the floating-point status flags, so that the checks hold whatever the compiler does
// with the flags.
#pragma once

#ifndef PEVRAND_ENGINE_INTERNAL
#error "CheckedMath.h is the engine's own: use the engine's public headers"
#endif

#include "engine/NearestSingle.h"

#include <cmath>
#include <limits>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace pevrand::checked
{

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

// The checks above as the policy of a computation written once for every caller (the legs of a
// conversion): each failed check throws ArithmeticError. A policy names the computation's
// numbers, Single for the values its steps keep and Double for its doubles, and says with Round
// what a step keeps: the classic steps round to single precision, the double ones keep the
// double.
struct Throwing {
    using Single = float;
    using Double = double;
    static double Wide(float value) { return static_cast<double>(value); }
    static double Finite(double value) { return checked::Finite(value); }
    static double Divide(double a, double b) { return checked::Divide(a, b); }
    static double Sqrt(double value) { return checked::Sqrt(value); }
    static float Round(double value) { return checked::ToSingle(value); }
};

// The same checks, noted instead of thrown: a failed check sets Failed and the computation goes
// on with numbers of no meaning, so that a loop over many values needs neither a branch nor an
// exception a step. Where no check fails, every step gives what Throwing's gives.
struct Noting {
    using Single = float;
    using Double = double;
    bool Failed = false;

    static double Wide(float value) { return static_cast<double>(value); }
    double Finite(double value)
    {
        Failed = Failed | !std::isfinite(value);
        return value;
    }
    double Divide(double a, double b)
    {
        Failed = Failed | (b == 0.0);
        return Finite(a / b);
    }
    double Sqrt(double value)
    {
        const bool negative = !(Finite(value) >= 0.0);
        Failed = Failed | negative;
        return std::sqrt(negative ? 0.0 : value);
    }
    float Round(double value)
    {
        const bool beyond = !(std::fabs(value) < SingleOverflowThreshold);
        Failed = Failed | beyond;
        return static_cast<float>(beyond ? 0.0 : value);
    }
    // Notes a value that is not greater than 0, which no conversion takes or gives.
    void Positive(double value) { Failed = Failed | !(value > 0.0); }
    // The single, or NaN where a check failed.
    float Result(float value) const
    {
        return Failed ? std::numeric_limits<float>::quiet_NaN() : value;
    }
};

// Throwing's checks for steps in double precision throughout (the CODATA editions): a step
// keeps its double, and fails only beyond the double range.
struct ThrowingWide {
    using Single = double;
    using Double = double;
    static double Wide(double value) { return value; }
    static double Finite(double value) { return checked::Finite(value); }
    static double Divide(double a, double b) { return checked::Divide(a, b); }
    static double Sqrt(double value) { return checked::Sqrt(value); }
    static double Round(double value) { return checked::Finite(value); }
};

// Noting's checks for steps in double precision throughout.
struct NotingWide : Noting {
    using Single = double;
    static double Wide(double value) { return value; }
    double Round(double value) { return Finite(value); }
    double Result(double value) const
    {
        return Failed ? std::numeric_limits<double>::quiet_NaN() : value;
    }
};

#if defined(__SSE2__)
// Two doubles, one a lane: SSE2's __m128d without the aliasing attribute that a template
// argument would drop.
using DoublePair = double __attribute__((vector_size(16)));

// Noting's checks for two values at once in the two lanes of SSE2's registers: Double holds two
// doubles, Single two singles in its low half. Each lane's steps are those of Noting, for the
// packed instructions round each lane as the scalar ones do; numbers that are the same for
// both lanes (the geometry's) stay scalars, and a check failing on one fails both.
struct NotingPairs {
    using Single = __m128;
    using Double = __m128d;
    __m128d Failed = _mm_setzero_pd();

    static __m128d Wide(__m128 value) { return _mm_cvtps_pd(value); }
    static double Wide(float value) { return static_cast<double>(value); }
    __m128d Finite(__m128d value)
    {
        const __m128d magnitude =
            _mm_and_pd(value, _mm_castsi128_pd(_mm_set1_epi64x(0x7fffffffffffffff)));
        Note(_mm_cmpnle_pd(magnitude, _mm_set1_pd(std::numeric_limits<double>::max())));
        return value;
    }
    double Finite(double value)
    {
        Note(!std::isfinite(value));
        return value;
    }
    template <class A, class B> auto Divide(A a, B b)
    {
        Note(IsZero(b));
        return Finite(a / b);
    }
    __m128d Sqrt(__m128d value)
    {
        const __m128d negative = _mm_cmpnge_pd(Finite(value), _mm_setzero_pd());
        Note(negative);
        return _mm_sqrt_pd(_mm_andnot_pd(negative, value));
    }
    __m128 Round(__m128d value)
    {
        const __m128d magnitude =
            _mm_and_pd(value, _mm_castsi128_pd(_mm_set1_epi64x(0x7fffffffffffffff)));
        const __m128d beyond = _mm_cmpnlt_pd(magnitude, _mm_set1_pd(SingleOverflowThreshold));
        Note(beyond);
        return _mm_cvtpd_ps(_mm_andnot_pd(beyond, value));
    }
    float Round(double value)
    {
        const bool beyond = !(std::fabs(value) < SingleOverflowThreshold);
        Note(beyond);
        return static_cast<float>(beyond ? 0.0 : value);
    }
    void Positive(__m128d value) { Note(_mm_cmpngt_pd(value, _mm_setzero_pd())); }
    // The two singles, NaN in a lane where a check failed.
    __m128 Result(__m128 value) const
    {
        // Each lane's mask from 64 bits down to 32, in the low half.
        const __m128 failed =
            _mm_shuffle_ps(_mm_castpd_ps(Failed), _mm_castpd_ps(Failed), _MM_SHUFFLE(2, 0, 2, 0));
        const __m128 nan = _mm_set1_ps(std::numeric_limits<float>::quiet_NaN());
        return _mm_or_ps(_mm_andnot_ps(failed, value), _mm_and_ps(failed, nan));
    }

private:
    static __m128d IsZero(__m128d value) { return _mm_cmpeq_pd(value, _mm_setzero_pd()); }
    static bool IsZero(double value) { return value == 0.0; }
    void Note(__m128d failed) { Failed = _mm_or_pd(Failed, failed); }
    void Note(bool failed)
    {
        if (failed)
            Failed = _mm_castsi128_pd(_mm_set1_epi32(-1));
    }
};

// NotingPairs for steps in double precision throughout: two doubles a step, each kept as it
// is and checked against the double range.
struct NotingWidePairs : NotingPairs {
    using Single = __m128d;
    using NotingPairs::Finite;
    static __m128d Wide(__m128d value) { return value; }
    __m128d Round(__m128d value) { return Finite(value); }
    double Round(double value) { return Finite(value); }
    // The two doubles, NaN in a lane where a check failed.
    __m128d Result(__m128d value) const
    {
        const __m128d nan = _mm_set1_pd(std::numeric_limits<double>::quiet_NaN());
        return _mm_or_pd(_mm_andnot_pd(Failed, value), _mm_and_pd(Failed, nan));
    }
};
#endif

} // namespace pevrand::checked
