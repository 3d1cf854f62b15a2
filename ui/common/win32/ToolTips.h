// The designed tooltips of a Win32 window, shown by one tooltip window that goes with it.
#pragma once

#include <windows.h>

#include "ui/common/WindowDesign.h"

namespace pevrand::win32
{

// The designed tooltips, shown by one tooltip window of `window`, which goes with it.
void AddToolTips(HWND window, const WindowDesign &design);

// Moves the tooltip of `frame` to `box`, the frame's place in pixels; nothing before
// AddToolTips.
void PlaceFrameToolTip(HWND window, const WindowDesign &design, const ControlDesign &frame,
                       RECT box);

// Forgets the tooltip window of `window`, as `window` goes.
void ForgetToolTips(HWND window);

} // namespace pevrand::win32
