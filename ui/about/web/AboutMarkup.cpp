#include "AboutMarkup.h"

#include "ui/about/AboutWindowDesign.h"
#include "ui/about/FactorsDesign.h"
#include "ui/common/web/Markup.h"

#include <cmath>

namespace pevrand::web
{
namespace
{

const WindowDesign &Window = about_window::Window;

// The picture's vertical metrics at its nominal size, in pixels, as a Times-like face has them:
// the line's ascent and descent, a superscript's size and rise, the baselines of a fraction's
// parts from the line's, and its rule's top and thickness.
constexpr int PixelSize = factors::NominalPixelSize;
constexpr int Ascent = 11, Descent = 3;
constexpr int ScriptSize = 8, ScriptRise = 5;
constexpr int NumeratorBaseline = -9, DenominatorBaseline = 8;
constexpr int RuleTop = -4, RuleThickness = 1;

std::string FamilyList(std::span<const std::string_view> families)
{
    std::string list;
    for (const std::string_view family : families)
        list += "'" + std::string(family) + "',";
    return list + "serif";
}

// The baseline of a piece from its line's.
int PieceBaseline(const factors::Piece &piece)
{
    const int place = piece.Where == factors::Numerator     ? NumeratorBaseline
                      : piece.Where == factors::Denominator ? DenominatorBaseline
                                                            : 0;
    return place - (piece.Style == factors::Superscript ? ScriptRise : 0);
}

std::string Tspan(const factors::Piece &piece, int dy)
{
    std::string attributes;
    if (dy != 0)
        attributes += " dy=\"" + std::to_string(dy) + "\"";
    if (piece.Where == factors::Numerator)
        attributes += " class=\"n\"";
    else if (piece.Where == factors::Denominator)
        attributes += " class=\"d\"";
    switch (piece.Style) {
    case factors::Symbol:
        attributes += " font-style=\"italic\"";
        break;
    case factors::Greek:
        attributes +=
            " font-style=\"italic\" font-family=\"" + FamilyList(factors::GreekFamilies) + "\"";
        break;
    case factors::Superscript:
        attributes += " font-size=\"" + std::to_string(ScriptSize) + "\"";
        break;
    case factors::Text:
        break;
    }
    return "<tspan" + attributes + ">" + Escaped(piece.Text) + "</tspan>";
}

// The text a screen reader gives for the picture: its lines, one after the other.
std::string PictureText()
{
    std::string text;
    for (const auto &line : factors::Lines) {
        if (!text.empty())
            text += " ";
        for (const factors::Piece &piece : line)
            text += std::string(piece.Where == factors::Denominator && &piece != &line.front() &&
                                        (&piece)[-1].Where == factors::Numerator
                                    ? " / "
                                    : "") +
                    std::string(piece.Style == factors::Superscript ? "^" : "") +
                    std::string(piece.Text);
    }
    return text;
}

} // namespace

std::string FactorsSvg()
{
    // Lines evenly spaced from top to bottom, a line with a fraction as tall as its parts.
    std::vector<int> tops, bottoms;
    int height = 0;
    for (const auto &line : factors::Lines) {
        int top = -Ascent, bottom = Descent;
        for (const factors::Piece &piece : line) {
            top = std::min(top, PieceBaseline(piece) - Ascent);
            bottom = std::max(bottom, PieceBaseline(piece) + Descent);
        }
        tops.push_back(top);
        bottoms.push_back(bottom);
        height += bottom - top;
    }
    const double gap =
        static_cast<double>(factors::Height - height) / static_cast<double>(tops.size() + 1);

    std::string lines;
    double y = gap;
    std::string rule;
    for (std::size_t i = 0; i < factors::Lines.size(); ++i) {
        const int baseline = static_cast<int>(std::lround(y - tops[i]));
        lines += "<text x=\"6\" y=\"" + std::to_string(baseline) + "\">";
        int at = 0;
        for (const factors::Piece &piece : factors::Lines[i]) {
            lines += Tspan(piece, PieceBaseline(piece) - at);
            at = PieceBaseline(piece);
            if (piece.Where == factors::Denominator && rule.empty())
                rule = "<rect class=\"rule\" x=\"0\" width=\"0\" y=\"" +
                       std::to_string(baseline + RuleTop) + "\" height=\"" +
                       std::to_string(RuleThickness) + "\"/>";
        }
        lines += "</text>";
        y += bottoms[i] - tops[i] + gap;
    }

    const std::string width = std::to_string(factors::Width),
                      height_ = std::to_string(factors::Height);
    return "<svg class=\"factors\" id=\"Image1\" role=\"img\" aria-label=\"" +
           Escaped(PictureText()) + "\" data-w=\"" + width + "\" data-h=\"" + height_ +
           "\" width=\"" + width + "\" height=\"" + height_ + "\" viewBox=\"0 0 " + width + " " +
           height_ + "\" style=\"" + ControlStyle(Window, *FindControl(Window, "Image1")) +
           ";background:#fff\"><g class=\"lines\" fill=\"#000\" font-size=\"" +
           std::to_string(PixelSize) + "\" font-family=\"" + FamilyList(factors::TextFamilies) +
           "\">" + lines + rule + "</g></svg>";
}

std::string AboutDialogMarkup(std::string_view iconUri)
{
    std::string controls;
    bool firstLine = true;
    for (const ControlDesign &control : Window.Controls) {
        const std::string name(control.Name);
        if (name == "Image2") {
            controls += "<img id=\"Image2\" alt=\"\" src=\"" + std::string(iconUri) +
                        "\" style=\"" + ControlStyle(Window, control) + "\">";
        } else if (name == "Image1") {
            controls += FactorsSvg();
        } else if (control.Kind == ControlKind::Line) {
            // The white line two pixels high, the grey one over its upper row.
            const int pixels =
                firstLine ? about_window::WhiteLinePixels : about_window::GreyLinePixels;
            controls += "<div class=\"line\" aria-hidden=\"true\" style=\"" +
                        ControlStyle(Window, control) + ";height:" + std::to_string(pixels) +
                        "px\"></div>";
            firstLine = false;
        } else if (name == "cmdOK") {
            // OK closes the dialog by itself, as the dialog's form; Escape too.
            controls +=
                "<form method=\"dialog\">" + SimpleControl(Window, control, {}, true) + "</form>";
        } else if (name != "cmdSysInfo") {
            controls += SimpleControl(Window, control);
        }
    }
    const int width = TwipsToPixels(Window.ClientWidth) + 2,
              height = TwipsToPixels(Window.ClientHeight) + 25;
    return "<dialog id=\"frmAbout\" aria-labelledby=\"frmAboutCaption\" "
           "aria-describedby=\"lblTitle lblVersion lblDescription\"><div class=\"fit\" data-w=\"" +
           std::to_string(width) + "\" style=\"--w:" + std::to_string(width) +
           "px;--h:" + std::to_string(height) +
           "px\"><div class=\"window\"><h2 class=\"caption\" " +
           "id=\"frmAboutCaption\"></h2><div class=\"client\" style=\"width:" +
           Px(Window.ClientWidth) + ";height:" + Px(Window.ClientHeight) +
           ";background:ButtonFace;font:" + Font(DialogFace) + "\">" + controls +
           "</div></div></div></dialog>";
}

} // namespace pevrand::web
