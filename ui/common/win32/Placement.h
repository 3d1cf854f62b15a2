// Where a Win32 window and its controls lie: the design's twips in pixels at the window's
// resolution, and the window's place on its monitor.
#pragma once

#include <windows.h>

#include "ui/common/WindowDesign.h"

namespace pevrand::win32
{

// The resolution `window` is shown at, in dots per inch.
int WindowDpi(HWND window);

// `pixelsAt96`, a size in pixels on a screen of 96 DPI, in pixels at `dpi`.
int Scaled(int pixelsAt96, int dpi);

// `box` in pixels at `dpi`: its left, top, width and height each converted from twips.
RECT PixelRect(TwipsRect box, int dpi);

// Moves and sizes every control of `design` to its twips box at `dpi`.
void PlaceControls(HWND window, const WindowDesign &design, int dpi);

// Sizes `window` so that its client area is the design's at `dpi`, and centres it in the work
// area of its monitor, the whole frame inside it. With `over`, centres it over that window
// instead, still inside the work area.
void PlaceWindow(HWND window, const WindowDesign &design, int dpi, HWND over = nullptr);

} // namespace pevrand::win32
