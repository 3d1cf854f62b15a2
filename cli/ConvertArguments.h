// The command line of pevrand-convert: quantity names, options and values.
#pragma once

#include "engine/Conversion.h"
#include "engine/Editions.h"
#include "engine/QuantityNames.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace pevrand::cli
{

// What the command line asks for.
struct ConvertArguments {
    enum class Action { Convert, Help, Version };
    Action Do = Action::Convert;
    Quantity From = Quantity::Energy;
    std::optional<Quantity> To;               // empty for `all`
    std::string TwoThetaText, FlightPathText; // the angle and flight path boxes, empty if not given
    std::vector<std::string_view> Values;     // empty: the values come from standard input
    Edition Constants = Edition::Classic;     // --constants
    bool Full = false; // --full: the unrounded result's shortest text, not five figures
};

// Why the command line cannot be used, in one line without the program's name.
struct UsageError {
    std::string Reason;
};

// Reads the arguments that follow the program's name. Options may come anywhere before "--";
// an argument of a minus sign followed by a digit or a period is a value ("-5"), not an
// option. --help and --version win over everything that follows them. The strings that
// `args` views must outlive the result, whose Values view them.
std::variant<ConvertArguments, UsageError> ParseArguments(std::span<const std::string_view> args);

// The usage lines, each ending in a newline.
std::string_view UsageText();

// What --help prints: the usage, the options, the quantities with their units, examples.
std::string HelpText();

// What --version prints, with its newline.
std::string_view VersionText();

} // namespace pevrand::cli
