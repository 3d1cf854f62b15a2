#include "Markup.h"

#include "resources/ProgramIdentity.h"
#include "ui/common/FontFamilies.h"

#include <algorithm>
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
