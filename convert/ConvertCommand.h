// The Convert command without a window: reads the three entry texts and the two unit choices,
// checks them, converts, and says what the output box shows afterwards. The window, the page and
// pevrand-convert run it on texts; ValueConversion (ValueConversion.h) is the same checks and
// conversion on numbers, for arrays.
#pragma once

#include "convert/ConvertMessages.h"
#include "convert/ValueConversion.h"
#include "engine/Conversion.h"

#include <optional>
#include <string>

namespace pevrand
{

// What the Convert command reads: the texts of the value, 2 theta and flight path boxes, the
// two unit choices, and the edition of the constants (the windows' is always the classic one).
struct ConvertRequest {
    std::string InputText, TwoThetaText, FlightPathText;
    std::optional<Quantity> Input, Output; // empty when no option of that side is selected
    Edition Constants = Edition::Classic;
};

// What the output box shows after a run: the output text, or a message (never both); and the
// result before its rounding, a single's value for the classic edition (empty after a message).
struct ConvertOutcome {
    std::string OutputText;
    std::optional<MessageId> Message;
    std::optional<double> Result = std::nullopt;
};

// One whole run of the Convert command. The value is checked first, then its square (a value
// whose square overflows is out of range whatever the geometry boxes hold), then the flight
// path and the angle where the pair of quantities needs them, then the two unit choices; the
// first failed check gives its message with an empty output. A box whose number is followed at
// once by a comma and a digit ("2,5") gives "Use a period as the decimal point" right after that
// box's emptiness check. An arithmetic failure (a value too large or too small for the
// conversion) gives "Value out of range for this conversion". The classic edition reads each
// number as a single and converts in its single-precision steps; the others read each as a
// double and convert in double precision, with the same checks against the double range, and
// show their result's five significant figures. Never throws for any texts.
ConvertOutcome RunConvert(const ConvertRequest &request);

} // namespace pevrand
