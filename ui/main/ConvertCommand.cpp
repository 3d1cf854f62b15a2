#include "ConvertCommand.h"

#include "engine/Module1.h"
#include "engine/NumberText.h"

namespace pevrand
{
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
            geometryMessage_ = MessageId::PathNotGiven;
        else if (flightPath.Is == State::DecimalComma)
            geometryMessage_ = MessageId::PathDecimalComma;
        else if (!(flightPath_ > 0.0f))
            geometryMessage_ = MessageId::PathNotPositive;
        if (geometryMessage_)
            return;
    }

    if (NeedsAngle(input, output)) {
        if (twoTheta.Is == State::Empty) {
            geometryMessage_ = MessageId::AngleNotGiven;
        } else if (twoTheta.Is == State::DecimalComma) {
            geometryMessage_ = MessageId::AngleDecimalComma;
        } else if (!(twoTheta.Number >= 0.0f && twoTheta.Number <= 180.0f)) {
            // (A box never reads as NaN; a caller's number may be one, and is out of range.)
            geometryMessage_ = MessageId::AngleOutOfRange;
        } else {
            // Every leg that uses the angle divides by sin(theta) or yields 0 at theta = 0.
            theta_ = ThetaFromTwoTheta(twoTheta.Number);
            if (theta_ == 0.0f)
                geometryMessage_ = MessageId::AngleZero;
        }
    }
}

ValueConversion::Outcome ValueConversion::Convert(float value) const
{
    const auto message = [](MessageId id) { return Outcome{0.0f, 0.0f, id}; };
    if (!(value > 0.0f))
        return message(MessageId::NotPositive);
    try {
        // The square is formed before the geometry is looked at: a value too large for it is
        // out of range whatever the geometry boxes hold.
        ConversionInputs inputs = InputsForValue(value);
        if (geometryMessage_)
            return message(*geometryMessage_);
        inputs.FlightPath = flightPath_;
        inputs.Theta = theta_;

        if (!input_)
            return message(MessageId::NoInputUnits);
        const float energy = EnergyFromInput(*input_, inputs);
        if (!output_)
            return message(MessageId::NoOutputUnits);
        const float result = ResultFromEnergy(*output_, energy, inputs);
        return {result, RoundSigFigs(result, ShownFigures), std::nullopt};
    } catch (const ArithmeticError &) {
        return message(MessageId::OutOfRange);
    }
}

ConvertOutcome RunConvert(const ConvertRequest &request)
{
    if (request.InputText.empty())
        return {{}, MessageId::NoInputValue};
    if (HasDecimalComma(request.InputText))
        return {{}, MessageId::InputDecimalComma};
    const ValueConversion conversion(request.Input, request.Output, ReadBox(request.TwoThetaText),
                                     ReadBox(request.FlightPathText));
    const ValueConversion::Outcome outcome = conversion.Convert(ReadSingle(request.InputText));
    if (outcome.Message)
        return {{}, outcome.Message};
    return {ShownText(outcome.Rounded), std::nullopt};
}

} // namespace pevrand
