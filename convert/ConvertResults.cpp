// ValueConversion's loop over many values apart from the rest of the command: a program that
// converts one value at a time (the windows) links none of the engine's loop.
#include "ValueConversion.h"

#include <algorithm>
#include <limits>

namespace pevrand
{

bool ValueConversion::ConvertResults(std::span<const float> values, std::span<float> results,
                                     bool rounded) const
{
    if (geometryMessage_ || !input_ || !output_) {
        // Every value fails: on its own checks, or on those every value meets after them.
        std::fill(results.begin(), results.end(), std::numeric_limits<float>::quiet_NaN());
        return values.empty();
    }
    return ConvertValues(*input_, *output_, flightPath_, theta_, values, results, rounded);
}

PixelGeometry ValueConversion::Geometry() const
{
    if (geometryMessage_ || !input_ || !output_)
        return FailingPixel();
    return PreparePixel(*input_, *output_, flightPath_, theta_);
}

} // namespace pevrand
