// The Convert command over an array of numbers, for the Python module: the loop that turns each
// value into the number the window would show, with no allocation and no Python in it, so that
// it runs with the interpreter's lock released.
#pragma once

#include "ui/main/ConvertCommand.h"

#include <cstddef>
#include <optional>
#include <span>

namespace pevrand::python
{

// What to do with a value that fails.
enum class FailurePolicy {
    Stop,       // stop at the first failure and report it
    NotANumber, // give it NaN and go on; a failure of the geometry still stops
};

// The first failure that stopped a loop: the index of its value and the window's message.
struct ArrayFailure {
    std::size_t Index;
    MessageId Message;
};

// Converts values[i] into results[i] (the two spans are equally long). Each value goes in as
// the single nearest to it, as the input box would hold it after its shortest text was typed.
// `rounded`: the single nearest to the number the output box shows, else the engine's result
// before the rounding. A failing value stops the loop or gives NaN as `policy` says; a message
// about the angle or the flight path is no one value's fault and always stops it. On a stop,
// the results from the failing index on are left as they were.
std::optional<ArrayFailure> ConvertArray(const ValueConversion &conversion,
                                         std::span<const double> values, std::span<float> results,
                                         bool rounded, FailurePolicy policy);

} // namespace pevrand::python
