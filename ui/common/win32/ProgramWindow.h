// The program's windows as a whole: the classes of its two windows, what both do alike around
// their own reactions, and the finding of the program's open windows.
#pragma once

#include <windows.h>

#include "Fonts.h"
#include "Keyboard.h"
#include "ui/common/WindowDesign.h"

namespace pevrand::win32
{

inline constexpr wchar_t MainWindowClass[] = L"PevrandMain";
inline constexpr wchar_t AboutWindowClass[] = L"PevrandAbout";

// What both windows of the program do alike, around their own reactions: the object behind a
// window lives from WM_NCCREATE to WM_NCDESTROY; the focus is remembered while the window is
// inactive and given back when it is active again; keys the controls pass on go to the
// window's keyboard; a change of resolution takes Windows' suggested rectangle and lays the
// window out anew; and the program ends when its last window is destroyed.
class ProgramWindow : public KeyHandler
{
protected:
    ProgramWindow(HWND window, const WindowDesign &design);

    // The body of a window procedure: makes the window's object with `make` on WM_NCCREATE,
    // hands it every message through `handle`, and deletes it after WM_NCDESTROY.
    static LRESULT Dispatch(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                            ProgramWindow *(*make)(HWND));

    // The window's own reactions; for the messages it leaves, `handleShared`.
    virtual LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam) = 0;
    LRESULT handleShared(UINT message, WPARAM wParam, LPARAM lParam);

    // Lays the window out again at `dpi`: its controls, fonts and painting.
    virtual void applyDpi(int dpi) = 0;

    HWND window_;
    int dpi_;
    HWND lastFocus_ = nullptr;
    WindowFonts fonts_;

private:
    const WindowDesign &design_;
};

// True when a top-level window of this program other than `closing` is still open.
bool OtherProgramWindowOpen(HWND closing);

// The first open window of class `className` on this thread, or null.
HWND FindProgramWindow(const wchar_t *className);

} // namespace pevrand::win32
