#include "WideConversion.h"

#include "CheckedMath.h"
#include "ConversionLegs.h"
#include <numbers>

namespace pevrand
{
namespace
{

using legs::EnergyOf;
using legs::LegInputs;
using legs::ResultOf;
using legs::WithQuantity;

constexpr double DefaultFlightPath = 10.0;
constexpr double DegreesPerHalfTurn = 360.0;

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

} // namespace pevrand
