#include "Placement.h"

#include "Controls.h"
#include "ToolTips.h"

#include <algorithm>

namespace pevrand::win32
{
namespace
{

// A label shows only where no control made after it lies (the input box lies over the end of
// its label): its window keeps its designed box, its visible region loses the overlaps.
void ShowUnderLaterControls(const WindowDesign &design, const ControlDesign &label, HWND child,
                            int dpi)
{
    const RECT own = PixelRect(ClientBox(design, label), dpi);
    HRGN visible = CreateRectRgn(0, 0, own.right - own.left, own.bottom - own.top);
    bool later = false;
    for (const ControlDesign &control : design.Controls) {
        if (&control == &label) {
            later = true;
            continue;
        }
        if (!later || ClassOf(control.Kind) == nullptr)
            continue;
        const RECT other = PixelRect(ClientBox(design, control), dpi);
        RECT overlap{};
        if (IntersectRect(&overlap, &own, &other)) {
            HRGN hole = CreateRectRgn(overlap.left - own.left, overlap.top - own.top,
                                      overlap.right - own.left, overlap.bottom - own.top);
            CombineRgn(visible, visible, hole, RGN_DIFF);
            DeleteObject(hole);
        }
    }
    SetWindowRgn(child, visible, TRUE); // the window owns the region from here on
}

} // namespace

int WindowDpi(HWND window)
{
    const UINT dpi = window ? GetDpiForWindow(window) : 0;
    return dpi ? static_cast<int>(dpi) : StandardDpi;
}

int Scaled(int pixelsAt96, int dpi)
{
    return MulDiv(pixelsAt96, dpi, StandardDpi);
}

RECT PixelRect(TwipsRect box, int dpi)
{
    const int left = TwipsToPixels(box.Left, dpi);
    const int top = TwipsToPixels(box.Top, dpi);
    return {left, top, left + TwipsToPixels(box.Width, dpi), top + TwipsToPixels(box.Height, dpi)};
}

void PlaceControls(HWND window, const WindowDesign &design, int dpi)
{
    for (const ControlDesign &control : design.Controls) {
        if (HWND child = Control(window, design, control.Name)) {
            const RECT box = PixelRect(ClientBox(design, control), dpi);
            SetWindowPos(child, nullptr, box.left, box.top, box.right - box.left,
                         box.bottom - box.top, SWP_NOZORDER | SWP_NOACTIVATE);
            if (control.Kind == ControlKind::Label)
                ShowUnderLaterControls(design, control, child, dpi);
            if (control.Kind == ControlKind::Frame)
                PlaceFrameToolTip(window, design, control, box);
        }
    }
}

void PlaceWindow(HWND window, const WindowDesign &design, int dpi, HWND over)
{
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE));
    const auto exStyle = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_EXSTYLE));
    RECT frame{0, 0, TwipsToPixels(design.ClientWidth, dpi),
               TwipsToPixels(design.ClientHeight, dpi)};
    AdjustWindowRectExForDpi(&frame, style, FALSE, exStyle, static_cast<UINT>(dpi));
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;

    HMONITOR monitor = MonitorFromWindow(over ? over : window, MONITOR_DEFAULTTOPRIMARY);
    MONITORINFO info{};
    info.cbSize = sizeof info;
    GetMonitorInfoW(monitor, &info);
    const RECT work = info.rcWork;
    RECT centre = work;
    if (over && IsWindowVisible(over))
        GetWindowRect(over, &centre);
    int left = (centre.left + centre.right - width) / 2;
    int top = (centre.top + centre.bottom - height) / 2;
    // The whole frame, title bar included, inside the work area where it fits.
    left =
        std::max(static_cast<int>(work.left), std::min(left, static_cast<int>(work.right) - width));
    top =
        std::max(static_cast<int>(work.top), std::min(top, static_cast<int>(work.bottom) - height));
    SetWindowPos(window, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

} // namespace pevrand::win32
