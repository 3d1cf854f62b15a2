// ConvertValues apart from the one-value conversion: a program that never converts many values
// at once (the windows) links none of it, nor the shown values it rounds to.
#include "Conversion.h"

#include "CheckedMath.h"
#include "ConversionLegs.h"
#include "Module1.h"
#include "NearestSingle.h"
#include "ShownRounding.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>

namespace pevrand
{
namespace
{

using legs::Converted;
using legs::LegGeometry;
using legs::WithQuantity;

// A value as the input box would hold it: a single as it is, a double as the single nearest to
// it (an infinity beyond the single range, NaN as NaN).
inline float SingleOf(float value)
{
    return value;
}

inline float SingleOf(double value)
{
    return NearestSingle(value);
}

#if defined(__SSE2__)
// Two values from memory as singles, in the low half of a register.
__m128 LoadPair(const float *at)
{
    return _mm_castsi128_ps(_mm_loadl_epi64(reinterpret_cast<const __m128i *>(at)));
}

__m128 LoadPair(const double *at)
{
    return _mm_cvtpd_ps(_mm_loadu_pd(at));
}

void StorePair(float *at, __m128 pair)
{
    _mm_storel_epi64(reinterpret_cast<__m128i *>(at), _mm_castps_si128(pair));
}
#endif

// Converts each value with geometryOf(i), its pixel's, two values at a time with pairOf(i),
// the two pixels' of values i and i + 1, one a lane; true when every one converted.
template <Quantity Input, Quantity Output, class Value, class GeometryOf, class PairOf>
bool ConvertEach(std::span<const Value> values, std::span<float> results,
                 const GeometryOf &geometryOf, [[maybe_unused]] const PairOf &pairOf)
{
    bool failed = false;
    std::size_t i = 0;
#if defined(__SSE2__)
    // Two at a time: the divisions and square roots, the slowest steps, take no longer for two.
    __m128d anyFailed = _mm_setzero_pd();
    for (; i + 2 <= values.size(); i += 2) {
        checked::NotingPairs checks;
        StorePair(results.data() + i,
                  Converted<Input, Output>(LoadPair(values.data() + i), pairOf(i),
                                           legs::ClassicFactors, checks));
        anyFailed = _mm_or_pd(anyFailed, checks.Failed);
    }
    failed = _mm_movemask_pd(anyFailed) != 0;
#endif
    for (; i < values.size(); ++i) {
        checked::Noting checks;
        results[i] = Converted<Input, Output>(SingleOf(values[i]), geometryOf(i),
                                              legs::ClassicFactors, checks);
        failed = failed || checks.Failed;
    }
    return !failed;
}

// The results ShowEach takes between two passes of the long way: as many as a mask has bits.
constexpr std::size_t Block = 64;

// Each result as the output box shows it, NaN staying NaN: the short way where it is certain,
// then the long way for the others of the block, so that the loop itself makes no call. A loop
// of its own, not the conversion's, so that neither's chain of steps grows too long for the
// processor to take several values at once.
void ShowEach(std::span<float> results)
{
    for (std::size_t first = 0; first < results.size(); first += Block) {
        const std::span<float> block =
            results.subspan(first, std::min(Block, results.size() - first));
        std::uint64_t longWay = 0;
        for (std::size_t i = 0; i < block.size(); ++i) {
            const bool certain = detail::ShortShownResult(block[i], block[i]);
            longWay |= std::uint64_t{!certain && !std::isnan(block[i])} << i;
        }
        for (; longWay != 0; longWay &= longWay - 1) {
            // (std::countr_zero, which emscripten's library lacks)
            float &result = block[static_cast<std::size_t>(__builtin_ctzll(longWay))];
            result = ShownValue(RoundSigFigs(result, ShownFigures));
        }
    }
}

template <class Value>
bool ConvertAll(Quantity input, Quantity output, float flightPath, float theta,
                std::span<const Value> values, std::span<float> results, bool shown)
{
    checked::Noting checks;
    const LegGeometry<double> geometry =
        legs::PairGeometry(input, output, flightPath, theta, legs::ClassicFactors, checks);
    if (checks.Failed) {
        // The geometry fails every value.
        std::fill(results.begin(), results.end(), std::numeric_limits<float>::quiet_NaN());
        return values.empty();
    }
    const bool converted = WithQuantity(input, [&]<Quantity Input>() {
        return WithQuantity(output, [&]<Quantity Output>() {
            const auto same = [&](std::size_t) { return geometry; };
            return ConvertEach<Input, Output>(values, results, same, same);
        });
    });
    if (shown)
        ShowEach(results);
    return converted;
}

template <class Value>
bool ConvertAllByPixel(Quantity input, Quantity output, std::span<const PixelGeometry> pixels,
                       std::span<const std::size_t> pixelOf, std::span<const Value> values,
                       std::span<float> results, bool shown)
{
    const bool converted = WithQuantity(input, [&]<Quantity Input>() {
        return WithQuantity(output, [&]<Quantity Output>() {
            const auto geometryOf = [&](std::size_t i) {
                return legs::GeometryOf(pixels[pixelOf[i]]);
            };
#if defined(__SSE2__)
            const auto pairOf = [&](std::size_t i) {
                return legs::LanesOf(pixels[pixelOf[i]], pixels[pixelOf[i + 1]]);
            };
#else
            const auto pairOf = geometryOf;
#endif
            return ConvertEach<Input, Output>(values, results, geometryOf, pairOf);
        });
    });
    if (shown)
        ShowEach(results);
    return converted;
}

} // namespace

PixelGeometry PreparePixel(Quantity input, Quantity output, float flightPath, float theta)
{
    checked::Noting checks;
    const LegGeometry<double> geometry =
        legs::PairGeometry(input, output, flightPath, theta, legs::ClassicFactors, checks);
    if (checks.Failed)
        return FailingPixel();
    return {geometry.SinTheta, geometry.TofNumerator, geometry.FlightPathMm};
}

PixelGeometry FailingPixel()
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    return {nan, nan, nan};
}

bool ConvertValues(Quantity input, Quantity output, float flightPath, float theta,
                   std::span<const float> values, std::span<float> results, bool shown)
{
    return ConvertAll(input, output, flightPath, theta, values, results, shown);
}

bool ConvertValues(Quantity input, Quantity output, float flightPath, float theta,
                   std::span<const double> values, std::span<float> results, bool shown)
{
    return ConvertAll(input, output, flightPath, theta, values, results, shown);
}

bool ConvertValuesByPixel(Quantity input, Quantity output, std::span<const PixelGeometry> pixels,
                          std::span<const std::size_t> pixelOf, std::span<const float> values,
                          std::span<float> results, bool shown)
{
    return ConvertAllByPixel(input, output, pixels, pixelOf, values, results, shown);
}

bool ConvertValuesByPixel(Quantity input, Quantity output, std::span<const PixelGeometry> pixels,
                          std::span<const std::size_t> pixelOf, std::span<const double> values,
                          std::span<float> results, bool shown)
{
    return ConvertAllByPixel(input, output, pixels, pixelOf, values, results, shown);
}

} // namespace pevrand
