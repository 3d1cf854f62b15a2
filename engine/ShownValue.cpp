// ShownValue and ShownResult apart from the rest of Module1: a program that never asks for them
// (the windows) links none of them, nor the single-precision reading they fall back on.
#include "Module1.h"
#include "NumberText.h"
#include "PowersOfTen.h"
#include "ShownRounding.h"

#include <fast_float/fast_float.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>

namespace pevrand
{
namespace
{

using detail::PowersOfTen;
using detail::ShortShownResult;

} // namespace

float ShownValue(float rounded)
{
    // What the box shows is `rounded` correctly rounded to five figures, D * 10^p with D in
    // 10000..99999. RoundSigFigs leaves its result within a few units in the last place of such
    // a decimal, so `rounded` scaled by 10^-p in double lies within hundredths of D. Where it
    // lies within 0.4, D is the correct rounding whatever the scaling's error (below 1e-11),
    // and one correctly rounded step from D gives the nearest double to D * 10^p, whose nearest
    // single is the nearest single to D * 10^p unless that double is halfway between two
    // singles. Every other case, and every value whose p lies beyond the exact powers of ten,
    // reads the box's text.
    const auto scaled = [&](double value, int p) {
        return p >= 0 ? value / PowersOfTen[p] : value * PowersOfTen[-p];
    };
    // Between these bounds p lies in -22..21, within the table.
    if (rounded > 1e-17f && rounded < 1e25f) {
        int binaryExponent = 0;
        std::frexp(rounded, &binaryExponent);
        // log10(rounded) lies in [(e - 1) log10 2, e log10 2): its floor is this or one more.
        int p = static_cast<int>(std::floor((binaryExponent - 1) * 0.30102999566398120)) - 4;
        double s = scaled(rounded, p);
        if (s >= 99999.5) {
            ++p;
            s = scaled(rounded, p);
        }
        const double digits = std::nearbyint(s);
        // Just below 10000 the fifth figure is a tenth of a unit, and only from 9999.95 up does
        // it round up to 10000 too.
        if (digits >= 10000.0 && digits <= 99999.0 && std::fabs(s - digits) <= 0.4 &&
            s >= 9999.97) {
            const double nearest = p >= 0 ? digits * PowersOfTen[p] : digits / PowersOfTen[-p];
            std::uint64_t bits = 0;
            std::memcpy(&bits, &nearest, sizeof bits);
            // The 29 bits that a single drops: exactly one half of its last place?
            if ((bits & 0x1fffffff) != 0x10000000)
                return static_cast<float>(nearest);
        }
    }
    const std::string text = ShownText(rounded);
    float value = 0.0f;
    fast_float::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

float ShownResult(float result)
{
    float shown = 0.0f;
    if (ShortShownResult(result, shown))
        return shown;
    return ShownValue(RoundSigFigs(result, ShownFigures));
}

} // namespace pevrand
