// The Convert command's checks and conversion on numbers: one pair of quantities and one
// geometry, for any number of values, each checked and converted exactly as if a text reading
// as it were in the input box.
#pragma once

#include "convert/ConvertMessages.h"
#include "engine/Conversion.h"

#include <optional>
#include <span>

namespace pevrand
{

// The value's own checks: "Non-positive values not allowed" for a value not greater than 0 (or
// not a number), "Value out of range for this conversion" where its square overflows single
// precision. None when the value passes.
std::optional<MessageId> ValueMessage(float value);

// The flight path's checks, where the pair reads it: not given, or not greater than 0.
std::optional<MessageId> FlightPathMessage(std::optional<float> flightPath);

// The angle's checks, where the pair reads it: not given, outside 0 to 180 degrees (NaN too), or
// so small that theta is 0, which every leg that reads it divides by or gives 0 for.
std::optional<MessageId> AngleMessage(std::optional<float> twoTheta);

// One pair of quantities (either may be unselected) and one geometry, each a number or not given
// (nullopt). Only the geometry the pair reads is looked at.
class ValueConversion
{
public:
    ValueConversion(std::optional<Quantity> input, std::optional<Quantity> output,
                    std::optional<float> twoTheta, std::optional<float> flightPath);

    // One value's run: the engine's result and its five-figure rounding, or a message.
    struct Outcome {
        float Result = 0.0f;  // before the rounding
        float Rounded = 0.0f; // RoundSigFigs(Result, 5), from which the output box is written
        std::optional<MessageId> Message;
    };

    // Checks and converts `value`: its own checks, then the geometry's message, if any, then the
    // unit choices, then the conversion. Never throws.
    Outcome Convert(float value) const;

    // Convert for many values at once: results[i] is Convert(values[i]).Result, or with
    // `rounded` ShownValue of its Rounded, where that run gives no message, else NaN. True when
    // every value converted. The two spans are equally long. Never throws.
    bool ConvertResults(std::span<const float> values, std::span<float> results,
                        bool rounded) const;

    // ConvertResults for values given as doubles, each taken as the single nearest to it.
    bool ConvertResults(std::span<const double> values, std::span<float> results,
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

} // namespace pevrand
