#include "ConvertCommand.h"

#include "engine/Module1.h"
#include "engine/NumberText.h"

#include <string_view>

namespace pevrand
{
namespace
{

// A geometry box's number, not given when the box is empty; or the box's own message when its
// number is followed by a decimal comma, which it must not be read past.
struct BoxNumber {
    std::optional<float> Number;
    std::optional<MessageId> Refused;
};

BoxNumber ReadBox(std::string_view text, MessageId decimalComma)
{
    if (text.empty())
        return {};
    if (HasDecimalComma(text))
        return {std::nullopt, decimalComma};
    return {ReadSingle(text), std::nullopt};
}

} // namespace

ConvertOutcome RunConvert(const ConvertRequest &request)
{
    if (request.InputText.empty())
        return {{}, MessageId::NoInputValue};
    if (HasDecimalComma(request.InputText))
        return {{}, MessageId::InputDecimalComma};
    const float value = ReadSingle(request.InputText);
    if (const std::optional<MessageId> message = ValueMessage(value))
        return {{}, message};

    // Each box the pair reads, in the order of the checks: the flight path's, then the angle's.
    const BoxNumber path = NeedsFlightPath(request.Input, request.Output)
                               ? ReadBox(request.FlightPathText, MessageId::PathDecimalComma)
                               : BoxNumber{};
    if (path.Refused)
        return {{}, path.Refused};
    if (NeedsFlightPath(request.Input, request.Output))
        if (const std::optional<MessageId> message = FlightPathMessage(path.Number))
            return {{}, message};
    const BoxNumber angle = NeedsAngle(request.Input, request.Output)
                                ? ReadBox(request.TwoThetaText, MessageId::AngleDecimalComma)
                                : BoxNumber{};
    if (angle.Refused)
        return {{}, angle.Refused};

    const ValueConversion conversion(request.Input, request.Output, angle.Number, path.Number);
    const ValueConversion::Outcome outcome = conversion.Convert(value);
    if (outcome.Message)
        return {{}, outcome.Message};
    return {ShownText(outcome.Rounded), std::nullopt};
}

} // namespace pevrand
