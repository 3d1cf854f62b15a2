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

using legs::EnergyOf;
using legs::LegGeometry;
using legs::LegInputs;
using legs::ResultOf;
using legs::WithQuantity;

// One value through the square and both legs, its checks noted in `checks`, which must also
// take the value and the result (each greater than 0). Single is one single, or two of them;
// G the geometry's doubles, the same for both or one a lane.
template <Quantity Input, Quantity Output, class Checks, class G>
[[gnu::always_inline]] inline typename Checks::Single
Converted(typename Checks::Single value, const LegGeometry<G> &geometry, Checks &checks)
{
    const auto x = checks.Wide(value);
    checks.Positive(x);
    const LegInputs<Checks> inputs{value, checks.Round(x * x)};
    const auto energy = EnergyOf<Input>(inputs, geometry, legs::ClassicFactors, checks);
    const auto result = ResultOf<Output>(energy, geometry, legs::ClassicFactors, checks);
    checks.Positive(checks.Wide(result));
    return checks.Result(result);
}

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

// Converts each value with one geometry; true when every one converted.
template <Quantity Input, Quantity Output, class Value>
bool ConvertEach(const LegGeometry<double> &geometry, std::span<const Value> values,
                 std::span<float> results)
{
    bool failed = false;
    std::size_t i = 0;
#if defined(__SSE2__)
    // Two at a time: the divisions and square roots, the slowest steps, take no longer for two.
    __m128d anyFailed = _mm_setzero_pd();
    for (; i + 2 <= values.size(); i += 2) {
        checked::NotingPairs checks;
        StorePair(results.data() + i,
                  Converted<Input, Output>(LoadPair(values.data() + i), geometry, checks));
        anyFailed = _mm_or_pd(anyFailed, checks.Failed);
    }
    failed = _mm_movemask_pd(anyFailed) != 0;
#endif
    for (; i < values.size(); ++i) {
        checked::Noting checks;
        results[i] = Converted<Input, Output>(SingleOf(values[i]), geometry, checks);
        failed = failed || checks.Failed;
    }
    return !failed;
}

// ConvertEach with each value's own pixel's geometry, two values of any two pixels at a time.
template <Quantity Input, Quantity Output, class Value>
bool ConvertEachByPixel(std::span<const PixelGeometry> pixels, std::span<const std::size_t> pixelOf,
                        std::span<const Value> values, std::span<float> results)
{
    const auto geometryOf = [&](std::size_t i) {
        const PixelGeometry &pixel = pixels[pixelOf[i]];
        return LegGeometry<double>{pixel.SinTheta, pixel.TofNumerator, pixel.FlightPathMm};
    };
    bool failed = false;
    std::size_t i = 0;
#if defined(__SSE2__)
    __m128d anyFailed = _mm_setzero_pd();
    for (; i + 2 <= values.size(); i += 2) {
        const LegGeometry<double> low = geometryOf(i), high = geometryOf(i + 1);
        // (Only what the pair's legs read is loaded: the rest is dropped as unused.)
        const LegGeometry<checked::DoublePair> lanes{
            _mm_set_pd(high.SinTheta, low.SinTheta),
            _mm_set_pd(high.TofNumerator, low.TofNumerator),
            _mm_set_pd(high.FlightPathMm, low.FlightPathMm)};
        checked::NotingPairs checks;
        StorePair(results.data() + i,
                  Converted<Input, Output>(LoadPair(values.data() + i), lanes, checks));
        anyFailed = _mm_or_pd(anyFailed, checks.Failed);
    }
    failed = _mm_movemask_pd(anyFailed) != 0;
#endif
    for (; i < values.size(); ++i) {
        checked::Noting checks;
        results[i] = Converted<Input, Output>(SingleOf(values[i]), geometryOf(i), checks);
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
            return ConvertEach<Input, Output, Value>(geometry, values, results);
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
            return ConvertEachByPixel<Input, Output, Value>(pixels, pixelOf, values, results);
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
