#include "NumberText.h"

#include "CheckedMath.h"

#include <fast_float/fast_float.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>

#if defined(__MINGW32__) && !__USE_MINGW_ANSI_STDIO
#error "MinGW-w64's own printf is needed: msvcrt's is not correctly rounded"
#endif

namespace pevrand
{
namespace
{

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

std::size_t SkipDigits(std::string_view text, std::size_t i)
{
    while (i < text.size() && IsDigit(text[i]))
        ++i;
    return i;
}

// Where the number's text, of the form digits[.digits][e[sign]digits], is too large or too
// small for a double: the decimal exponent of its first significant digit, saturated.
long long DecimalMagnitude(std::string_view number)
{
    const std::size_t mantissaEnd = std::min(number.find_first_of("eE"), number.size());
    const std::size_t point = std::min(number.find('.'), mantissaEnd);
    const std::size_t firstSignificant = number.find_first_of("123456789");
    long long magnitude = firstSignificant < point
                              ? static_cast<long long>(point - firstSignificant) - 1
                              : -static_cast<long long>(firstSignificant - point);
    if (mantissaEnd < number.size()) {
        std::size_t i = mantissaEnd + 1;
        const bool negative = number[i] == '-';
        if (number[i] == '+' || number[i] == '-')
            ++i;
        long long exponent = 0;
        for (; i < number.size(); ++i)
            exponent = std::min(exponent * 10 + (number[i] - '0'), 1'000'000'000LL);
        magnitude += negative ? -exponent : exponent;
    }
    return magnitude;
}

// The leading number of a text: its digits, point and exponent without the sign (empty when
// the text does not begin with a number), its sign, and where it ends in the text.
struct LeadingNumber {
    std::string_view Digits;
    bool Negative = false;
    std::size_t End = 0;
};

LeadingNumber FindLeadingNumber(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    LeadingNumber number;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        number.Negative = text[i] == '-';
        ++i;
    }

    const std::size_t start = i;
    i = SkipDigits(text, i);
    bool hasDigits = i > start;
    if (i < text.size() && text[i] == '.') {
        const std::size_t fractionEnd = SkipDigits(text, i + 1);
        hasDigits = hasDigits || fractionEnd > i + 1;
        i = fractionEnd;
    }
    if (!hasDigits)
        return {};

    // An exponent counts only when it has at least one digit: "1e" and "1e+" read as 1.
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-'))
            ++j;
        if (j < text.size() && IsDigit(text[j]))
            i = SkipDigits(text, j);
    }
    number.Digits = text.substr(start, i - start);
    number.End = i;
    return number;
}

// `value` as [-]d.ddde(+|-)dd with `precision` digits after the point, correctly rounded, into
// `out` (48 characters are enough); returns the end of the text.
template <class Number> char *ScientificForm(char (&out)[48], Number value, int precision)
{
#if defined(__MINGW32__) || defined(__EMSCRIPTEN__)
    // MinGW-w64's C++ printf (its own, __USE_MINGW_ANSI_STDIO, not msvcrt's) and musl's are
    // correctly rounded and write no locale's decimal point; the standard defines to_chars's
    // scientific form as printf's %.*e in the C locale, and a float widens to double exactly.
    // Using them keeps libstdc++'s floating-point to_chars, 186 kB, out of the Windows
    // programs; the WebAssembly library has no floating-point to_chars at all.
    const int length =
        std::snprintf(out, sizeof out, "%.*e", precision, static_cast<double>(value));
    return out + length;
#elif defined(__cpp_lib_to_chars)
    return std::to_chars(out, out + sizeof out, value, std::chars_format::scientific, precision)
        .ptr;
#else
#error "a correctly rounded scientific form of a float is needed: std::to_chars"
#endif
}

template <class Number> std::string DecimalText(Number value, int significantDigits)
{
    if (std::isnan(value))
        return "NaN";
    if (std::isinf(value))
        return value > 0 ? "Infinity" : "-Infinity";
    if (value == 0)
        return "0";
    significantDigits = std::clamp(significantDigits, 1, 17);

    // Scientific form first, [-]d[.ddd]e(+|-)dd: its exponent is that of the rounded value.
    char scientific[48];
    const char *const formEnd = ScientificForm(scientific, value, significantDigits - 1);
    char digits[24];
    std::size_t count = 0;
    const char *at = scientific;
    for (; *at != 'e'; ++at)
        if (IsDigit(*at))
            digits[count++] = *at;
    const bool negativeExponent = at[1] == '-';
    int exponent = 0;
    for (at += 2; at < formEnd; ++at)
        exponent = exponent * 10 + (*at - '0');
    if (negativeExponent)
        exponent = -exponent;
    // The leading digit of a value other than 0 is not 0.
    while (digits[count - 1] == '0')
        --count;

    // At most a sign, "0.000", 17 digits and an exponent: the text is built in place.
    char text[48];
    std::size_t length = 0;
    const auto put = [&](const char *from, std::size_t n) {
        std::memcpy(text + length, from, n);
        length += n;
    };
    if (value < 0)
        text[length++] = '-';
    if (exponent >= -4 && exponent <= 6) {
        if (exponent < 0) {
            put("0.000", static_cast<std::size_t>(1 - exponent));
            put(digits, count);
        } else {
            const auto whole = static_cast<std::size_t>(exponent) + 1;
            if (count <= whole) {
                put(digits, count);
                put("000000", whole - count);
            } else {
                put(digits, whole);
                text[length++] = '.';
                put(digits + whole, count - whole);
            }
        }
        return std::string(text, length);
    }

    text[length++] = digits[0];
    if (count > 1) {
        text[length++] = '.';
        put(digits + 1, count - 1);
    }
    put(exponent < 0 ? "E-" : "E+", 2);
    const int magnitude = exponent < 0 ? -exponent : exponent;
    if (magnitude < 10)
        text[length++] = '0';
    length = static_cast<std::size_t>(
        std::to_chars(text + length, text + sizeof text, magnitude).ptr - text);
    return std::string(text, length);
}

} // namespace

