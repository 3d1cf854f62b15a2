#include "FactorsPainter.h"

#include "ui/about/FactorsDesign.h"
#include "ui/common/win32/Fonts.h"
#include "ui/common/win32/Placement.h"
#include "ui/common/win32/Text.h"

#include <algorithm>
#include <vector>

namespace pevrand::win32
{
namespace
{

using factors::Face;
using factors::Piece;
using factors::Place;

constexpr int NominalPixels = 12; // the type's size at 96 DPI
constexpr int SmallestPixels = 8;

// The picture's faces at one size. A Times-like serif, whose italics read as mathematical
// symbols; the Greek letters from a face whose italic nu has a round bowl where there is one.
class Faces
{
public:
    explicit Faces(int pixels)
        : text_(Make(TextFace(), pixels, false)), symbol_(Make(TextFace(), pixels, true)),
          greek_(Make(GreekFace(), pixels, true)),
          script_(Make(TextFace(), std::max(1, pixels * 7 / 10), false)),
          rise_((pixels * 4 + 5) / 10)
    {
    }
    Faces(const Faces &) = delete;
    Faces &operator=(const Faces &) = delete;
    ~Faces()
    {
        for (HFONT font : {text_, symbol_, greek_, script_})
            DeleteObject(font);
    }

    HFONT Of(Face face) const
    {
        switch (face) {
        case Face::Symbol:
            return symbol_;
        case Face::Greek:
            return greek_;
        case Face::Superscript:
            return script_;
        case Face::Text:
            break;
        }
        return text_;
    }
    int Rise() const { return rise_; }

private:
    static std::wstring TextFace() { return AvailableFace(factors::TextFamilies); }
    static std::wstring GreekFace() { return AvailableFace(factors::GreekFamilies); }
    static HFONT Make(const std::wstring &face, int pixels, bool italic)
    {
        LOGFONTW font{};
        font.lfHeight = -pixels;
        font.lfItalic = italic ? TRUE : FALSE;
        font.lfWeight = FW_NORMAL;
        font.lfCharSet = DEFAULT_CHARSET;
        font.lfQuality = ANTIALIASED_QUALITY;
        lstrcpynW(font.lfFaceName, face.c_str(), LF_FACESIZE);
        return CreateFontIndirectW(&font);
    }

    HFONT text_, symbol_, greek_, script_;
    int rise_;
};

// A line's extent around its baseline.
struct Extent {
    int Width = 0, Above = 0, Below = 0;
};

// Sets one row of pieces from x on a baseline; draws only when `draw`.
class Setter
{
public:
    Setter(HDC dc, const Faces &faces, bool draw, bool inFraction = false)
        : dc_(dc), faces_(faces), draw_(draw), inFraction_(inFraction)
    {
    }

    Extent Row(std::span<const Piece> pieces, int x, int baseline)
    {
        Extent extent;
        const int start = x;
        bool leaning = false;
        for (std::size_t i = 0; i < pieces.size();) {
            if (pieces[i].Where == Place::Numerator && !inFraction_) {
                std::size_t end = i;
                while (end < pieces.size() && pieces[end].Where != Place::Line)
                    ++end;
                if (leaning)
                    x += Lean();
                x += Fraction(pieces.subspan(i, end - i), x, baseline, extent);
                leaning = false;
                i = end;
                continue;
            }
            const Piece &piece = pieces[i];
            const bool italic = piece.Style == Face::Symbol || piece.Style == Face::Greek;
            if (leaning && !italic)
                x += Lean();
            const int lift = piece.Style == Face::Superscript ? faces_.Rise() : 0;
            const Extent run = Text(piece, x, baseline - lift);
            extent.Above = std::max(extent.Above, run.Above + lift);
            extent.Below = std::max(extent.Below, run.Below - lift);
            x += run.Width;
            leaning = italic;
            ++i;
        }
        extent.Width = x - start;
        return extent;
    }

private:
    // An italic letter leans past its advance; upright text after it starts that much later.
    int Lean() const
    {
        TEXTMETRICW metrics{};
        SelectObject(dc_, faces_.Of(Face::Text));
        GetTextMetricsW(dc_, &metrics);
        return std::max(1, static_cast<int>(metrics.tmHeight) / 12);
    }

