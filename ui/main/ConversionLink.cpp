#include "ConversionLink.h"

#include "MainWindowDesign.h"
#include "engine/QuantityNames.h"

#include <array>

namespace pevrand
{
namespace
{

// The fields of a link, in the order ReadLink keeps them.
enum Field { Value, From, To, Angle, Path, Constants, FieldCount };
constexpr std::array<std::string_view, FieldCount> FieldNames{"v",     "from", "to",
                                                              "angle", "path", "constants"};

constexpr std::string_view ReplacementCharacter = "\xEF\xBF\xBD";

int HexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

// `text` with each %XX made the byte it stands for; a "%" not followed by two hex digits stays.
std::string PercentDecoded(std::string_view text)
{
    std::string bytes;
    bytes.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const int high = text[i] == '%' && i + 2 < text.size() ? HexValue(text[i + 1]) : -1;
        const int low = high >= 0 ? HexValue(text[i + 2]) : -1;
        if (low < 0) {
            bytes += text[i];
            continue;
        }
        bytes += static_cast<char>(high * 16 + low);
        i += 2;
    }
    return bytes;
}

// The length of the well-formed UTF-8 sequence that `bytes` starts with, or 0 when it starts
// with none (a stray or overlong byte, a surrogate, a sequence cut short, beyond U+10FFFF).
std::size_t SequenceLength(std::string_view bytes)
{
    const auto byte = [&](std::size_t i) {
        return i < bytes.size() ? static_cast<unsigned char>(bytes[i]) : 0u;
    };
    const unsigned lead = byte(0);
    if (lead < 0x80)
        return 1;
    std::size_t length = 0;
    unsigned low = 0x80, high = 0xBF; // the second byte's range
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : low;
        high = lead == 0xED ? 0x9F : high;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : low;
        high = lead == 0xF4 ? 0x8F : high;
    } else {
        return 0;
    }
    for (std::size_t i = 1; i < length; ++i) {
        const unsigned b = byte(i);
        if (b < (i == 1 ? low : 0x80u) || b > (i == 1 ? high : 0xBFu))
            return 0;
    }
    return length;
}

// Whether the well-formed character that `bytes` starts with is a control character (C0, DEL or
// C1): a box would drop it, and the page's strings end at a NUL.
bool IsControl(std::string_view bytes, std::size_t length)
{
    const auto lead = static_cast<unsigned char>(bytes[0]);
    return (length == 1 && (lead < 0x20 || lead == 0x7F)) ||
           (length == 2 && lead == 0xC2 && static_cast<unsigned char>(bytes[1]) < 0xA0);
}

// `bytes` as a box holds them: UTF-8, each ill-formed byte and each control character a U+FFFD,
// cut after as many whole characters as fit in the box's UTF-16 units.
std::string BoxText(std::string_view bytes)
{
    std::string text;
    std::size_t units = 0;
    while (!bytes.empty()) {
        const std::size_t length = SequenceLength(bytes);
        const bool replaced = length == 0 || IsControl(bytes, length);
        const std::size_t width = length == 4 ? 2 : 1; // beyond U+FFFF: a surrogate pair
        if (units + width > main_window::BoxCharacters)
            break;
        text += replaced ? ReplacementCharacter : bytes.substr(0, length);
        units += width;
        bytes.remove_prefix(length > 0 ? length : 1);
    }
    return text;
}

// `text` percent-escaped but for ASCII letters, digits and -._~.
std::string PercentEscaped(std::string_view text)
{
    static constexpr char Hex[] = "0123456789ABCDEF";
    std::string escaped;
    escaped.reserve(text.size());
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
            c == '-' || c == '.' || c == '_' || c == '~') {
            escaped += c;
        } else {
            escaped += '%';
            escaped += Hex[byte >> 4];
            escaped += Hex[byte & 15];
        }
    }
    return escaped;
}

} // namespace

std::optional<ConvertRequest> ReadLink(std::string_view fragment)
{
    if (fragment.starts_with('#'))
        fragment.remove_prefix(1);
    std::array<std::optional<std::string>, FieldCount> fields;
    for (bool more = true; more;) {
        const std::size_t end = fragment.find('&');
        const std::string_view field = fragment.substr(0, end);
        more = end != std::string_view::npos;
        fragment.remove_prefix(more ? end + 1 : fragment.size());

        const std::size_t equals = field.find('=');
        const std::string name = PercentDecoded(field.substr(0, equals));
        for (std::size_t i = 0; i < FieldCount; ++i)
            if (name == FieldNames[i] && !fields[i])
                fields[i] = equals == std::string_view::npos
                                ? std::string()
                                : PercentDecoded(field.substr(equals + 1));
    }
    if (!fields[Value] || !fields[From] || !fields[To])
        return std::nullopt;
    const std::optional<Quantity> from = QuantityFromName(*fields[From]);
    const std::optional<Quantity> to = QuantityFromName(*fields[To]);
    // An edition this version doesn't know (a later one's, say) would convert another number
    // than the one shared: such a link is ignored whole, as one with an unknown quantity is.
    const std::optional<Edition> constants =
        fields[Constants] ? EditionFromName(*fields[Constants]) : Edition::Classic;
    if (!from || !to || !constants)
        return std::nullopt;
    return ConvertRequest{BoxText(*fields[Value]),
                          BoxText(fields[Angle].value_or("")),
                          BoxText(fields[Path].value_or("")),
                          from,
                          to,
                          *constants};
}

std::string LinkFragment(const ConvertRequest &conversion)
{
    if (!conversion.Input || !conversion.Output)
        return {};
    std::string fragment = "#v=" + PercentEscaped(conversion.InputText) +
                           "&from=" + std::string(QuantityName(*conversion.Input)) +
                           "&to=" + std::string(QuantityName(*conversion.Output));
    if (!conversion.TwoThetaText.empty())
        fragment += "&angle=" + PercentEscaped(conversion.TwoThetaText);
    if (!conversion.FlightPathText.empty())
        fragment += "&path=" + PercentEscaped(conversion.FlightPathText);
    if (conversion.Constants != Edition::Classic)
        fragment += "&constants=" + std::string(RowOf(conversion.Constants).Name);
    return fragment;
}

} // namespace pevrand
