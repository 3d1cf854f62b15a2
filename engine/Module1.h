// Significant-figure rounding and the text of a conversion's result.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace pevrand
{

// How many significant figures the output box shows.
inline constexpr std::int16_t ShownFigures = 5;

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

// The text of the output box for a result whose five-figure rounding, RoundSigFigs(result, 5),
// is `rounded`.
std::string ShownText(float rounded);

// The single nearest to the number that ShownText(rounded) shows, so that the shortest text of
// the single is the box's text. For any single; never throws.
float ShownValue(float rounded);

// ShownValue(RoundSigFigs(result, 5)), bit for bit, mostly without the logarithm: the single
// nearest to the number that the output box shows for `result`. Throws ArithmeticError as
// RoundSigFigs does.
float ShownResult(float result);

// For the double-precision editions: `result` rounded to five significant figures, correctly,
// in decimal, as the double nearest to that number; NaN stays NaN, and five figures beyond the
// double range (from 1.79765e308 on) give an infinity.
double ShownWideValue(double result);

// The text of the output box for a result of the double-precision editions: its five
// significant figures, written as ShownText writes a single's.
std::string ShownWideText(double result);

} // namespace pevrand
