#include "Fonts.h"

#include "Controls.h"
#include "Placement.h"
#include "Text.h"
#include "ui/common/FontFamilies.h"

#include <algorithm>
#include <cstdlib>

namespace pevrand::win32
{
namespace
{

// The dialog font never shrinks below this many pixels at 96 DPI.
constexpr int SmallestDialogPixels = 9;

int CALLBACK NoteFace(const LOGFONTW *, const TEXTMETRICW *, DWORD, LPARAM found)
{
    *reinterpret_cast<bool *>(found) = true;
    return 0;
}

bool FaceExists(const wchar_t *face)
{
    LOGFONTW wanted{};
    wanted.lfCharSet = DEFAULT_CHARSET;
    lstrcpynW(wanted.lfFaceName, face, LF_FACESIZE);
    bool found = false;
    HDC screen = GetDC(nullptr);
    EnumFontFamiliesExW(screen, &wanted, NoteFace, reinterpret_cast<LPARAM>(&found), 0);
    ReleaseDC(nullptr, screen);
    return found;
}

// The design's face, or the first of its stand-ins present, in the order every toolkit tries.
std::wstring FaceFor(std::string_view family)
{
    if (const FaceFamilies *known = FindFaceFamilies(family))
        return AvailableFace(known->Families);
    return Widen(family);
}

HFONT MakeDesignFont(const FontDesign &font, int dpi)
{
    LOGFONTW face{};
    face.lfHeight = -static_cast<LONG>(font.Points * dpi / 72.0 + 0.5);
    face.lfWeight = FW_NORMAL;
    face.lfItalic = font.Italic ? TRUE : FALSE;
    face.lfCharSet = DEFAULT_CHARSET;
    face.lfQuality = CLEARTYPE_QUALITY;
    const std::wstring name = FaceFor(font.Family);
    lstrcpynW(face.lfFaceName, name.c_str(), LF_FACESIZE);
    return CreateFontIndirectW(&face);
}

LOGFONTW SystemDialogFont(int dpi)
{
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (!SystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0,
                                    static_cast<UINT>(dpi))) {
        // The stock dialog face, at its size on a screen of 96 DPI.
        LOGFONTW fallback{};
        GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof fallback, &fallback);
        fallback.lfHeight = -Scaled(11, dpi);
        return fallback;
    }
    return metrics.lfMessageFont;
}

// The pixels a caption's text may take in its control: the box less the radio mark of an
// option, a push button's edges, a frame's corners.
int TextRoom(const ControlDesign &design, int width, int dpi)
{
    switch (design.Kind) {
    case ControlKind::Option:
        return width - GetSystemMetricsForDpi(SM_CXMENUCHECK, static_cast<UINT>(dpi)) -
               Scaled(4, dpi);
    case ControlKind::Button:
        return width - Scaled(6, dpi);
    case ControlKind::Frame:
        return width - Scaled(16, dpi);
    default:
        return width;
    }
}

} // namespace

std::wstring AvailableFace(std::span<const std::string_view> families)
{
    for (std::string_view family : families)
        if (!family.empty() && FaceExists(Widen(family).c_str()))
            return Widen(family);
    return families.empty() ? std::wstring() : Widen(families.front());
}

WindowFonts::~WindowFonts()
{
    Release();
}

void WindowFonts::Release()
{
    for (HFONT *font : {&dialog_, &caption_, &second_}) {
        if (*font)
            DeleteObject(*font);
        *font = nullptr;
    }
}

HFONT WindowFonts::Font(const FontDesign &font) const
{
    if (font.Family.empty())
        return dialog_;
    if (caption_ && font.Family == captionDesign_.Family && font.Italic == captionDesign_.Italic)
        return caption_;
    if (second_ && font.Family == secondDesign_.Family && font.Italic == secondDesign_.Italic)
        return second_;
    return dialog_;
}

bool CaptionFits(HWND control, const ControlDesign &design, HFONT font, int dpi)
{
    std::wstring text = Widen(WindowText(control));
    if (text.empty() || design.Kind == ControlKind::TextBox)
        return true;
    RECT client{};
    GetClientRect(control, &client);
    const int room = TextRoom(design, client.right, dpi);
    HDC dc = GetDC(control);
    HGDIOBJ before = SelectObject(dc, font);
    RECT needed{0, 0, room, 0};
    UINT format = DT_CALCRECT | (design.Kind == ControlKind::Label ? DT_WORDBREAK : DT_SINGLELINE);
    if (AccessKey(design.Caption) == 0 && design.Kind == ControlKind::Label)
        format |= DT_NOPREFIX;
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &needed, format);
    // A label breaks only between words: a word wider than the box is cut. A frame's caption
    // sits on its top edge, so only its width counts.
    bool fits = needed.right <= room;
    if (design.Kind != ControlKind::Frame)
        fits = fits && needed.bottom <= client.bottom;
    SelectObject(dc, before);
    ReleaseDC(control, dc);
    return fits;
}

void WindowFonts::Apply(HWND window, const WindowDesign &design, int dpi)
{
    // The controls keep the old fonts until they have the new ones.
    WindowFonts old;
    std::swap(old.dialog_, dialog_);
    std::swap(old.caption_, caption_);
    std::swap(old.second_, second_);
    for (const ControlDesign &control : design.Controls) {
        if (control.Font.Family.empty() || Font(control.Font) != dialog_)
            continue;
        if (!caption_) {
            caption_ = MakeDesignFont(control.Font, dpi);
            captionDesign_ = control.Font;
        } else if (!second_) {
            second_ = MakeDesignFont(control.Font, dpi);
            secondDesign_ = control.Font;
        }
    }

    LOGFONTW face = SystemDialogFont(dpi);
    const LONG largest = std::abs(face.lfHeight);
    const LONG smallest = Scaled(SmallestDialogPixels, dpi);
    for (LONG height = largest; height >= std::min(smallest, largest); --height) {
        face.lfHeight = -height;
        HFONT candidate = CreateFontIndirectW(&face);
        bool all = true;
        for (const ControlDesign &control : design.Controls)
            if (HWND child = Control(window, design, control.Name);
                child && control.Font.Family.empty())
                all = all && CaptionFits(child, control, candidate, dpi);
        if (dialog_)
            DeleteObject(dialog_);
        dialog_ = candidate;
        dialogHeight_ = static_cast<int>(height);
        if (all)
            break;
    }
    for (const ControlDesign &control : design.Controls)
        if (HWND child = Control(window, design, control.Name))
            SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(Font(control.Font)), TRUE);
}

} // namespace pevrand::win32
