// ConvertValues apart from the one-value conversion: a program that never converts many values
// at once (the windows) links none of it, nor the shown values it rounds to.
#include "Conversion.h"

#include "CheckedMath.h"
#include "ConversionLegs.h"
#include "Module1.h"
#include "ShownRounding.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>

namespace pevrand
{
namespace
{

using legs::EnergyOf;
using legs::LegInputs;
using legs::ResultOf;
using legs::UsesAngle;
using legs::WithQuantity;

// One value through the square and both legs, its checks noted in `checks`, which must also
// take the value and the result (each greater than 0). Single is one single, or two of them.
template <Quantity Input, Quantity Output, class Checks>
[[gnu::always_inline]] inline typename Checks::Single
Converted(typename Checks::Single value, float flightPath, double sinTheta, Checks &checks)
{
    const auto x = checks.Wide(value);
    checks.Positive(x);
    const LegInputs<Checks> inputs{value, checks.ToSingle(x * x), flightPath};
    const auto energy = EnergyOf<Input>(inputs, sinTheta, checks);
    const auto result = ResultOf<Output>(energy, inputs, sinTheta, checks);
    checks.Positive(checks.Wide(result));
    return checks.Result(result);
}

// Converts each value; true when every one converted.
template <Quantity Input, Quantity Output>
bool ConvertEach(float flightPath, float theta, std::span<const float> values,
                 std::span<float> results)
{
    // sin(theta) once for all the values: the angular legs take the same one each time.
    const double sinTheta =
        UsesAngle(Input) || UsesAngle(Output) ? std::sin(static_cast<double>(theta)) : 0.0;
    bool failed = false;
    std::size_t i = 0;
#if defined(__SSE2__)
    // Two at a time: the divisions and square roots, the slowest steps, take no longer for two.
    __m128d anyFailed = _mm_setzero_pd();
    for (; i + 2 <= values.size(); i += 2) {
        checked::NotingPairs checks;
        const __m128 pair =
            _mm_castsi128_ps(_mm_loadl_epi64(reinterpret_cast<const __m128i *>(values.data() + i)));
        _mm_storel_epi64(
            reinterpret_cast<__m128i *>(results.data() + i),
            _mm_castps_si128(Converted<Input, Output>(pair, flightPath, sinTheta, checks)));
        anyFailed = _mm_or_pd(anyFailed, checks.Failed);
    }
    failed = _mm_movemask_pd(anyFailed) != 0;
#endif
    for (; i < values.size(); ++i) {
        checked::Noting checks;
        results[i] = Converted<Input, Output>(values[i], flightPath, sinTheta, checks);
        failed = failed || checks.Failed;
    }
    return !failed;
}

// ConvertEach with each value's own pixel's geometry: one value at a time, for the values of a
// pair seldom share a pixel.
template <Quantity Input, Quantity Output>
bool ConvertEachByPixel(std::span<const PixelGeometry> pixels, std::span<const std::size_t> pixelOf,
                        std::span<const float> values, std::span<float> results)
{
    bool failed = false;
    for (std::size_t i = 0; i < values.size(); ++i) {
        const PixelGeometry &pixel = pixels[pixelOf[i]];
        checked::Noting checks;
        results[i] = Converted<Input, Output>(values[i], pixel.FlightPath, pixel.SinTheta, checks);
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

} // namespace

bool ConvertValues(Quantity input, Quantity output, float flightPath, float theta,
                   std::span<const float> values, std::span<float> results, bool shown)
{
    const bool converted = WithQuantity(input, [&]<Quantity Input>() {
        return WithQuantity(output, [&]<Quantity Output>() {
            return ConvertEach<Input, Output>(flightPath, theta, values, results);
        });
    });
    if (shown)
        ShowEach(results);
    return converted;
}

PixelGeometry PreparePixel(Quantity input, Quantity output, float flightPath, float theta)
{
    // As ConvertEach forms it.
    const double sinTheta =
        UsesAngle(input) || UsesAngle(output) ? std::sin(static_cast<double>(theta)) : 0.0;
    return {flightPath, sinTheta};
}

bool ConvertValuesByPixel(Quantity input, Quantity output, std::span<const PixelGeometry> pixels,
                          std::span<const std::size_t> pixelOf, std::span<const float> values,
                          std::span<float> results, bool shown)
{
    const bool converted = WithQuantity(input, [&]<Quantity Input>() {
        return WithQuantity(output, [&]<Quantity Output>() {
            return ConvertEachByPixel<Input, Output>(pixels, pixelOf, values, results);
        });
    });
    if (shown)
        ShowEach(results);
    return converted;
}

} // namespace pevrand
