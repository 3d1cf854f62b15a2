// The Convert command without its window: reads the three entry texts and the two unit
// choices, checks them, converts, and says what the window shows afterwards.
#pragma once

#include "ConvertMessages.h"
#include "engine/Conversion.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace pevrand
{

// What the Convert command reads from the window.
struct ConvertRequest {
    std::string InputText, TwoThetaText, FlightPathText;
    std::optional<Quantity> Input, Output; // empty when no option of that side is selected
};

// What the window shows after a run: the output text, or a message (never both). The message's
// text and focus are its row of ConvertMessages.
struct ConvertOutcome {
    std::string OutputText;
    std::optional<MessageId> Message;
};

// A geometry box as the checks see it: empty, holding a number followed by a decimal comma, or
// holding the number that the box reads as.
struct BoxReading {
    enum class State { Empty, DecimalComma, Number } Is = State::Empty;
    float Number = 0.0f;
};

// What the checks see in a box holding `text`.
BoxReading ReadBox(std::string_view text);

// The Convert command on numbers, for one pair of quantities and one geometry and any number of
// values: each value is checked and converted exactly as if a text reading as it were in the
// input box, with the same geometry boxes and unit choices.
class ValueConversion
{
public:
    ValueConversion(std::optional<Quantity> input, std::optional<Quantity> output,
                    BoxReading twoTheta, BoxReading flightPath);

    // One value's run: the engine's result and its five-figure rounding, or a message.
    struct Outcome {
        float Result = 0.0f;  // before the rounding
        float Rounded = 0.0f; // RoundSigFigs(Result, 5), from which the output box is written
        std::optional<MessageId> Message;
    };

    // Checks and converts `value`, the number the input box reads as. A value that passes its
    // own checks and the square's meets the geometry's message, if there is one: every such
    // value would. Never throws.
    Outcome Convert(float value) const;

    // Convert for many values at once: results[i] is Convert(values[i]).Result, or with
    // `rounded` ShownValue of its Rounded, where that run gives no message, else NaN. True when
    // every value converted. The two spans are equally long. Never throws.
    bool ConvertResults(std::span<const float> values, std::span<float> results,
                        bool rounded) const;

    // The message about the flight path or the angle that every value getting past its own
    // checks meets, if there is one.
    std::optional<MessageId> GeometryMessage() const { return geometryMessage_; }

    // The geometry ConvertResults converts with, for ConvertValuesByPixel: NaN where a message
    // about the geometry or the unit choices stops every value.
    PixelGeometry Geometry() const;

private:
    std::optional<Quantity> input_, output_;
    float flightPath_, theta_;
    std::optional<MessageId> geometryMessage_;
};

// One whole run of the Convert command. The value is checked first, then its square (a value
// whose square overflows is out of range whatever the geometry boxes hold), then the flight
// path and the angle where the pair of quantities needs them, then the two unit choices; the
// first failed check gives its message with an empty output. A box whose number is followed at
// once by a comma and a digit ("2,5") gives "Use a period as the decimal point" right after that
// box's emptiness check. An arithmetic failure (a value too large or too small for the
// conversion) gives "Value out of range for this conversion". Never throws for any texts.
ConvertOutcome RunConvert(const ConvertRequest &request);

} // namespace pevrand
