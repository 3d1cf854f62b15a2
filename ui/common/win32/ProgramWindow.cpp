#include "ProgramWindow.h"

#include "Placement.h"
#include "ToolTips.h"

namespace pevrand::win32
{
namespace
{

struct ProgramWindowSearch {
    HWND Closing;
    const wchar_t *ClassName;
    HWND Found;
};

BOOL CALLBACK FindOther(HWND window, LPARAM data)
{
    auto &search = *reinterpret_cast<ProgramWindowSearch *>(data);
    if (window == search.Closing || !IsWindow(window))
        return TRUE;
    wchar_t name[32] = {};
    GetClassNameW(window, name, 32);
    const bool ours = search.ClassName ? lstrcmpW(name, search.ClassName) == 0
                                       : lstrcmpW(name, MainWindowClass) == 0 ||
                                             lstrcmpW(name, AboutWindowClass) == 0;
    if (!ours)
        return TRUE;
    search.Found = window;
    return FALSE;
}

} // namespace

bool OtherProgramWindowOpen(HWND closing)
{
    ProgramWindowSearch search{closing, nullptr, nullptr};
    EnumThreadWindows(GetCurrentThreadId(), FindOther, reinterpret_cast<LPARAM>(&search));
    return search.Found != nullptr;
}

HWND FindProgramWindow(const wchar_t *className)
{
    ProgramWindowSearch search{nullptr, className, nullptr};
    EnumThreadWindows(GetCurrentThreadId(), FindOther, reinterpret_cast<LPARAM>(&search));
    return search.Found;
}

ProgramWindow::ProgramWindow(HWND window, const WindowDesign &design)
    : window_(window), dpi_(WindowDpi(window)), design_(design)
{
}

LRESULT ProgramWindow::Dispatch(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                ProgramWindow *(*make)(HWND))
{
    if (message == WM_NCCREATE)
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(make(window)));
    auto *self = reinterpret_cast<ProgramWindow *>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self == nullptr)
        return DefWindowProcW(window, message, wParam, lParam);
    const LRESULT result = self->handle(message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        ForgetToolTips(window);
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        delete self;
    }
    return result;
}

LRESULT ProgramWindow::handleShared(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE) {
            if (HWND focus = GetFocus(); focus && GetParent(focus) == window_)
                lastFocus_ = focus;
        } else if (lastFocus_ && IsWindow(lastFocus_)) {
            SetFocus(lastFocus_);
        }
        return 0;
    case WM_SETFOCUS:
        if (lastFocus_ && IsWindow(lastFocus_))
            SetFocus(lastFocus_);
        return 0;
    case WM_KEYDOWN:
    case WM_CHAR:
    case WM_SYSKEYDOWN:
    case WM_SYSCHAR:
        if (HandleWindowKey(window_, design_, *this, message, wParam))
            return 0;
        break;
    case WM_DPICHANGED: {
        applyDpi(HIWORD(wParam));
        const auto *suggested = reinterpret_cast<const RECT *>(lParam);
        SetWindowPos(window_, nullptr, suggested->left, suggested->top,
                     suggested->right - suggested->left, suggested->bottom - suggested->top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        return 0;
    }
    case WM_DESTROY:
        if (!OtherProgramWindowOpen(window_))
            PostQuitMessage(0);
        return 0;
    default:
        break;
    }
    return DefWindowProcW(window_, message, wParam, lParam);
}

} // namespace pevrand::win32