    Extent Text(const Piece &piece, int x, int baseline)
    {
        const std::wstring text = Widen(piece.Text);
        SelectObject(dc_, faces_.Of(piece.Style));
        // An italic letter also leans back over the text before it: it moves right by that much.
        int lead = 0;
        if (ABC abc{}; (piece.Style == Face::Symbol || piece.Style == Face::Greek) &&
                       GetCharABCWidthsW(dc_, text.front(), text.front(), &abc) && abc.abcA < 0)
            lead = -abc.abcA;
        x += lead;
        SIZE size{};
        GetTextExtentPoint32W(dc_, text.c_str(), static_cast<int>(text.size()), &size);
        TEXTMETRICW metrics{};
        GetTextMetricsW(dc_, &metrics);
        if (draw_)
            TextOutW(dc_, x, baseline, text.c_str(), static_cast<int>(text.size()));
        // The ink: capitals and digits reach the ascent less the internal leading.
        return {lead + static_cast<int>(size.cx),
                static_cast<int>(metrics.tmAscent - metrics.tmInternalLeading),
                static_cast<int>(metrics.tmDescent)};
    }

    // A numerator over a rule over a denominator, the rule at the height of a minus sign's bar.
    int Fraction(std::span<const Piece> pieces, int x, int baseline, Extent &extent)
    {
        const auto split = std::find_if(pieces.begin(), pieces.end(), [](const Piece &piece) {
            return piece.Where == Place::Denominator;
        });
        const std::span<const Piece> over(pieces.begin(), split);
        const std::span<const Piece> under(split, pieces.end());
        Setter measure(dc_, faces_, false, true);
        const Extent top = measure.Row(over, 0, 0);
        const Extent bottom = measure.Row(under, 0, 0);

        TEXTMETRICW metrics{};
        SelectObject(dc_, faces_.Of(Face::Text));
        GetTextMetricsW(dc_, &metrics);
        const int thickness = std::max(1, static_cast<int>(metrics.tmHeight) / 16);
        const int overshoot = std::max(1, static_cast<int>(metrics.tmHeight) / 8);
        const int ruleTop = baseline - (metrics.tmAscent - metrics.tmInternalLeading) * 3 / 8;
        const int gap = thickness + 1;
        const int width = std::max(top.Width, bottom.Width) + 2 * overshoot;

        const int overBaseline = ruleTop - gap - top.Below;
        const int underBaseline = ruleTop + thickness + gap + bottom.Above;
        if (draw_) {
            Setter(dc_, faces_, true, true).Row(over, x + (width - top.Width) / 2, overBaseline);
            Setter(dc_, faces_, true, true)
                .Row(under, x + (width - bottom.Width) / 2, underBaseline);
            const RECT rule{x, ruleTop, x + width, ruleTop + thickness};
            FillRect(dc_, &rule, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        }
        extent.Above = std::max(extent.Above, baseline - overBaseline + top.Above);
        extent.Below = std::max(extent.Below, underBaseline - baseline + bottom.Below);
        return width;
    }

    HDC dc_;
    const Faces &faces_;
    bool draw_;
    bool inFraction_; // the pieces of a numerator or denominator sit on one line
};

} // namespace

void PaintFactors(HDC dc, RECT box, int dpi)
{
    FillRect(dc, &box, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    const int width = box.right - box.left;
    const int height = box.bottom - box.top;
    const int margin = Scaled(6, dpi);
    const int leastGap = Scaled(3, dpi);

    const int saved = SaveDC(dc);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(0, 0, 0));
    SetTextAlign(dc, TA_BASELINE | TA_LEFT | TA_NOUPDATECP);

    int pixels = Scaled(NominalPixels, dpi);
    const int smallest = Scaled(SmallestPixels, dpi);
    for (;; --pixels) {
        const Faces faces(pixels);
        std::vector<Extent> extents;
        int widest = 0, total = 0;
        for (const auto &line : factors::Lines) {
            extents.push_back(Setter(dc, faces, false).Row(line, 0, 0));
            widest = std::max(widest, extents.back().Width);
            total += extents.back().Above + extents.back().Below;
        }
        const int lines = static_cast<int>(factors::Lines.size());
        const bool fits = widest <= width - 2 * margin && total <= height - (lines + 1) * leastGap;
        if (!fits && pixels > smallest)
            continue;
        const int left = box.left + (width - widest) / 2;
        const int gap = (height - total) / (lines + 1);
        int top = box.top + gap;
        for (std::size_t i = 0; i < extents.size(); ++i) {
            Setter(dc, faces, true).Row(factors::Lines[i], left, top + extents[i].Above);
            top += extents[i].Above + extents[i].Below + gap;
        }
        break;
    }
    RestoreDC(dc, saved);
}

} // namespace pevrand::win32
