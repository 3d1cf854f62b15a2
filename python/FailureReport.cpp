#include "FailureReport.h"

namespace pevrand::python
{

std::string_view FieldOf(MessageId message)
{
    switch (MessageOf(message).Subject) {
    case MessageSubject::Angle:
        return "angle";
    case MessageSubject::FlightPath:
        return "path";
    default:
        return "value";
    }
}

Failure FailureOf(MessageId message, std::optional<std::int64_t> tablePixel)
{
    return {MessageOf(message).Text, FieldOf(message), tablePixel};
}

} // namespace pevrand::python
