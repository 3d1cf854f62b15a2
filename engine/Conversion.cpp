#include "Conversion.h"

#include "CheckedMath.h"

#include <cmath>

namespace pevrand
{
namespace
{

using checked::Divide;
using checked::Finite;
using checked::Sqrt;
using checked::ToSingle;

// Constants as held: the doubles nearest to these decimals, and the exact singles.
constexpr double WavelengthFactor = 81.787;    // E = 81.787 / lambda^2
constexpr double NuFactor = 4.1354;            // E = 4.1354 * nu
constexpr double VelocityFactor = 5.2276e-06;  // E = 5.2276e-06 * v^2
constexpr double TofFactor = 5.2276;           // 5.2276e-06 * 10^6, for the time-of-flight result
constexpr double MomentumFactor = 2.0717;      // E = 2.0717 * k^2
constexpr double TemperatureFactor = 0.086165; // E = 0.086165 * T
constexpr double InvcmFactor = 0.123975;       // E = 0.123975 * wavenumber
constexpr double Half = 0.5;
constexpr double MicrometresPerMetre = 1000000.0;
constexpr float MillimetresPerMetre = 1000.0f;
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

bool IsTof(std::optional<Quantity> side)
{
    return side == Quantity::Tof;
}

bool IsAngular(std::optional<Quantity> side)
{
    return side == Quantity::Q || side == Quantity::Dspacing;
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
    return IsTof(input) != IsTof(output);
}

bool NeedsAngle(std::optional<Quantity> input, std::optional<Quantity> output)
{
    return IsAngular(input) != IsAngular(output);
}

float ThetaFromTwoTheta(float twoTheta)
{
    return ToSingle(Divide(Finite(Wide(SinglePi()) * Wide(twoTheta)), Wide(DegreesPerHalfTurn)));
}

float EnergyFromInput(Quantity input, const ConversionInputs &inputs)
{
    const double x = Wide(inputs.InputValue);
    const double x2 = Wide(inputs.InputSquare);
    switch (input) {
    case Quantity::Energy:
        return inputs.InputValue;
    case Quantity::Wavelength:
        return ToSingle(Divide(WavelengthFactor, x2));
    case Quantity::Nu:
        return ToSingle(Finite(x * NuFactor));
    case Quantity::Velocity:
        return ToSingle(Finite(x2 * VelocityFactor));
    case Quantity::Momentum:
        return ToSingle(Finite(x2 * MomentumFactor));
    case Quantity::Temperature:
        return ToSingle(Finite(x * TemperatureFactor));
    case Quantity::Invcm:
        return ToSingle(Finite(x * InvcmFactor));
    case Quantity::Q: {
        const double s = std::sin(Wide(inputs.Theta));
        const double k = Wide(ToSingle(Divide(Finite(x * Half), s)));
        return ToSingle(Finite(Finite(k * MomentumFactor) * k));
    }
    case Quantity::Dspacing: {
        const double s = std::sin(Wide(inputs.Theta));
        const double lambda = Wide(ToSingle(Finite(Finite(x + x) * s)));
        return ToSingle(Divide(WavelengthFactor, Finite(lambda * lambda)));
    }
    case Quantity::Tof: {
        const double lMicro = Wide(ToSingle(Finite(Wide(inputs.FlightPath) * MicrometresPerMetre)));
        return ToSingle(Divide(Finite(Finite(lMicro * VelocityFactor) * lMicro), x2));
    }
    }
    throw ArithmeticError("unknown input quantity");
}

float ResultFromEnergy(Quantity output, float energyMeV, const ConversionInputs &inputs)
{
    const double e = Wide(energyMeV);
    switch (output) {
    case Quantity::Energy:
        return energyMeV;
    case Quantity::Wavelength:
        return ToSingle(Sqrt(Divide(WavelengthFactor, e)));
    case Quantity::Nu:
        return ToSingle(Divide(e, NuFactor));
    case Quantity::Velocity:
        return ToSingle(Sqrt(Divide(e, VelocityFactor)));
    case Quantity::Momentum:
        return ToSingle(Sqrt(Divide(e, MomentumFactor)));
    case Quantity::Temperature:
        return ToSingle(Divide(e, TemperatureFactor));
    case Quantity::Invcm:
        return ToSingle(Divide(e, InvcmFactor));
    case Quantity::Q: {
        const double k = Wide(ToSingle(Sqrt(Divide(e, MomentumFactor))));
        const double s = std::sin(Wide(inputs.Theta));
        return ToSingle(Finite(Finite(k + k) * s));
    }
    case Quantity::Dspacing: {
        const double lambda = Wide(ToSingle(Sqrt(Divide(WavelengthFactor, e))));
        const double s = std::sin(Wide(inputs.Theta));
        return ToSingle(Divide(Finite(lambda * Half), s));
    }
    case Quantity::Tof: {
        // L * 1000 stays a double: it is not rounded to single before the product.
        const double r = Sqrt(Divide(TofFactor, e));
        return ToSingle(Finite(Finite(Wide(inputs.FlightPath) * Wide(MillimetresPerMetre)) * r));
    }
    }
    throw ArithmeticError("unknown output quantity");
}

} // namespace pevrand
