// The Convert command's messages, as one table: what code decides on (the identifier), what
// people read (the text), which check gave it (the kind) and what it is about (the subject).
// Code decides on identifiers, kinds and subjects; no code compares message texts. Each front
// end maps a subject to its own place: the window to the box or option that takes the focus,
// the command to a line's message, the module to an argument's name.
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

namespace pevrand
{

// What a message is about: the value, the flight path, the angle, or a missing unit choice.
enum class MessageSubject { Value, FlightPath, Angle, InputUnits, OutputUnits };

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
    MessageSubject Subject;
};

// The decimal-comma rows share this one text object, so that a reader that tells each text once
// (pevrand-convert, for a line) can go by the text's address instead of comparing texts.
inline constexpr std::string_view DecimalCommaText = "Use a period as the decimal point";

inline constexpr std::array<ConvertMessage, 14> ConvertMessages{{
    {MessageId::NoInputValue, "No input value specified", MessageKind::Value,
     MessageSubject::Value},
    {MessageId::InputDecimalComma, DecimalCommaText, MessageKind::Value, MessageSubject::Value},
    {MessageId::NotPositive, "Non-positive values not allowed", MessageKind::Value,
     MessageSubject::Value},
    {MessageId::PathNotGiven, "Total flight path not specified", MessageKind::Geometry,
     MessageSubject::FlightPath},
    {MessageId::PathDecimalComma, DecimalCommaText, MessageKind::Geometry,
     MessageSubject::FlightPath},
    {MessageId::PathNotPositive, "Total flight path must be positive", MessageKind::Geometry,
     MessageSubject::FlightPath},
    {MessageId::AngleNotGiven, "Scattering angle not specified", MessageKind::Geometry,
     MessageSubject::Angle},
    {MessageId::AngleDecimalComma, DecimalCommaText, MessageKind::Geometry, MessageSubject::Angle},
    {MessageId::AngleOutOfRange, "2 theta must be in the range 0 to 180 degrees",
     MessageKind::Geometry, MessageSubject::Angle},
    // Every leg that uses the angle divides by sin(theta) or yields 0 at theta = 0.
    {MessageId::AngleZero, "2 theta must be greater than 0 for this conversion",
     MessageKind::Geometry, MessageSubject::Angle},
    {MessageId::NoInputUnits, "Input units not specified, or not yet available", MessageKind::Units,
     MessageSubject::InputUnits},
    {MessageId::NoOutputUnits, "Output units not specified, or not yet available",
     MessageKind::Units, MessageSubject::OutputUnits},
    {MessageId::OutOfRange, "Value out of range for this conversion", MessageKind::Range,
     MessageSubject::Value},
    // pevrand-convert's, for a line cut inside its number: the rest, which was not kept, could
    // change what it reads. No box holds such a line.
    {MessageId::NumberTooLong, "Number too long to read", MessageKind::Value,
     MessageSubject::Value},
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
