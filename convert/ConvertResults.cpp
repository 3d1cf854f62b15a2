// ValueConversion's loop over many values apart from the rest of the command: a program that
// converts one value at a time (the windows) links none of the engine's loop.
#include "ValueConversion.h"

#include <algorithm>
#include <limits>

namespace pevrand
{

namespace
{

template <class Value>
bool ConvertEvery(std::optional<Quantity> input, std::optional<Quantity> output, bool fails,
                  float flightPath, float theta, std::span<const Value> values,
                  std::span<float> results, bool rounded)
{
    if (fails || !input || !output) {
        // Every value fails: on its own checks, or on those every value meets after them.
        std::fill(results.begin(), results.end(), std::numeric_limits<float>::quiet_NaN());
        return values.empty();
    }
    return ConvertValues(*input, *output, flightPath, theta, values, results, rounded);
}

} // namespace

bool ValueConversion::ConvertResults(std::span<const float> values, std::span<float> results,
                                     bool rounded) const
{
    return ConvertEvery(input_, output_, geometryMessage_.has_value(), flightPath_, theta_, values,
                        results, rounded);
}

bool ValueConversion::ConvertResults(std::span<const double> values, std::span<float> results,
                                     bool rounded) const
{
    return ConvertEvery(input_, output_, geometryMessage_.has_value(), flightPath_, theta_, values,
                        results, rounded);
}

PixelGeometry ValueConversion::Geometry() const
{
    if (geometryMessage_ || !input_ || !output_)
        return FailingPixel();
    return PreparePixel(*input_, *output_, flightPath_, theta_);
}

} // namespace pevrand
