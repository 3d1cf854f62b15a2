// The double-precision loops over many values apart from the one-value conversion: a program
// that converts one value at a time (the windows, pevrand-convert) links none of them.
#include "WideConversion.h"

#include "CheckedMath.h"
#include "ConversionLegs.h"
#include "Module1.h"

#include <cmath>
#include <limits>

namespace pevrand
{
namespace
{

using legs::Converted;
using legs::LegGeometry;
using legs::WithQuantity;

// Each result as five figures show it; false where they lie beyond the double range, which
// fails the result as any other step beyond it does.
bool ShowEach(std::span<double> results)
{
    bool shown = true;
    for (double &result : results) {
        if (std::isnan(result))
            continue;
        result = ShownWideValue(result);
        if (std::isinf(result)) {
            result = std::numeric_limits<double>::quiet_NaN();
            shown = false;
        }
    }
    return shown;
}

// Converts each value with geometryOf(i), its pixel's, and pairOf(i), the two pixels' of
// values i and i + 1 one a lane; true when every one converted.
template <class GeometryOf, class PairOf>
bool ConvertEvery(const EnergyFactors &factors, Quantity input, Quantity output,
                  std::span<const double> values, std::span<double> results,
                  const GeometryOf &geometryOf, [[maybe_unused]] const PairOf &pairOf)
{
    return WithQuantity(input, [&]<Quantity Input>() {
        return WithQuantity(output, [&]<Quantity Output>() {
            bool failed = false;
            std::size_t i = 0;
#if defined(__SSE2__)
            // Two at a time, as the classic loops go.
            __m128d anyFailed = _mm_setzero_pd();
            for (; i + 2 <= values.size(); i += 2) {
                checked::NotingWidePairs checks;
                _mm_storeu_pd(results.data() + i,
                              Converted<Input, Output>(_mm_loadu_pd(values.data() + i), pairOf(i),
                                                       factors, checks));
                anyFailed = _mm_or_pd(anyFailed, checks.Failed);
            }
            failed = _mm_movemask_pd(anyFailed) != 0;
#endif
            for (; i < values.size(); ++i) {
                checked::NotingWide checks;
                results[i] = Converted<Input, Output>(values[i], geometryOf(i), factors, checks);
                failed = failed || checks.Failed;
            }
            return !failed;
        });
    });
}

} // namespace

PixelGeometry PrepareWidePixel(Edition edition, Quantity input, Quantity output, double flightPath,
                               double theta)
{
    checked::NotingWide checks;
    const LegGeometry<double> geometry =
        legs::PairGeometry(input, output, flightPath, theta, RowOf(edition).Factors, checks);
    if (checks.Failed)
        return FailingPixel();
    return {geometry.SinTheta, geometry.TofNumerator, geometry.FlightPathMm};
}

bool ConvertWideValues(Edition edition, Quantity input, Quantity output, double flightPath,
                       double theta, std::span<const double> values, std::span<double> results,
                       bool shown)
{
    const PixelGeometry pixel = PrepareWidePixel(edition, input, output, flightPath, theta);
    const LegGeometry<double> geometry = legs::GeometryOf(pixel);
    const auto same = [&](std::size_t) { return geometry; };
    const bool converted =
        ConvertEvery(RowOf(edition).Factors, input, output, values, results, same, same);
    return shown ? ShowEach(results) && converted : converted;
}

bool ConvertWideValuesByPixel(Edition edition, Quantity input, Quantity output,
                              std::span<const PixelGeometry> pixels,
                              std::span<const std::size_t> pixelOf, std::span<const double> values,
                              std::span<double> results, bool shown)
{
    const auto geometryOf = [&](std::size_t i) { return legs::GeometryOf(pixels[pixelOf[i]]); };
#if defined(__SSE2__)
    const auto pairOf = [&](std::size_t i) {
        return legs::LanesOf(pixels[pixelOf[i]], pixels[pixelOf[i + 1]]);
    };
#else
    const auto pairOf = geometryOf;
#endif
    const bool converted =
        ConvertEvery(RowOf(edition).Factors, input, output, values, results, geometryOf, pairOf);
    return shown ? ShowEach(results) && converted : converted;
}

} // namespace pevrand
