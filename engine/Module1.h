// Significant-figure rounding and the text of a conversion's result.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace pevrand
{

// A conversion's result; empty when the conversion gave none.
using Result = std::optional<float>;
inline constexpr Result NoResult = std::nullopt;

// `value` rounded to `digits` significant figures by way of its decimal logarithm held in
// single precision (so exact powers of ten stay exact, and values within a few parts in a
// million of a rounding boundary may round the other way). Throws ArithmeticError when value
// is not greater than 0 (or not a number) or digits is below 1.
float RoundSigFigs(float value, std::int16_t digits);

// The text of the output box: empty for NoResult, else the result rounded to five significant
// figures and written with at most five. Throws ArithmeticError for a result of 0 or less,
// which has no logarithm.
std::string ResultText(Result result);

} // namespace pevrand