double ReadNumber(std::string_view text)
{
    const LeadingNumber number = FindLeadingNumber(text);
    if (number.Digits.empty())
        return 0.0;
    // Correctly rounded, as std::from_chars, in every build: some standard libraries (the
    // WebAssembly one among them) lack the floating-point from_chars. Beyond the double range
    // it gives an infinity or 0 itself; a version that reports the range error instead is
    // answered the same way.
    double value = 0.0;
    const auto [end, error] = fast_float::from_chars(
        number.Digits.data(), number.Digits.data() + number.Digits.size(), value);
    if (error == std::errc::result_out_of_range)
        value =
            DecimalMagnitude(number.Digits) >= 0 ? std::numeric_limits<double>::infinity() : 0.0;
    return number.Negative ? -value : value;
}

float ReadSingle(std::string_view text)
{
    return NearestSingle(ReadNumber(text));
}

bool HasDecimalComma(std::string_view text)
{
    const LeadingNumber number = FindLeadingNumber(text);
    const std::size_t end = number.End;
    return !number.Digits.empty() && end + 1 < text.size() && text[end] == ',' &&
           IsDigit(text[end + 1]);
}

std::size_t ReadingExtent(std::string_view text)
{
    const LeadingNumber number = FindLeadingNumber(text);
    std::size_t looked;
    if (!number.Digits.empty()) {
        // After the number: an exponent letter, its sign and a digit, or a comma and a digit.
        looked = number.End + 3;
    } else {
        // Blanks and a sign, then a digit or a period and a digit that never came.
        std::size_t i = 0;
        while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
            ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-'))
            ++i;
        looked = i + 2;
    }
    return std::min(looked, text.size());
}

std::string SingleText(float value, int significantDigits)
{
    return DecimalText(value, significantDigits);
}

std::string DoubleText(double value, int significantDigits)
{
    return DecimalText(value, significantDigits);
}

std::string ShortestText(float value)
{
    // The fewest significant digits whose text reads back as the single itself.
    for (int digits = 1;; ++digits) {
        std::string text = SingleText(value, digits);
        if (digits >= 9 || std::isnan(value) || ReadSingle(text) == value)
            return text;
    }
}

std::string ShortestText(double value)
{
    for (int digits = 1;; ++digits) {
        std::string text = DoubleText(value, digits);
        if (digits >= 17 || std::isnan(value) || ReadNumber(text) == value)
            return text;
    }
}

} // namespace pevrand
