#include "Markup.h"

#include "resources/ProgramIdentity.h"
#include "ui/common/FontFamilies.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>

namespace pevrand::web
{

std::string Escaped(std::string_view text)
{
    std::string escaped;
    escaped.reserve(text.size());
    for (const char c : text) {
        switch (c) {
        case '&':
            escaped += "&amp;";
            break;
        case '<':
            escaped += "&lt;";
            break;
        case '>':
            escaped += "&gt;";
            break;
        case '"':
            escaped += "&quot;";
            break;
        default:
            escaped += c;
        }
    }
    return escaped;
}

std::string CaptionMarkup(std::string_view caption)
{
    const std::size_t at = caption.find('&');
    if (at == std::string_view::npos || at + 1 >= caption.size())
        return Escaped(ShownCaption(caption));
    return Escaped(caption.substr(0, at)) + "<span class=\"ak\">" +
           Escaped(caption.substr(at + 1, 1)) + "</span>" + Escaped(caption.substr(at + 2));
}

std::string AccessKeyAttribute(std::string_view caption)
{
    const char key = AccessKey(caption);
    if (key == 0)
        return {};
    const char lower = key >= 'A' && key <= 'Z' ? static_cast<char>(key - 'A' + 'a') : key;
    return std::string(" accesskey=\"") + lower + "\"";
}

std::string Px(int twips)
{
    return std::to_string(TwipsToPixels(twips)) + "px";
}

std::string BoxStyle(const TwipsRect &box)
{
    return "left:" + Px(box.Left) + ";top:" + Px(box.Top) + ";width:" + Px(box.Width) +
           ";height:" + Px(box.Height);
}

std::string Colour(Rgb colour)
{
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", colour.Red, colour.Green, colour.Blue);
    return text;
}

namespace
{

// The relative luminance of a colour, as the accessibility guidelines define it.
double Luminance(Rgb colour)
{
    const auto linear = [](std::uint8_t channel) {
        const double c = channel / 255.0;
        return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(colour.Red) + 0.7152 * linear(colour.Green) +
           0.0722 * linear(colour.Blue);
}

double Contrast(Rgb a, Rgb b)
{
    const double la = Luminance(a), lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

} // namespace

Rgb ReadableColour(Rgb text, Rgb background)
{
    const auto darker = [](std::uint8_t channel) {
        return static_cast<std::uint8_t>(channel > 0 ? channel - 1 : 0);
    };
    while (Contrast(text, background) < 4.5 && text != Black)
        text = {darker(text.Red), darker(text.Green), darker(text.Blue)};
    return text;
}

std::string Font(const FontDesign &face)
{
    std::string stack;
    const FaceFamilies *known = FindFaceFamilies(face.Family);
    if (known == nullptr) {
        stack = "'" + std::string(face.Family) + "'";
    } else {
        for (const std::string_view family : known->Families)
            if (!family.empty())
                stack += "'" + std::string(family) + "',";
        stack += known->Generic == GenericFamily::Serif ? "serif" : "sans-serif";
    }
    char size[16];
    std::snprintf(size, sizeof size, "%gpt ", face.Family.empty() ? DialogPoints : face.Points);
    return (face.Italic ? "italic " : "") + std::string(size) + stack;
}

std::string Base64(std::string_view bytes)
{
    static constexpr char Digits[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string text;
    text.reserve((bytes.size() + 2) / 3 * 4);
    for (std::size_t i = 0; i < bytes.size(); i += 3) {
        const std::size_t n = std::min<std::size_t>(3, bytes.size() - i);
        unsigned group = 0;
        for (std::size_t j = 0; j < 3; ++j)
            group = group << 8 | (j < n ? static_cast<unsigned char>(bytes[i + j]) : 0u);
        for (std::size_t j = 0; j < 4; ++j)
            text += j <= n ? Digits[group >> (18 - 6 * j) & 63] : '=';
    }
    return text;
}

namespace
{

// <bit>'s std::rotr, which emscripten's library lacks.
constexpr std::uint32_t Rotr(std::uint32_t word, int bits)
{
    return word >> bits | word << (32 - bits);
}

} // namespace

std::string Sha256(std::string_view bytes)
{
    static constexpr std::array<std::uint32_t, 64> K{
        0x428a2f98, 0x71374491, 0xb5c0fbcf, 0xe9b5dba5, 0x3956c25b, 0x59f111f1, 0x923f82a4,
        0xab1c5ed5, 0xd807aa98, 0x12835b01, 0x243185be, 0x550c7dc3, 0x72be5d74, 0x80deb1fe,
        0x9bdc06a7, 0xc19bf174, 0xe49b69c1, 0xefbe4786, 0x0fc19dc6, 0x240ca1cc, 0x2de92c6f,
        0x4a7484aa, 0x5cb0a9dc, 0x76f988da, 0x983e5152, 0xa831c66d, 0xb00327c8, 0xbf597fc7,
        0xc6e00bf3, 0xd5a79147, 0x06ca6351, 0x14292967, 0x27b70a85, 0x2e1b2138, 0x4d2c6dfc,
        0x53380d13, 0x650a7354, 0x766a0abb, 0x81c2c92e, 0x92722c85, 0xa2bfe8a1, 0xa81a664b,
        0xc24b8b70, 0xc76c51a3, 0xd192e819, 0xd6990624, 0xf40e3585, 0x106aa070, 0x19a4c116,
        0x1e376c08, 0x2748774c, 0x34b0bcb5, 0x391c0cb3, 0x4ed8aa4a, 0x5b9cca4f, 0x682e6ff3,
        0x748f82ee, 0x78a5636f, 0x84c87814, 0x8cc70208, 0x90befffa, 0xa4506ceb, 0xbef9a3f7,
        0xc67178f2};
    std::array<std::uint32_t, 8> h{0x6a09e667, 0xbb67ae85, 0x3c6ef372, 0xa54ff53a,
                                   0x510e527f, 0x9b05688c, 0x1f83d9ab, 0x5be0cd19};
    // The message, a 1 bit, zeros up to 56 bytes modulo 64, then its length in bits.
    std::string message(bytes);
    message += '\x80';
    while (message.size() % 64 != 56)
        message += '\0';
    const std::uint64_t bits = static_cast<std::uint64_t>(bytes.size()) * 8;
    for (int shift = 56; shift >= 0; shift -= 8)
        message += static_cast<char>(bits >> shift & 0xff);

    for (std::size_t block = 0; block < message.size(); block += 64) {
        std::array<std::uint32_t, 64> w{};
        for (std::size_t i = 0; i < 16; ++i)
            for (std::size_t j = 0; j < 4; ++j)
                w[i] = w[i] << 8 | static_cast<unsigned char>(message[block + 4 * i + j]);
        for (std::size_t i = 16; i < 64; ++i) {
            const std::uint32_t s0 = Rotr(w[i - 15], 7) ^ Rotr(w[i - 15], 18) ^ (w[i - 15] >> 3);
            const std::uint32_t s1 = Rotr(w[i - 2], 17) ^ Rotr(w[i - 2], 19) ^ (w[i - 2] >> 10);
            w[i] = w[i - 16] + s0 + w[i - 7] + s1;
        }
        std::array<std::uint32_t, 8> v = h;
        for (std::size_t i = 0; i < 64; ++i) {
            const std::uint32_t s1 = Rotr(v[4], 6) ^ Rotr(v[4], 11) ^ Rotr(v[4], 25);
            const std::uint32_t choice = (v[4] & v[5]) ^ (~v[4] & v[6]);
            const std::uint32_t t1 = v[7] + s1 + choice + K[i] + w[i];
            const std::uint32_t s0 = Rotr(v[0], 2) ^ Rotr(v[0], 13) ^ Rotr(v[0], 22);
            const std::uint32_t majority = (v[0] & v[1]) ^ (v[0] & v[2]) ^ (v[1] & v[2]);
            v = {t1 + s0 + majority, v[0], v[1], v[2], v[3] + t1, v[4], v[5], v[6]};
        }
        for (std::size_t i = 0; i < 8; ++i)
            h[i] += v[i];
    }
    std::string digest;
    for (const std::uint32_t word : h)
        for (int shift = 24; shift >= 0; shift -= 8)
            digest += static_cast<char>(word >> shift & 0xff);
    return digest;
}

} // namespace pevrand::web

namespace pevrand::web
{

std::string ControlStyle(const WindowDesign &window, const ControlDesign &control)
{
    std::string style =
        BoxStyle(control.Kind == ControlKind::Option ? control.Box : ClientBox(window, control));
    if (control.Kind == ControlKind::Line)
        style = "left:" + Px(control.Box.Left) + ";top:" + Px(control.Box.Top) +
                ";width:" + Px(control.Box.Width);
    if (!control.Font.Family.empty())
        style += ";font:" + Font(control.Font);
    if (control.TextColour && control.Kind == ControlKind::Line)
        style += ";background:" + Colour(*control.TextColour);
    else if (control.TextColour)
        style += ";color:" + Colour(window.Background
                                        ? ReadableColour(*control.TextColour, *window.Background)
                                        : *control.TextColour);
    return style;
}

std::string TitleAttribute(const ControlDesign &control)
{
    return control.ToolTip.empty() ? std::string() : " title=\"" + Escaped(control.ToolTip) + "\"";
}

std::string SimpleControl(const WindowDesign &window, const ControlDesign &control,
                          std::string_view attributes, bool inForm)
{
    const std::string common = "id=\"" + std::string(control.Name) + "\"" +
                               std::string(attributes) + TitleAttribute(control) + " style=\"" +
                               ControlStyle(window, control) + "\"";
    switch (control.Kind) {
    case ControlKind::Label:
        if (!control.Buddy.empty())
            return "<label class=\"lbl\" for=\"" + std::string(control.Buddy) + "\" " + common +
                   ">" + CaptionMarkup(control.Caption) + "</label>";
        return "<div class=\"lbl\" " + common + ">" + CaptionMarkup(control.Caption) + "</div>";
    case ControlKind::Button:
        // A button in a dialog's form closes the dialog; elsewhere it only clicks.
        return "<button type=\"" + std::string(inForm ? "submit" : "button") + "\" class=\"cmd\" " +
               common + AccessKeyAttribute(control.Caption) + ">" + CaptionMarkup(control.Caption) +
               "</button>";
    case ControlKind::Line:
        return "<div class=\"line\" aria-hidden=\"true\" " + common + "></div>";
    default:
        return {};
    }
}

std::string CommonStyle()
{
    return R"(:root{color-scheme:light dark}
body{margin:0;background:Canvas;color:CanvasText}
main{display:flex;flex-direction:column;align-items:center;gap:8px;padding:8px 0}
.nostart{max-width:360px;margin:8px auto;padding:0 8px;font:12pt sans-serif}
.fit{width:calc(var(--w)*var(--fit,1));height:calc(var(--h)*var(--fit,1))}
.window{color-scheme:light;width:var(--w);height:var(--h);box-sizing:border-box;
 transform:scale(var(--fit,1));transform-origin:0 0;border:1px solid #808080;background:#fff;
 color:#000}
.caption{display:flex;align-items:center;gap:4px;height:22px;margin:0;padding:0 4px;
 font:bold 9pt sans-serif;background:#e3e3e3;color:#000;border-bottom:1px solid #c0c0c0}
.caption img{width:16px;height:16px}
.client{position:relative;overflow:hidden;color:#000}
.client *{box-sizing:border-box;margin:0}
.client>*,.fra>*{position:absolute}
.lbl{white-space:pre-wrap;overflow-wrap:break-word;cursor:default}
.cmd,.txt{font:inherit;color:#000}
.cmd{padding:0 2px;background:ButtonFace;border:1px solid #767676;border-radius:2px}
.txt{padding:0 3px;background:#fff;border:1px solid #767676}
.txt[readonly]{background:#fff}
.line{height:1px;background:#000}
.fra{border:0;padding:0;min-width:0;background:inherit}
.fra>legend{left:7px;top:0;padding:0 2px;background:inherit;line-height:1.2;z-index:1}
.edge{left:0;right:0;top:6px;bottom:0;border:1px solid #a0a0a0;box-shadow:inset 1px 1px #fff,1px 1px #fff;
 border-radius:2px;pointer-events:none}
.opt{display:flex;align-items:center;white-space:nowrap;cursor:default}
.opt input{margin:0 5px 0 1px;flex:none}
.ak{text-decoration:underline}
.client form{display:contents}
.client form>*{position:absolute}
dialog{padding:0;border:0;background:transparent;overflow:visible;max-width:none;max-height:none}
dialog::backdrop{background:rgba(0,0,0,.25)}
.msg{width:auto;height:auto;min-width:240px;max-width:calc(100vw - 24px);transform:none}
.msg>div{padding:18px 12px 12px;background:ButtonFace}
.msg p{margin:0 0 18px;overflow-wrap:anywhere}
.msg form{text-align:center}
.msg .cmd{width:75px;height:23px}
.bar{display:flex;align-items:center;gap:12px;max-width:calc(100vw - 16px);font:10pt sans-serif}
.bar[hidden]{display:none}
.bar .cmd{min-height:28px;padding:0 12px}
.bar p{margin:0}
)";
}

} // namespace pevrand::web

namespace pevrand::web
{

std::string MessageBoxMarkup()
{
    return "<dialog id=\"msgbox\" role=\"alertdialog\" aria-labelledby=\"msgtitle\" "
           "aria-describedby=\"msgtext\"><div class=\"window msg\"><h2 class=\"caption\" "
           "id=\"msgtitle\">" PEVRAND_TITLE "</h2><div style=\"font:" +
           Font(DialogFace) +
           "\"><p id=\"msgtext\"></p><form method=\"dialog\"><button class=\"cmd\" "
           "id=\"msgok\">OK</button></form></div></div></dialog>";
}

} // namespace pevrand::web
