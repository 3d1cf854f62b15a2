#include "ValueConversion.h"

#include "engine/Module1.h"
#include "engine/WideConversion.h"

#include <cmath>

namespace pevrand
{
namespace
{

// What differs between the classic steps, on singles, and the double ones.
template <class Number> struct Steps;

template <> struct Steps<float> {
    static ConversionInputs InputsFor(float value) { return InputsForValue(value); }
    static float Theta(float twoTheta) { return ThetaFromTwoTheta(twoTheta); }
    static ConversionInputs Defaults() { return DefaultConversionInputs(); }
    static float EnergyFrom(Edition, Quantity input, const ConversionInputs &inputs)
    {
        return EnergyFromInput(input, inputs);
    }
    static float ResultFrom(Edition, Quantity output, float energy, const ConversionInputs &inputs)
    {
        return ResultFromEnergy(output, energy, inputs);
    }
    static float Rounded(float result) { return RoundSigFigs(result, ShownFigures); }
    static float Shown(float rounded) { return ShownValue(rounded); }
};

template <> struct Steps<double> {
    static WideInputs InputsFor(double value) { return WideInputsForValue(value); }
    static double Theta(double twoTheta) { return WideThetaFromTwoTheta(twoTheta); }
    static WideInputs Defaults() { return WideInputsForValue(0.0); }
    static double EnergyFrom(Edition edition, Quantity input, const WideInputs &inputs)
    {
        return WideEnergyFromInput(edition, input, inputs);
    }
    static double ResultFrom(Edition edition, Quantity output, double energy,
                             const WideInputs &inputs)
    {
        return WideResultFromEnergy(edition, output, energy, inputs);
    }
    static double Rounded(double result)
    {
        // As the classic rounding fails a result it can't take, so five figures beyond the
        // double range fail.
        const double shown = ShownWideValue(result);
        if (!(shown > 0.0) || std::isinf(shown))
            throw ArithmeticError("floating-point overflow");
        return shown;
    }
    static double Shown(double rounded) { return rounded; }
};

} // namespace

template <class Number> std::optional<MessageId> ValueMessage(Number value)
{
    if (!(value > 0))
        return MessageId::NotPositive;
    try {
        // The square is formed before the geometry is looked at: a value too large for it is
        // out of range whatever the geometry holds.
        Steps<Number>::InputsFor(value);
    } catch (const ArithmeticError &) {
        return MessageId::OutOfRange;
    }
    return std::nullopt;
}

template <class Number> std::optional<MessageId> FlightPathMessage(std::optional<Number> path)
{
    if (!path)
        return MessageId::PathNotGiven;
    if (!(*path > 0))
        return MessageId::PathNotPositive;
    return std::nullopt;
}

template <class Number> std::optional<MessageId> AngleMessage(std::optional<Number> twoTheta)
{
    if (!twoTheta)
        return MessageId::AngleNotGiven;
    if (!(*twoTheta >= 0 && *twoTheta <= 180))
        return MessageId::AngleOutOfRange;
    // Every leg that uses the angle divides by sin(theta) or yields 0 at theta = 0.
    if (Steps<Number>::Theta(*twoTheta) == 0)
        return MessageId::AngleZero;
    return std::nullopt;
}

template std::optional<MessageId> ValueMessage(float);
template std::optional<MessageId> ValueMessage(double);
template std::optional<MessageId> FlightPathMessage(std::optional<float>);
template std::optional<MessageId> FlightPathMessage(std::optional<double>);
template std::optional<MessageId> AngleMessage(std::optional<float>);
template std::optional<MessageId> AngleMessage(std::optional<double>);

template <class Number>
BasicValueConversion<Number>::BasicValueConversion(std::optional<Quantity> input,
                                                   std::optional<Quantity> output,
                                                   std::optional<Number> twoTheta,
                                                   std::optional<Number> flightPath,
                                                   Edition edition)
    : input_(input), output_(output), edition_(edition),
      flightPath_(Steps<Number>::Defaults().FlightPath), theta_(Steps<Number>::Defaults().Theta)
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
            theta_ = Steps<Number>::Theta(*twoTheta);
    }
}

template <class Number> Number BasicValueConversion<Number>::Outcome::Shown() const
{
    return Steps<Number>::Shown(Rounded);
}

template <class Number>
typename BasicValueConversion<Number>::Outcome
BasicValueConversion<Number>::Convert(Number value) const
{
    const auto message = [](MessageId id) { return Outcome{0, 0, id}; };
    if (const std::optional<MessageId> own = ValueMessage(value))
        return message(*own);
    if (geometryMessage_)
        return message(*geometryMessage_);
    if (!input_)
        return message(MessageId::NoInputUnits);
    try {
        auto inputs = Steps<Number>::InputsFor(value);
        inputs.FlightPath = flightPath_;
        inputs.Theta = theta_;
        // The input leg runs before the output choice is looked at, and may fail first.
        const Number energy = Steps<Number>::EnergyFrom(edition_, *input_, inputs);
        if (!output_)
            return message(MessageId::NoOutputUnits);
        const Number result = Steps<Number>::ResultFrom(edition_, *output_, energy, inputs);
        return {result, Steps<Number>::Rounded(result), std::nullopt};
    } catch (const ArithmeticError &) {
        return message(MessageId::OutOfRange);
    }
}

template class BasicValueConversion<float>;
template class BasicValueConversion<double>;

} // namespace pevrand
