// The keyboard of a Win32 window as designed: Tab stops, option groups, access keys, Enter and
// Escape, handled in the controls' own procedures and in the window's.
#pragma once

#include <windows.h>

#include "ui/common/WindowDesign.h"

namespace pevrand::win32
{

// What a window does with the keys its controls pass on.
class KeyHandler
{
public:
    virtual ~KeyHandler() = default;
    // Enter in `control` (a control that is no button); true when taken.
    virtual bool OnEnter(HWND control) = 0;
    // Escape anywhere in the window; true when taken.
    virtual bool OnEscape() = 0;
};

// Gives every control of `design` in `window` the keyboard of the designed window: Tab and
// Shift+Tab walk the Tab stops (an option group is one stop, on its selected option), the arrow
// keys select the next or previous option of a group and wrap, Alt with an access key moves to
// or presses its control, Enter presses a focused button or goes to `keys`, Escape goes to
// `keys`. The messages arrive however they are sent: typed, posted or sent.
void AttachKeyboard(HWND window, const WindowDesign &design, KeyHandler &keys);

// The window-level part of the keyboard for `window` itself: answers true when it took the key.
bool HandleWindowKey(HWND window, const WindowDesign &design, KeyHandler &keys, UINT message,
                     WPARAM wParam);

} // namespace pevrand::win32
