#include "WideConversion.h"

#include "CheckedMath.h"
#include "ConversionLegs.h"
#include "Module1.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

namespace pevrand
{
namespace
{

using legs::EnergyOf;
using legs::LegGeometry;
using legs::LegInputs;
using legs::ResultOf;
using legs::WithQuantity;

constexpr double DefaultFlightPath = 10.0;
constexpr double DegreesPerHalfTurn = 360.0;

// One value through the square and both legs, its checks noted.
template <Quantity Input, Quantity Output>
double Converted(double value, const LegGeometry<double> &geometry, const EnergyFactors &factors,
                 checked::NotingWide &checks)
{
    checks.Positive(value);
    const LegInputs<checked::NotingWide> inputs{value, checks.Round(value * value)};
    const double energy = EnergyOf<Input>(inputs, geometry, factors, checks);
    const double result = ResultOf<Output>(energy, geometry, factors, checks);
    checks.Positive(result);
    return checks.Result(result);
}

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

template <class GeometryOf>
bool ConvertEvery(const EnergyFactors &factors, Quantity input, Quantity output,
                  std::span<const double> values, std::span<double> results,
                  const GeometryOf &geometryOf)
{
    return WithQuantity(input, [&]<Quantity Input>() {
        return WithQuantity(output, [&]<Quantity Output>() {
            bool failed = false;
            for (std::size_t i = 0; i < values.size(); ++i) {
                checked::NotingWide checks;
                results[i] = Converted<Input, Output>(values[i], geometryOf(i), factors, checks);
                failed = failed || checks.Failed;
            }
            return !failed;
        });
    });
}

} // namespace

WideInputs WideInputsForValue(double value)
{
    return {value, checked::Finite(value * value), DefaultFlightPath, std::numbers::pi * 0.25};
}

double WideThetaFromTwoTheta(double twoTheta)
{
    return checked::Finite(std::numbers::pi * twoTheta) / DegreesPerHalfTurn;
}

double WideEnergyFromInput(Edition edition, Quantity input, const WideInputs &inputs)
{
    const EnergyFactors &factors = RowOf(edition).Factors;
    return WithQuantity(input, [&]<Quantity Input>() {
        checked::ThrowingWide checks;
        const auto geometry =
            legs::SideGeometry(Input, true, inputs.FlightPath, inputs.Theta, factors, checks);
        return EnergyOf<Input>(
            LegInputs<checked::ThrowingWide>{inputs.InputValue, inputs.InputSquare}, geometry,
            factors, checks);
    });
}

double WideResultFromEnergy(Edition edition, Quantity output, double energyMeV,
                            const WideInputs &inputs)
{
    const EnergyFactors &factors = RowOf(edition).Factors;
    return WithQuantity(output, [&]<Quantity Output>() {
        checked::ThrowingWide checks;
        const auto geometry =
            legs::SideGeometry(Output, false, inputs.FlightPath, inputs.Theta, factors, checks);
        return ResultOf<Output>(energyMeV, geometry, factors, checks);
    });
}

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
    const LegGeometry<double> geometry{pixel.SinTheta, pixel.TofNumerator, pixel.FlightPathMm};
    const bool converted = ConvertEvery(RowOf(edition).Factors, input, output, values, results,
                                        [&](std::size_t) { return geometry; });
    return shown ? ShowEach(results) && converted : converted;
}

bool ConvertWideValuesByPixel(Edition edition, Quantity input, Quantity output,
                              std::span<const PixelGeometry> pixels,
                              std::span<const std::size_t> pixelOf, std::span<const double> values,
                              std::span<double> results, bool shown)
{
    const bool converted =
        ConvertEvery(RowOf(edition).Factors, input, output, values, results, [&](std::size_t i) {
            const PixelGeometry &pixel = pixels[pixelOf[i]];
            return LegGeometry<double>{pixel.SinTheta, pixel.TofNumerator, pixel.FlightPathMm};
        });
    return shown ? ShowEach(results) && converted : converted;
}

} // namespace pevrand
