// The short way to the shown value of a result, inline for the loops over many values.
// Internal to the engine.
#pragma once

#ifndef PEVRAND_ENGINE_INTERNAL
#error "ShownRounding.h is the engine's own: use Module1.h"
#endif

#include "BitCast.h"
#include "PowersOfTen.h"

#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>

namespace pevrand::detail
{

constexpr double NearestPowerOfTen(int k)
{
    return NearestPowersOfTen[k + NearestPowersOfTenBias];
}

// How far, relative to the value, the mantissa that RoundSigFigs builds from its single
// logarithm lg can lie from the exact one for a value whose decimal exponent is n: ln(10) times
// the error of the fraction of lg it takes, plus a million units of a double for the steps in
// double precision. That fraction, lg - n, is exact but for n = -1, where lg lies in -1..0: for
// lg below -1/2 it is exact too, above it rounds once more, by half a unit of a single below 1,
// while lg, below 1/2 in magnitude, rounds by at most a quarter of that. Elsewhere the error is
// lg's own rounding: half a unit in the last place of a single of magnitude below
// max(|n|, |n + 1|).
constexpr double MantissaError(int n)
{
    double halfUnit = 0x1p-25 * 1.5;
    if (n != -1) {
        const int magnitude = n < 0 ? -n : n + 1;
        // 2^j is the largest power of two below `magnitude` (below 1 when it is 1).
        int j = -1;
        for (int below = magnitude - 1; below > 0; below /= 2)
            ++j;
        halfUnit = 0x1p-25;
        for (int i = -1; i < j; ++i)
            halfUnit *= 2.0;
    }
    return 2.302585093 * halfUnit * 1.000001 + 1e-12;
}

// What the short way needs for the results of one decade, 10^n to 10^(n + 1): the scale of its
// values to five figures before the point, the scale back, and MantissaError(n).
struct Decade {
    double Up, Down, Error;
};

// The decades of normal singles, n = -38 to 38. (Not inline: a table of the file's own is
// reached without a lookup of its address.)
constexpr int LowestDecade = -38;
constexpr auto Decades = [] {
    std::array<Decade, 77> decades{};
    for (std::size_t i = 0; i < decades.size(); ++i) {
        const int n = static_cast<int>(i) + LowestDecade;
        decades[i] = {NearestPowerOfTen(4 - n), NearestPowerOfTen(n - 4), MantissaError(n)};
    }
    return decades;
}();

// ShownResult's short way: true with `shown` set to ShownValue(RoundSigFigs(result, 5)) where
// that is certain, else false (then only the long way gives it).
[[gnu::always_inline]] inline bool ShortShownResult(float result, float &shown)
{
    // RoundSigFigs gives a single within about 1e-7 of D * 10^p, its five figures D (10000 to
    // 100000) in the decade of the rounding, and ShownValue the single nearest to D * 10^p. Its
    // D is the rounding of the mantissa it builds from the value's single logarithm, which lies
    // within MantissaError of the exact one. So where the exact s = result * 10^-p lies farther
    // than that from a half, D is the rounding of s, whatever the platform's log and exp give
    // within a million units of a double; near a power of ten either decade gives the same
    // D * 10^p. A double within a few units of D * 10^p then gives its nearest single unless it
    // lies within those units of a half between two singles. Every other case, and every result
    // too small for a normal single's full precision, takes the long way.
    const auto bits = BitCast<std::uint32_t>(result);
    // From 1e-37 to the largest single; not NaN, and not negative, whose sign bit is set.
    constexpr auto least = BitCast<std::uint32_t>(1e-37f);
    constexpr auto greatest = BitCast<std::uint32_t>(std::numeric_limits<float>::max());
    if (bits - least > greatest - least) [[unlikely]]
        return false;
    // floor(binaryExponent * log10(2)), or one more for a few negative exponents.
    int n = ((static_cast<int>(bits >> 23) - 127) * 78913) >> 18;
    const double wide = static_cast<double>(result);
    const Decade *decade = &Decades[static_cast<std::size_t>(n - LowestDecade)];
    double s = wide * decade->Up;
    if (s < 10000.0) [[unlikely]] {
        --decade;
        s = wide * decade->Up;
    } else if (s >= 100000.0) [[unlikely]] {
        ++decade;
        s = wide * decade->Up;
    }
    // s lies in 10000..100000, where adding and taking away 2^52 rounds it to the nearest
    // integer, an exact half to the even one, as nearbyint does in the default rounding.
    const double digits = (s + 0x1p52) - 0x1p52;
    if (!(0.5 - std::fabs(s - digits) > s * decade->Error)) [[unlikely]]
        return false;
    const double nearest = digits * decade->Down;
    // The 29 bits that a single drops, within 4 units of exactly one half of its last place?
    if ((BitCast<std::uint64_t>(nearest) & 0x1fffffff) - 0x0ffffffc < 8) [[unlikely]]
        return false;
    shown = static_cast<float>(nearest);
    return true;
}

} // namespace pevrand::detail
