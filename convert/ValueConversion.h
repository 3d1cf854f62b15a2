// The Convert command's checks and conversion on numbers: one pair of quantities and one
// geometry, for any number of values, each checked and converted exactly as if a text reading
// as it were in the input box. The classic edition's steps work on singles (ValueConversion),
// the CODATA editions' on doubles (WideValueConversion); the checks and messages are the same,
// each against its own precision's range.
#pragma once

#include "convert/ConvertMessages.h"
#include "engine/Conversion.h"
#include "engine/Editions.h"

#include <concepts>
#include <optional>
#include <span>

namespace pevrand
{

// The value's own checks: "Non-positive values not allowed" for a value not greater than 0 (or
// not a number), "Value out of range for this conversion" where its square overflows the
// precision's range. None when the value passes.
template <class Number> std::optional<MessageId> ValueMessage(Number value);

// The flight path's checks, where the pair reads it: not given, or not greater than 0.
template <class Number> std::optional<MessageId> FlightPathMessage(std::optional<Number> path);

// The angle's checks, where the pair reads it: not given, outside 0 to 180 degrees (NaN too), or
// so small that theta is 0, which every leg that reads it divides by or gives 0 for.
template <class Number> std::optional<MessageId> AngleMessage(std::optional<Number> twoTheta);

// One pair of quantities (either may be unselected), one edition and one geometry, each a number
// or not given (nullopt). Only the geometry the pair reads is looked at. Number is float for the
// classic edition, whose steps round to single, and double for the others.
template <class Number> class BasicValueConversion
{
public:
    BasicValueConversion(std::optional<Quantity> input, std::optional<Quantity> output,
                         std::optional<Number> twoTheta, std::optional<Number> flightPath,
                         Edition edition = Edition::Classic);

    // One value's run: the engine's result and its five-figure rounding, or a message.
    struct Outcome {
        Number Result = 0;  // before the rounding
        Number Rounded = 0; // the classic RoundSigFigs(Result, 5), or the double nearest to it
        std::optional<MessageId> Message;
        // The number the output box shows, as the nearest Number: what `rounded` arrays hold.
        Number Shown() const;
    };

    // Checks and converts `value`: its own checks, then the geometry's message, if any, then the
    // unit choices, then the conversion. Never throws.
    Outcome Convert(Number value) const;

    // Convert for many values at once: results[i] is Convert(values[i]).Result, or with
    // `rounded` its Shown(), where that run gives no message, else NaN. True when every value
    // converted. The two spans are equally long. Never throws.
    bool ConvertResults(std::span<const Number> values, std::span<Number> results,
                        bool rounded) const;

    // The classic ConvertResults for values given as doubles, each taken as the single nearest
    // to it.
    bool ConvertResults(std::span<const double> values, std::span<float> results,
                        bool rounded) const requires std::same_as<Number, float>;

    // The message about the flight path or the angle that every value getting past its own
    // checks meets, if there is one.
    std::optional<MessageId> GeometryMessage() const { return geometryMessage_; }

    // The geometry ConvertResults converts with, for the loops by pixel: a failing pixel where a
    // message about the geometry or the unit choices stops every value.
    PixelGeometry Geometry() const;

private:
    std::optional<Quantity> input_, output_;
    Edition edition_;
    Number flightPath_, theta_;
    std::optional<MessageId> geometryMessage_;
};

using ValueConversion = BasicValueConversion<float>;
using WideValueConversion = BasicValueConversion<double>;

extern template class BasicValueConversion<float>;
extern template class BasicValueConversion<double>;

} // namespace pevrand
