#include "ConvertCommand.h"

#include "engine/Module1.h"
#include "engine/NumberText.h"

namespace pevrand
{
namespace
{

ConvertOutcome Message(const char *text, FocusTarget focus)
{
    return {{}, text, focus};
}

constexpr const char *DecimalComma = "Use a period as the decimal point";

ConvertOutcome Convert(const ConvertRequest &request)
{
    if (request.InputText.empty())
        return Message("No input value specified", FocusTarget::InputVal);
    if (HasDecimalComma(request.InputText))
        return Message(DecimalComma, FocusTarget::InputVal);
    const float value = ReadSingle(request.InputText);
    if (!(value > 0.0f))
        return Message("Non-positive values not allowed", FocusTarget::Unchanged);
    ConversionInputs inputs = InputsForValue(value);

    if (NeedsFlightPath(request.Input, request.Output)) {
        if (request.FlightPathText.empty())
            return Message("Total flight path not specified", FocusTarget::TotalFlightPath);
        if (HasDecimalComma(request.FlightPathText))
            return Message(DecimalComma, FocusTarget::TotalFlightPath);
        inputs.FlightPath = ReadSingle(request.FlightPathText);
        if (!(inputs.FlightPath > 0.0f))
            return Message("Total flight path must be positive", FocusTarget::TotalFlightPath);
    }

    if (NeedsAngle(request.Input, request.Output)) {
        if (request.TwoThetaText.empty())
            return Message("Scattering angle not specified", FocusTarget::TwoTheta);
        if (HasDecimalComma(request.TwoThetaText))
            return Message(DecimalComma, FocusTarget::TwoTheta);
        const float twoTheta = ReadSingle(request.TwoThetaText);
        if (twoTheta < 0.0f || twoTheta > 180.0f)
            return Message("2 theta must be in the range 0 to 180 degrees", FocusTarget::TwoTheta);
        // Every leg that uses the angle divides by sin(theta) or yields 0 at theta = 0.
        inputs.Theta = ThetaFromTwoTheta(twoTheta);
        if (inputs.Theta == 0.0f)
            return Message("2 theta must be greater than 0 for this conversion",
                           FocusTarget::TwoTheta);
    }

    if (!request.Input)
        return Message("Input units not specified, or not yet available", FocusTarget::EnergyIn);
    const float energy = EnergyFromInput(*request.Input, inputs);

    if (!request.Output)
        return Message("Output units not specified, or not yet available", FocusTarget::EnergyOut);
    const Result result = ResultFromEnergy(*request.Output, energy, inputs);

    return {ResultText(result), {}, FocusTarget::Unchanged};
}

} // namespace

ConvertOutcome RunConvert(const ConvertRequest &request)
{
    try {
        return Convert(request);
    } catch (const ArithmeticError &) {
        return Message("Value out of range for this conversion", FocusTarget::InputVal);
    }
}

} // namespace pevrand
