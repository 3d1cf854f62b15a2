// The controls of a Win32 window, built from its design table: making them, finding them by
// name, and working them as a user does (the focus, the options of a frame, buttons).
//
// Every control is a child window of the top-level window (an option too, not of its frame),
// and its control id is the window's FirstControlId plus its index in the design table. Lines
// and pictures are painted by the window itself and have no window.
#pragma once

#include <windows.h>

#include "ui/common/WindowDesign.h"

#include <string_view>

namespace pevrand::win32
{

// The id of the control `name` of `design`, or -1 when the table has none.
int ControlId(const WindowDesign &design, std::string_view name);

// The child window of `window` that is control `name`, or null.
HWND Control(HWND window, const WindowDesign &design, std::string_view name);

// The design of the control whose window is `control`, or null when it is none of `design`.
const ControlDesign *DesignOf(const WindowDesign &design, HWND control);

// The window class of a control of `kind`, or null for a line or a picture, which have no
// window.
const wchar_t *ClassOf(ControlKind kind);

// Creates a window for every control of `design` that has one, with its caption, style and
// id, in the table's order, each over the ones before it; places them at `dpi`.
void CreateControls(HWND window, const WindowDesign &design, int dpi);

// Moves the focus to the control `name`: for a frame, to its selected option.
void FocusControl(HWND window, const WindowDesign &design, std::string_view name);

// The selected option of `frame`, or null.
const ControlDesign *SelectedOption(HWND window, const WindowDesign &design,
                                    std::string_view frame);

// Checks `option` and unchecks the others of its frame, without a click's notification.
void CheckOption(HWND window, const WindowDesign &design, const ControlDesign &option);

// Selects `option` of its frame as a click does: it alone in its frame is checked, and the
// window hears BN_CLICKED.
void ClickOption(HWND window, const WindowDesign &design, const ControlDesign &option);

// Presses `button` of `window` as a click does: the window hears BN_CLICKED.
void PressButton(HWND window, HWND button);

} // namespace pevrand::win32
