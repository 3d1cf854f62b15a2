// The fonts of a Win32 window: the dialog font at the largest size where every caption fits,
// the design's own faces or their stand-ins, and the test of whether a caption fits its box.
#pragma once

#include <windows.h>

#include "ui/common/WindowDesign.h"

#include <span>
#include <string>
#include <string_view>

namespace pevrand::win32
{

// The first of `families` that the system has (empty places skipped), or the first one when it
// has none of them.
std::wstring AvailableFace(std::span<const std::string_view> families);

// The fonts of one window at one resolution: the dialog font, at the largest size up to the
// system's where every caption fits its box whole, and the design's own faces (or close
// stand-ins where they are missing). Deletes them when it goes.
class WindowFonts
{
public:
    WindowFonts() = default;
    WindowFonts(const WindowFonts &) = delete;
    WindowFonts &operator=(const WindowFonts &) = delete;
    ~WindowFonts();

    // Makes the fonts for `window` at `dpi`, measuring the controls' present texts, and gives
    // every control its font.
    void Apply(HWND window, const WindowDesign &design, int dpi);

    // The font of `font` as made by the last Apply.
    HFONT Font(const FontDesign &font) const;
    int DialogHeight() const { return dialogHeight_; }

private:
    void Release();
    HFONT dialog_ = nullptr;
    HFONT caption_ = nullptr; // the design's named faces, at most two per window
    FontDesign captionDesign_{};
    HFONT second_ = nullptr;
    FontDesign secondDesign_{};
    int dialogHeight_ = 0;
};

// True when the caption of `control` fits its box whole in `font` at `dpi`.
bool CaptionFits(HWND control, const ControlDesign &design, HFONT font, int dpi);

} // namespace pevrand::win32
