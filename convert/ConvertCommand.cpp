#include "ConvertCommand.h"

#include "engine/Module1.h"
#include "engine/NumberText.h"

#include <type_traits>

#include <string_view>

namespace pevrand
{
namespace
{

// A geometry box's number, not given when the box is empty; or the box's own message when its
// number is followed by a decimal comma, which it must not be read past.
template <class Number> struct BoxNumber {
    std::optional<Number> Number_;
    std::optional<MessageId> Refused;
};

// The number a box's text reads as: a single for the classic steps, a double for the others.
template <class Number> Number Read(std::string_view text)
{
    if constexpr (std::is_same_v<Number, float>)
        return ReadSingle(text);
    else
        return ReadNumber(text);
}

template <class Number> BoxNumber<Number> ReadBox(std::string_view text, MessageId decimalComma)
{
    if (text.empty())
        return {};
    if (HasDecimalComma(text))
        return {std::nullopt, decimalComma};
    return {Read<Number>(text), std::nullopt};
}

template <class Number> ConvertOutcome RunIn(const ConvertRequest &request)
{
    const auto message = [](MessageId id) { return ConvertOutcome{{}, id, std::nullopt}; };
    if (request.InputText.empty())
        return message(MessageId::NoInputValue);
    if (HasDecimalComma(request.InputText))
        return message(MessageId::InputDecimalComma);
    const Number value = Read<Number>(request.InputText);
    if (const std::optional<MessageId> own = ValueMessage(value))
        return message(*own);

    // Each box the pair reads, in the order of the checks: the flight path's, then the angle's.
    const bool needsPath = NeedsFlightPath(request.Input, request.Output);
    const auto path = needsPath
                          ? ReadBox<Number>(request.FlightPathText, MessageId::PathDecimalComma)
                          : BoxNumber<Number>{};
    if (path.Refused)
        return message(*path.Refused);
    if (needsPath)
        if (const std::optional<MessageId> refused = FlightPathMessage(path.Number_))
            return message(*refused);
    const auto angle = NeedsAngle(request.Input, request.Output)
                           ? ReadBox<Number>(request.TwoThetaText, MessageId::AngleDecimalComma)
                           : BoxNumber<Number>{};
    if (angle.Refused)
        return message(*angle.Refused);

    const BasicValueConversion<Number> conversion(request.Input, request.Output, angle.Number_,
                                                  path.Number_, request.Constants);
    const auto outcome = conversion.Convert(value);
    if (outcome.Message)
        return message(*outcome.Message);
    if constexpr (std::is_same_v<Number, float>)
        return {ShownText(outcome.Rounded), std::nullopt, outcome.Result};
    else
        return {ShownWideText(outcome.Result), std::nullopt, outcome.Result};
}

} // namespace

ConvertOutcome RunConvert(const ConvertRequest &request)
{
    return RowOf(request.Constants).SingleSteps ? RunIn<float>(request) : RunIn<double>(request);
}

} // namespace pevrand
