// The value conversion's loops over many values apart from the rest of the command: a program
// that converts one value at a time (the windows) links none of the engine's loops.
#include "ValueConversion.h"

#include "engine/WideConversion.h"

#include <algorithm>
#include <limits>

namespace pevrand
{
namespace
{

// Every value fails, on its own checks or on those every value meets after them: NaN for each.
template <class Result> bool FailEvery(std::size_t values, std::span<Result> results)
{
    std::fill(results.begin(), results.end(), std::numeric_limits<Result>::quiet_NaN());
    return values == 0;
}

} // namespace

template <class Number>
bool BasicValueConversion<Number>::ConvertResults(std::span<const Number> values,
                                                  std::span<Number> results, bool rounded) const
{
    if (geometryMessage_ || !input_ || !output_)
        return FailEvery(values.size(), results);
    if constexpr (std::is_same_v<Number, float>)
        return ConvertValues(*input_, *output_, flightPath_, theta_, values, results, rounded);
    else
        return ConvertWideValues(edition_, *input_, *output_, flightPath_, theta_, values, results,
                                 rounded);
}

template <class Number>
bool BasicValueConversion<Number>::ConvertResults(
    std::span<const double> values, std::span<float> results,
    bool rounded) const requires std::same_as<Number, float>
{
    if (geometryMessage_ || !input_ || !output_)
        return FailEvery(values.size(), results);
    return ConvertValues(*input_, *output_, flightPath_, theta_, values, results, rounded);
}

template <class Number> PixelGeometry BasicValueConversion<Number>::Geometry() const
{
    if (geometryMessage_ || !input_ || !output_)
        return FailingPixel();
    if constexpr (std::is_same_v<Number, float>)
        return PreparePixel(*input_, *output_, flightPath_, theta_);
    else
        return PrepareWidePixel(edition_, *input_, *output_, flightPath_, theta_);
}

template bool BasicValueConversion<float>::ConvertResults(std::span<const float>, std::span<float>,
                                                          bool) const;
template bool BasicValueConversion<double>::ConvertResults(std::span<const double>,
                                                           std::span<double>, bool) const;
template bool BasicValueConversion<float>::ConvertResults(std::span<const double>, std::span<float>,
                                                          bool) const;
template PixelGeometry BasicValueConversion<float>::Geometry() const;
template PixelGeometry BasicValueConversion<double>::Geometry() const;

} // namespace pevrand
