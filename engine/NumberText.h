// Reading numbers from the entry boxes and writing singles as text, the same in every locale:
// the period is always the decimal separator.
#pragma once

#include "engine/NearestSingle.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace pevrand
{

// The leading number of `text`: leading spaces and tabs skipped, then an optional sign,
// digits with an optional period and more digits (".5" and "5." are numbers), and an optional
// exponent (e or E, optional sign, at least one digit). Reading stops at the first character
// that can't continue the number. A text that does not begin with a number reads as 0; a
// number beyond the double range reads as an infinity of its sign, one below it as 0.
double ReadNumber(std::string_view text);

// The number an entry box holds, as every check sees it: ReadNumber(text) rounded to the nearest
// single. A number beyond the single range reads as an infinity of its sign, one too small for
// the smallest subnormal single as 0.
float ReadSingle(std::string_view text);

// True when the leading number of `text`, as ReadNumber finds it, is followed at once by a
// comma and a digit ("2,5", "-1,000", "0,25e3"): a decimal comma that reading would cut off.
bool HasDecimalComma(std::string_view text);

// How many leading characters of `text` ReadNumber, ReadSingle and HasDecimalComma look at:
// whatever follows them can be changed or cut off without changing any of their answers. Equals
// text.size() when the reading ran into the end of the text, which then may matter.
std::size_t ReadingExtent(std::string_view text);

// `value` rounded to `significantDigits` significant figures (clamped to 1..17), trailing
// zeros and a trailing period dropped. Positional when the decimal exponent of the rounded
// value lies in -4..6, else exponent form such as 1.2346E+10 or 2.5E-05.
std::string SingleText(float value, int significantDigits = 7);

// SingleText for a double.
std::string DoubleText(double value, int significantDigits = 17);

// The text of `value` with the fewest significant digits that reads back as `value` exactly,
// written as SingleText and DoubleText write: "1.8087233", "1.8089135992103358", "1E+20".
// Infinities and NaN as SingleText writes them.
std::string ShortestText(float value);
std::string ShortestText(double value);

} // namespace pevrand
