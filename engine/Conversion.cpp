#include "Conversion.h"

#include "CheckedMath.h"
#include "ConversionLegs.h"
#include "Quantities.h"

#include <cmath>

namespace pevrand
{
namespace
{

using checked::Divide;
using checked::Finite;
using checked::ToSingle;
using legs::EnergyOf;
using legs::LegInputs;
using legs::ResultOf;
using legs::WithQuantity;

constexpr float DegreesPerHalfTurn = 360.0f; // 2 theta in degrees to theta in radians
constexpr float DefaultFlightPath = 10.0f;

double Wide(float value)
{
    return static_cast<double>(value);
}

// Pi as the single nearest to it, formed from the double arctangent of 1.
float SinglePi()
{
    return ToSingle(Finite(std::atan(1.0) * 4.0));
}

// An unselected side reads no geometry.
bool ReadsFlightPath(std::optional<Quantity> side)
{
    return side && RowOf(*side).ReadsFlightPath;
}

bool ReadsAngle(std::optional<Quantity> side)
{
    return side && RowOf(*side).ReadsAngle;
}

LegInputs<checked::Throwing> LegsOf(const ConversionInputs &inputs)
{
    return {inputs.InputValue, inputs.InputSquare};
}

} // namespace

ConversionInputs DefaultConversionInputs()
{
    return {0.0f, 0.0f, DefaultFlightPath, ToSingle(Finite(Wide(SinglePi()) * 0.25))};
}

ConversionInputs InputsForValue(float value)
{
    ConversionInputs inputs = DefaultConversionInputs();
    inputs.InputValue = value;
    inputs.InputSquare = ToSingle(Wide(value) * Wide(value));
    return inputs;
}

bool NeedsFlightPath(std::optional<Quantity> input, std::optional<Quantity> output)
{
    return ReadsFlightPath(input) != ReadsFlightPath(output);
}

bool NeedsAngle(std::optional<Quantity> input, std::optional<Quantity> output)
{
    return ReadsAngle(input) != ReadsAngle(output);
}

float ThetaFromTwoTheta(float twoTheta)
{
    return ToSingle(Divide(Finite(Wide(SinglePi()) * Wide(twoTheta)), Wide(DegreesPerHalfTurn)));
}

float EnergyFromInput(Quantity input, const ConversionInputs &inputs)
{
    return WithQuantity(input, [&]<Quantity Input>() {
        checked::Throwing checks;
        const auto geometry = legs::SideGeometry(Input, true, inputs.FlightPath, inputs.Theta,
                                                 legs::ClassicFactors, checks);
        return EnergyOf<Input>(LegsOf(inputs), geometry, legs::ClassicFactors, checks);
    });
}

float ResultFromEnergy(Quantity output, float energyMeV, const ConversionInputs &inputs)
{
    return WithQuantity(output, [&]<Quantity Output>() {
        checked::Throwing checks;
        const auto geometry = legs::SideGeometry(Output, false, inputs.FlightPath, inputs.Theta,
                                                 legs::ClassicFactors, checks);
        return ResultOf<Output>(energyMeV, geometry, legs::ClassicFactors, checks);
    });
}

} // namespace pevrand
