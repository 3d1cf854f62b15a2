#include "Module1.h"

#include "ArithmeticError.h"
#include "CheckedMath.h"
#include "NumberText.h"
#include "PowersOfTen.h"

#include <fast_float/fast_float.h>

#include <cmath>
#include <cstring>

namespace pevrand
{
namespace
{

using checked::Divide;
using checked::Finite;
using checked::ToSingle;
using detail::PowersOfTen;

// The double nearest to the decimal text [begin, end) of digits with one period. A text of at
// most 15 digits and 22 decimals is an integer below 2^53 over an exact power of ten, and one
// correctly rounded division gives the nearest double to their quotient, as reading the text
// would; longer texts are read.
double DecimalValue(const char *begin, const char *end)
{
    std::uint64_t integer = 0;
    int digits = 0, decimals = 0;
    bool afterPoint = false;
    for (const char *c = begin; c < end; ++c) {
        if (*c == '.') {
            afterPoint = true;
            continue;
        }
        integer = integer * 10 + static_cast<std::uint64_t>(*c - '0');
        ++digits;
        decimals += afterPoint ? 1 : 0;
        if (digits > 15 || decimals > 22) {
            double value = 0.0;
            fast_float::from_chars(begin, end, value);
            return value;
        }
    }
    // Through a signed integer: exact below 2^53, and on 32-bit x86 one exact x87 load with no
    // unsigned correction.
    return static_cast<double>(static_cast<std::int64_t>(integer)) / PowersOfTen[decimals];
}

// m rounded to `places` decimal places, an exact half going to the even neighbour. The
// rounding is decided on the exact binary value of m, 1 <= m < 16, by writing its decimal
// digits with integer arithmetic; the rounded decimal is then read back as the nearest double.
double RoundToPlaces(double m, int places)
{
    // Most mantissas lie far from a half. Scaled by 10^places in double, with one rounding
    // error below 2e-7 for 8 places or fewer, their nearest integer is the rounding of the exact
    // value, and one division gives the nearest double to the rounded decimal, as reading its
    // text below would.
    if (places <= 8) {
        const double scaled = m * PowersOfTen[places];
        const double integer = std::nearbyint(scaled);
        if (std::fabs(std::fabs(scaled - integer) - 0.5) > 1e-6)
            return integer / PowersOfTen[places];
    }

    int exponent = 0;
    const double mantissa = std::frexp(m, &exponent); // m = mantissa * 2^exponent, exponent 1..4
    const int fractionBits = 53 - exponent;
    const auto bits = static_cast<std::uint64_t>(std::ldexp(mantissa, 53));
    const std::uint64_t one = std::uint64_t{1} << fractionBits;
    std::uint64_t fraction = bits & (one - 1);

    // Room for a carry into a new leading digit, two integer digits, the point and 52 decimals:
    // a binary fraction of 52 bits has no more than 52 decimals.
    char text[64];
    char *const first = text + 1;
    char *end = first;
    const auto whole = static_cast<unsigned>(bits >> fractionBits);
    if (whole >= 10)
        *end++ = static_cast<char>('0' + whole / 10);
    *end++ = static_cast<char>('0' + whole % 10);
    *end++ = '.';
    const int digits = places < fractionBits ? places : fractionBits;
    for (int i = 0; i < digits; ++i) {
        fraction *= 10;
        *end++ = static_cast<char>('0' + (fraction >> fractionBits));
        fraction &= one - 1;
    }

    const std::uint64_t half = one / 2;
    char *last = end[-1] == '.' ? end - 2 : end - 1;
    const bool odd = ((*last - '0') & 1) != 0;
    char *begin = first;
    if (fraction > half || (fraction == half && odd)) {
        char *digit = last;
        for (;;) {
            if (*digit == '.') {
                --digit;
                continue;
            }
            if (*digit != '9') {
                ++*digit;
                break;
            }
            *digit = '0';
            if (digit == first) {
                *--begin = '1';
                break;
            }
            --digit;
        }
    }

    return DecimalValue(begin, end);
}

} // namespace

float RoundSigFigs(float value, std::int16_t digits)
{
    if (!(value > 0.0f))
        throw ArithmeticError("the logarithm of a value that is not positive");
    if (digits < 1)
        throw ArithmeticError("fewer than one significant figure");

    const double ln10 = std::log(10.0);
    const float lg = ToSingle(Divide(Finite(std::log(static_cast<double>(value))), ln10));
    const auto n = static_cast<std::int16_t>(std::floor(lg));
    // frac lies in 0..1; it is exactly 1 when lg is a tiny negative number.
    const float frac = ToSingle(Finite(static_cast<double>(lg) - static_cast<double>(n)));
    const double m = Finite(std::exp(Finite(static_cast<double>(frac) * ln10)));
    const auto places = static_cast<std::int16_t>(digits - 1);
    const float rm = ToSingle(RoundToPlaces(m, places));
    // Where 10^n is a double exactly, pow gives it exactly too.
    const double scale =
        n >= 0 && n <= 22 ? PowersOfTen[n] : std::pow(10.0, static_cast<double>(n));
    return ToSingle(Finite(scale * static_cast<double>(rm)));
}

std::string ResultText(Result result)
{
    if (!result)
        return {};
    return ShownText(RoundSigFigs(*result, ShownFigures));
}

std::string ShownText(float rounded)
{
    return SingleText(rounded, ShownFigures);
}

double ShownWideValue(double result)
{
    if (std::isnan(result))
        return result;
    return ReadNumber(ShownWideText(result));
}

std::string ShownWideText(double result)
{
    return DoubleText(result, ShownFigures);
}

} // namespace pevrand
