// The rounding of a double to single precision, with no check: inline, for loops over many
// values.
#pragma once

#include <cmath>
#include <limits>

namespace pevrand
{

// The smallest magnitude that rounds to infinity in single precision: halfway between
// FLT_MAX and 2^128, which ties to the even neighbour, 2^128.
inline constexpr double SingleOverflowThreshold = 0x1.ffffffp127;

// The single nearest to `value`: what a box holds when a text that reads as `value` is typed
// into it. Beyond the single range an infinity of its sign; NaN stays NaN.
inline float NearestSingle(double value)
{
    if (std::isnan(value))
        return std::numeric_limits<float>::quiet_NaN();
    if (std::fabs(value) >= SingleOverflowThreshold)
        return value > 0 ? std::numeric_limits<float>::infinity()
                         : -std::numeric_limits<float>::infinity();
    return static_cast<float>(value);
}

} // namespace pevrand
