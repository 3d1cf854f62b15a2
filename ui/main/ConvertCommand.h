// The Convert command without its window: reads the three entry texts and the two unit
// choices, checks them, converts, and says what the window shows afterwards.
#pragma once

#include "engine/Conversion.h"

#include <optional>
#include <string>

namespace pevrand
{

// What the Convert command reads from the window.
struct ConvertRequest {
    std::string InputText, TwoThetaText, FlightPathText;
    std::optional<Quantity> Input, Output; // empty when no option of that side is selected
};

// Where the focus goes after a message.
enum class FocusTarget { Unchanged, InputVal, TwoTheta, TotalFlightPath, EnergyIn, EnergyOut };

// What the window shows after a run: the output text, or a message (never both).
struct ConvertOutcome {
    std::string OutputText;
    std::string Message; // empty when there is none
    FocusTarget Focus;
};

// One whole run of the Convert command. The value is checked first, then the flight path and
// the angle where the pair of quantities needs them, then the two unit choices; the first
// failed check gives its message with an empty output. A box whose number is followed at once
// by a comma and a digit ("2,5") gives "Use a period as the decimal point" right after that
// box's emptiness check. An arithmetic failure (a value too
// large or too small for the conversion) gives "Value out of range for this conversion".
// Never throws for any texts.
ConvertOutcome RunConvert(const ConvertRequest &request);

} // namespace pevrand
