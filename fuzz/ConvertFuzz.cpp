// libFuzzer target: the whole Convert command on arbitrary entry texts and unit choices.
//
// The bytes are read as
//   byte 0      the input quantity:  (byte - '0') mod 11, so '0'..'9' are Energy..Tof and
//               ':' (or any byte that lands on 10) is no selection;
//   byte 1      the output quantity, the same way, and the edition of the constants:
//               ((byte - '0') / 11) mod 3, so that '0'..'9' are classic;
//   the rest    the input text, the 2 theta text and the flight path text, separated by '\n'.
//               Missing texts are empty; the flight path text takes everything after the
//               second separator, further newlines included.
// So the seed "0125\n\n" is 25 meV converted to wavelength, as at start-up.
//
// Each run must show either a result or one of the command's messages, never both and never
// neither, and never pevrand-convert's own message for a cut line; and a result must read back
// as a positive finite number written with at most five significant digits.
#include "convert/ConvertCommand.h"
#include "engine/NumberText.h"

#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

namespace
{

using pevrand::ConvertOutcome;
using pevrand::ConvertRequest;
using pevrand::Quantity;

constexpr int QuantityCount = 10; // and one more code for "no selection"
constexpr char Separator = '\n';

std::optional<Quantity> QuantityFromByte(std::uint8_t byte)
{
    const int code = static_cast<std::uint8_t>(byte - '0') % (QuantityCount + 1);
    if (code == QuantityCount)
        return std::nullopt;
    return static_cast<Quantity>(code);
}

// The next text up to the separator (or to the end), and the position after the separator.
std::string_view NextText(std::string_view &rest, bool last)
{
    const std::size_t end = last ? std::string_view::npos : rest.find(Separator);
    const std::string_view text = rest.substr(0, end);
    rest = end == std::string_view::npos ? std::string_view{} : rest.substr(end + 1);
    return text;
}

ConvertRequest Decode(const std::uint8_t *data, std::size_t size)
{
    ConvertRequest request;
    if (size < 2)
        return request; // no selection on either side, every text empty
    request.Input = QuantityFromByte(data[0]);
    request.Output = QuantityFromByte(data[1]);
    const int edition = static_cast<std::uint8_t>(data[1] - '0') / (QuantityCount + 1) % 3;
    request.Constants = static_cast<pevrand::Edition>(edition);
    std::string_view rest(reinterpret_cast<const char *>(data + 2), size - 2);
    request.InputText = std::string(NextText(rest, false));
    request.TwoThetaText = std::string(NextText(rest, false));
    request.FlightPathText = std::string(NextText(rest, true));
    return request;
}

std::string Printable(std::string_view text)
{
    std::string shown;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte < 0x7f && c != '\\') {
            shown += c;
        } else {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\x%02x", byte);
            shown += escape;
        }
    }
    return shown;
}

[[noreturn]] void Fail(const char *what, const ConvertRequest &request,
                       const ConvertOutcome &outcome)
{
    const auto side = [](std::optional<Quantity> q) { return q ? static_cast<int>(*q) : -1; };
    std::fprintf(stderr,
                 "ConvertFuzz: %s\n  input quantity %d, output quantity %d, edition %d\n"
                 "  input \"%s\", 2 theta \"%s\", flight path \"%s\"\n"
                 "  output \"%s\", message %d\n",
                 what, side(request.Input), side(request.Output),
                 static_cast<int>(request.Constants),
                 Printable(request.InputText).c_str(), Printable(request.TwoThetaText).c_str(),
                 Printable(request.FlightPathText).c_str(), Printable(outcome.OutputText).c_str(),
                 outcome.Message ? static_cast<int>(*outcome.Message) : -1);
    std::abort();
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// The number of significant digits of a result text of the form digits[.digits][E(+|-)digits],
// counted from the first to the last non-zero digit of the mantissa; -1 when the text is not
// of that form.
int SignificantDigits(std::string_view text)
{
    std::size_t i = 0;
    std::string mantissa;
    while (i < text.size() && IsDigit(text[i]))
        mantissa += text[i++];
    if (mantissa.empty())
        return -1;
    if (i < text.size() && text[i] == '.') {
        ++i;
        const std::size_t fractionStart = mantissa.size();
        while (i < text.size() && IsDigit(text[i]))
            mantissa += text[i++];
        if (mantissa.size() == fractionStart)
            return -1;
    }
    if (i < text.size() && text[i] == 'E') {
        ++i;
        if (i == text.size() || (text[i] != '+' && text[i] != '-'))
            return -1;
        const std::size_t exponentStart = ++i;
        while (i < text.size() && IsDigit(text[i]))
            ++i;
        if (i == exponentStart)
            return -1;
    }
    if (i != text.size())
        return -1;

    const std::size_t first = mantissa.find_first_not_of('0');
    if (first == std::string::npos)
        return 0;
    const std::size_t last = mantissa.find_last_not_of('0');
    return static_cast<int>(last - first + 1);
}

void CheckOutcome(const ConvertRequest &request, const ConvertOutcome &outcome)
{
    const bool hasOutput = !outcome.OutputText.empty();
    const bool hasMessage = outcome.Message.has_value();
    if (hasOutput == hasMessage)
        Fail("not exactly one of output and message", request, outcome);

    if (hasMessage) {
        if (*outcome.Message >= pevrand::MessageId::NumberTooLong)
            Fail("a message the command never gives", request, outcome);
        return;
    }

    const double value = pevrand::ReadNumber(outcome.OutputText);
    if (!(value > 0.0) || !std::isfinite(value))
        Fail("output does not read back as a positive finite number", request, outcome);
    const int digits = SignificantDigits(outcome.OutputText);
    if (digits < 1)
        Fail("output is not a plain number text", request, outcome);
    if (digits > 5)
        Fail("output has more than five significant digits", request, outcome);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const ConvertRequest request = Decode(data, size);
    CheckOutcome(request, pevrand::RunConvert(request));
    return 0;
}
