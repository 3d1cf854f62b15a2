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
constexpr const char *OutOfRange = "Value out of range for this conversion";

} // namespace

BoxReading ReadBox(std::string_view text)
{
    if (text.empty())
        return {};
    if (HasDecimalComma(text))
        return {BoxReading::State::DecimalComma};
    return {BoxReading::State::Number, ReadSingle(text)};
}

ValueConversion::ValueConversion(std::optional<Quantity> input, std::optional<Quantity> output,
                                 BoxReading twoTheta, BoxReading flightPath)
    : input_(input), output_(output), flightPath_(DefaultConversionInputs().FlightPath),
      theta_(DefaultConversionInputs().Theta)
{
    using State = BoxReading::State;
    if (NeedsFlightPath(input, output)) {
        flightPath_ = flightPath.Number;
        if (flightPath.Is == State::Empty)
            geometryMessage_ = "Total flight path not specified";
        else if (flightPath.Is == State::DecimalComma)
            geometryMessage_ = DecimalComma;
        else if (!(flightPath_ > 0.0f))
            geometryMessage_ = "Total flight path must be positive";
        if (geometryMessage_) {
            geometryFocus_ = FocusTarget::TotalFlightPath;
            return;
        }
    }

    if (NeedsAngle(input, output)) {
        if (twoTheta.Is == State::Empty) {
            geometryMessage_ = "Scattering angle not specified";
        } else if (twoTheta.Is == State::DecimalComma) {
            geometryMessage_ = DecimalComma;
        } else if (!(twoTheta.Number >= 0.0f && twoTheta.Number <= 180.0f)) {
            // (A box never reads as NaN; a caller's number may be one, and is out of range.)
            geometryMessage_ = "2 theta must be in the range 0 to 180 degrees";
        } else {
            // Every leg that uses the angle divides by sin(theta) or yields 0 at theta = 0.
            theta_ = ThetaFromTwoTheta(twoTheta.Number);
            if (theta_ == 0.0f)
                geometryMessage_ = "2 theta must be greater than 0 for this conversion";
        }
        if (geometryMessage_)
            geometryFocus_ = FocusTarget::TwoTheta;
    }
}

ValueConversion::Outcome ValueConversion::Convert(float value) const
{
    const auto message = [](const char *text, FocusTarget focus) {
        return Outcome{0.0f, 0.0f, text, focus};
    };
    if (!(value > 0.0f))
        return message("Non-positive values not allowed", FocusTarget::Unchanged);
    try {
        // The square is formed before the geometry is looked at: a value too large for it is
        // out of range whatever the geometry boxes hold.
        ConversionInputs inputs = InputsForValue(value);
        if (geometryMessage_)
            return message(geometryMessage_, geometryFocus_);
        inputs.FlightPath = flightPath_;
        inputs.Theta = theta_;

        if (!input_)
            return message("Input units not specified, or not yet available",
                           FocusTarget::EnergyIn);
        const float energy = EnergyFromInput(*input_, inputs);
        if (!output_)
            return message("Output units not specified, or not yet available",
                           FocusTarget::EnergyOut);
        const float result = ResultFromEnergy(*output_, energy, inputs);
        return {result, RoundSigFigs(result, ShownFigures)};
    } catch (const ArithmeticError &) {
        return message(OutOfRange, FocusTarget::InputVal);
    }
}

bool ValueConversion::IsGeometryMessage(const Outcome &outcome)
{
    return outcome.Message && (outcome.Focus == FocusTarget::TotalFlightPath ||
                               outcome.Focus == FocusTarget::TwoTheta);
}

ConvertOutcome RunConvert(const ConvertRequest &request)
{
    if (request.InputText.empty())
        return Message("No input value specified", FocusTarget::InputVal);
    if (HasDecimalComma(request.InputText))
        return Message(DecimalComma, FocusTarget::InputVal);
    const ValueConversion conversion(request.Input, request.Output, ReadBox(request.TwoThetaText),
                                     ReadBox(request.FlightPathText));
    const ValueConversion::Outcome outcome = conversion.Convert(ReadSingle(request.InputText));
    if (outcome.Message)
        return Message(outcome.Message, outcome.Focus);
    return {ShownText(outcome.Rounded), {}, FocusTarget::Unchanged};
}

} // namespace pevrand
