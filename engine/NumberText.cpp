#include "NumberText.h"

#include "CheckedMath.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

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

} // namespace

double ReadNumber(std::string_view text)
{
    const LeadingNumber number = FindLeadingNumber(text);
    if (number.Digits.empty())
        return 0.0;
    double value = 0.0;
    const auto [end, error] =
        std::from_chars(number.Digits.data(), number.Digits.data() + number.Digits.size(), value);
    if (error == std::errc::result_out_of_range)
        value =
            DecimalMagnitude(number.Digits) >= 0 ? std::numeric_limits<double>::infinity() : 0.0;
    return number.Negative ? -value : value;
}

float ReadSingle(std::string_view text)
{
    return checked::NearestSingle(ReadNumber(text));
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
    if (std::isnan(value))
        return "NaN";
    if (std::isinf(value))
        return value > 0 ? "Infinity" : "-Infinity";
    if (value == 0.0f)
        return "0";
    significantDigits = std::clamp(significantDigits, 1, 17);

    // Scientific form first: its exponent is that of the rounded value.
    char scientific[48];
    const auto written = std::to_chars(scientific, scientific + sizeof scientific, value,
                                       std::chars_format::scientific, significantDigits - 1);
    const std::string_view form(scientific, static_cast<std::size_t>(written.ptr - scientific));
    const std::size_t e = form.find('e');
    int exponent = 0;
    std::from_chars(form.data() + e + (form[e + 1] == '+' ? 2 : 1), form.data() + form.size(),
                    exponent);

    std::string digits;
    for (char c : form.substr(0, e))
        if (IsDigit(c))
            digits += c;
    digits.erase(digits.find_last_not_of('0') + 1);

    std::string text = value < 0 ? "-" : "";
    if (exponent >= -4 && exponent <= 6) {
        if (exponent < 0) {
            text += "0.";
            text.append(static_cast<std::size_t>(-exponent - 1), '0');
            text += digits;
        } else {
            const auto whole = static_cast<std::size_t>(exponent) + 1;
            if (digits.size() <= whole) {
                text += digits;
                text.append(whole - digits.size(), '0');
            } else {
                text.append(digits, 0, whole);
                text += '.';
                text.append(digits, whole);
            }
        }
        return text;
    }

    text += digits[0];
    if (digits.size() > 1) {
        text += '.';
        text.append(digits, 1);
    }
    text += exponent < 0 ? "E-" : "E+";
    const int magnitude = exponent < 0 ? -exponent : exponent;
    if (magnitude < 10)
        text += '0';
    text += std::to_string(magnitude);
    return text;
}

} // namespace pevrand
