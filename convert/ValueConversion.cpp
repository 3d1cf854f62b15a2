#include "ValueConversion.h"

#include "engine/Module1.h"

namespace pevrand
{

std::optional<MessageId> ValueMessage(float value)
{
    if (!(value > 0.0f))
        return MessageId::NotPositive;
    try {
        // The square is formed before the geometry is looked at: a value too large for it is
        // out of range whatever the geometry holds.
        InputsForValue(value);
    } catch (const ArithmeticError &) {
        return MessageId::OutOfRange;
    }
    return std::nullopt;
}

std::optional<MessageId> FlightPathMessage(std::optional<float> flightPath)
{
    if (!flightPath)
        return MessageId::PathNotGiven;
    if (!(*flightPath > 0.0f))
        return MessageId::PathNotPositive;
    return std::nullopt;
}

std::optional<MessageId> AngleMessage(std::optional<float> twoTheta)
{
    if (!twoTheta)
        return MessageId::AngleNotGiven;
    if (!(*twoTheta >= 0.0f && *twoTheta <= 180.0f))
        return MessageId::AngleOutOfRange;
    // Every leg that uses the angle divides by sin(theta) or yields 0 at theta = 0.
    if (ThetaFromTwoTheta(*twoTheta) == 0.0f)
        return MessageId::AngleZero;
    return std::nullopt;
}

ValueConversion::ValueConversion(std::optional<Quantity> input, std::optional<Quantity> output,
                                 std::optional<float> twoTheta, std::optional<float> flightPath)
    : input_(input), output_(output), flightPath_(DefaultConversionInputs().FlightPath),
      theta_(DefaultConversionInputs().Theta)
{
    if (NeedsFlightPath(input, output)) {
        geometryMessage_ = FlightPathMessage(flightPath);
        if (geometryMessage_)
            return;
        flightPath_ = *flightPath;
    }
    if (NeedsAngle(input, output)) {
        geometryMessage_ = AngleMessage(twoTheta);
        if (!geometryMessage_)
            theta_ = ThetaFromTwoTheta(*twoTheta);
    }
}

ValueConversion::Outcome ValueConversion::Convert(float value) const
{
    const auto message = [](MessageId id) { return Outcome{0.0f, 0.0f, id}; };
    if (const std::optional<MessageId> own = ValueMessage(value))
        return message(*own);
    if (geometryMessage_)
        return message(*geometryMessage_);
    if (!input_)
        return message(MessageId::NoInputUnits);
    try {
        ConversionInputs inputs = InputsForValue(value);
        inputs.FlightPath = flightPath_;
        inputs.Theta = theta_;
        // The input leg runs before the output choice is looked at, and may fail first.
        const float energy = EnergyFromInput(*input_, inputs);
        if (!output_)
            return message(MessageId::NoOutputUnits);
        const float result = ResultFromEnergy(*output_, energy, inputs);
        return {result, RoundSigFigs(result, ShownFigures), std::nullopt};
    } catch (const ArithmeticError &) {
        return message(MessageId::OutOfRange);
    }
}

} // namespace pevrand
