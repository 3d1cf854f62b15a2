// The Convert command's messages, as one table: what code decides on (the identifier), what
// people read (the text), which check gave it (the kind) and where the focus goes after it.
// Code decides on identifiers and kinds; no code compares message texts.
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

namespace pevrand
{

// Where the focus goes after a message.
enum class FocusTarget { Unchanged, InputVal, TwoTheta, TotalFlightPath, EnergyIn, EnergyOut };

// The check that gave a message: the value's own, the flight path's or the angle's, a missing
// unit choice, or an arithmetic failure (a value too large or too small for the conversion).
enum class MessageKind { Value, Geometry, Units, Range };

// Every message, in the order of the table below. A decimal comma has one identifier a box, for
// each box has its own focus.
enum class MessageId : unsigned char {
    NoInputValue,
    InputDecimalComma,
    NotPositive,
    PathNotGiven,
    PathDecimalComma,
    PathNotPositive,
    AngleNotGiven,
    AngleDecimalComma,
    AngleOutOfRange,
    AngleZero,
    NoInputUnits,
    NoOutputUnits,
    OutOfRange,
    NumberTooLong,
};

struct ConvertMessage {
    MessageId Id;
    std::string_view Text;
    MessageKind Kind;
    FocusTarget Focus;
};

// The decimal-comma rows share this one text object, so that a reader that tells each text once
// (pevrand-convert, for a line) can go by the text's address instead of comparing texts.
inline constexpr std::string_view DecimalCommaText = "Use a period as the decimal point";

inline constexpr std::array<ConvertMessage, 14> ConvertMessages{{
    {MessageId::NoInputValue, "No input value specified", MessageKind::Value,
     FocusTarget::InputVal},
    {MessageId::InputDecimalComma, DecimalCommaText, MessageKind::Value, FocusTarget::InputVal},
    // The one message that leaves the focus where it was.
    {MessageId::NotPositive, "Non-positive values not allowed", MessageKind::Value,
     FocusTarget::Unchanged},
    {MessageId::PathNotGiven, "Total flight path not specified", MessageKind::Geometry,
     FocusTarget::TotalFlightPath},
    {MessageId::PathDecimalComma, DecimalCommaText, MessageKind::Geometry,
     FocusTarget::TotalFlightPath},
    {MessageId::PathNotPositive, "Total flight path must be positive", MessageKind::Geometry,
     FocusTarget::TotalFlightPath},
    {MessageId::AngleNotGiven, "Scattering angle not specified", MessageKind::Geometry,
     FocusTarget::TwoTheta},
    {MessageId::AngleDecimalComma, DecimalCommaText, MessageKind::Geometry, FocusTarget::TwoTheta},
    {MessageId::AngleOutOfRange, "2 theta must be in the range 0 to 180 degrees",
     MessageKind::Geometry, FocusTarget::TwoTheta},
    // Every leg that uses the angle divides by sin(theta) or yields 0 at theta = 0.
    {MessageId::AngleZero, "2 theta must be greater than 0 for this conversion",
     MessageKind::Geometry, FocusTarget::TwoTheta},
    {MessageId::NoInputUnits, "Input units not specified, or not yet available", MessageKind::Units,
     FocusTarget::EnergyIn},
    {MessageId::NoOutputUnits, "Output units not specified, or not yet available",
     MessageKind::Units, FocusTarget::EnergyOut},
    {MessageId::OutOfRange, "Value out of range for this conversion", MessageKind::Range,
     FocusTarget::InputVal},
    // pevrand-convert's, for a line cut inside its number: the rest, which was not kept, could
    // change what it reads. No box holds such a line.
    {MessageId::NumberTooLong, "Number too long to read", MessageKind::Value,
     FocusTarget::InputVal},
}};

// The table's row for `id`.
constexpr const ConvertMessage &MessageOf(MessageId id)
{
    return ConvertMessages[static_cast<std::size_t>(id)];
}

namespace detail
{
constexpr bool RowsInIdentifierOrder()
{
    for (std::size_t i = 0; i < ConvertMessages.size(); ++i)
        if (static_cast<std::size_t>(ConvertMessages[i].Id) != i)
            return false;
    return true;
}
} // namespace detail
static_assert(detail::RowsInIdentifierOrder(), "MessageOf indexes the table by identifier");

} // namespace pevrand
