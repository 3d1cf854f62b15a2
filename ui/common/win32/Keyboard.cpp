#include "Keyboard.h"

#include "Controls.h"

#include <commctrl.h>

#include <algorithm>

namespace pevrand::win32
{
namespace
{

constexpr UINT_PTR KeyboardSubclass = 1;

struct Keyboard {
    HWND Window;
    const WindowDesign *Design;
    KeyHandler *Keys;
};

std::string_view NameOf(const WindowDesign &design, HWND window, HWND control)
{
    if (GetParent(control) != window)
        return {};
    const ControlDesign *found = DesignOf(design, control);
    return found ? found->Name : std::string_view{};
}

bool TakeAccessKey(HWND window, const WindowDesign &design, WPARAM key)
{
    // Letters and digits have their own characters as key codes; F1 to F12 share theirs with
    // 'p' to '{' and are no access keys (Alt+F4 is not Alt+S).
    if (!(key >= 'A' && key <= 'Z') && !(key >= '0' && key <= '9'))
        return false;
    const ControlDesign *control = AccessKeyControl(design, static_cast<char>(key));
    if (control == nullptr)
        return false;
    HWND target = Control(window, design, control->Name);
    switch (control->Kind) {
    case ControlKind::Label:
        if (!control->Buddy.empty())
            FocusControl(window, design, control->Buddy);
        return true;
    case ControlKind::Option:
        SetFocus(target);
        ClickOption(window, design, *control);
        return true;
    case ControlKind::Button:
        PressButton(window, target);
        return true;
    default:
        FocusControl(window, design, control->Name);
        return true;
    }
}

bool IsPushButton(HWND control)
{
    const auto type = GetWindowLongPtrW(control, GWL_STYLE) & BS_TYPEMASK;
    wchar_t name[16] = {};
    GetClassNameW(control, name, 16);
    return lstrcmpiW(name, L"Button") == 0 && (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON);
}

// The keys of a control: true when taken.
bool ControlKey(const Keyboard &keyboard, HWND control, UINT message, WPARAM key)
{
    const WindowDesign &design = *keyboard.Design;
    const std::string_view name = NameOf(design, keyboard.Window, control);
    const ControlDesign *self = FindControl(design, name);
    switch (message) {
    case WM_KEYDOWN:
        if (key == VK_TAB) {
            const bool backward = GetKeyState(VK_SHIFT) < 0;
            FocusControl(keyboard.Window, design, NextTabStop(design, name, backward));
            return true;
        }
        if (self && self->Kind == ControlKind::Option &&
            (key == VK_LEFT || key == VK_RIGHT || key == VK_UP || key == VK_DOWN)) {
            const auto options = FrameOptions(design, self->Frame);
            const auto at = std::find(options.begin(), options.end(), self);
            const int count = static_cast<int>(options.size());
            const int step = key == VK_LEFT || key == VK_UP ? -1 : 1;
            const ControlDesign &next = *options[static_cast<std::size_t>(
                StepOption(static_cast<int>(at - options.begin()), count, step))];
            SetFocus(Control(keyboard.Window, design, next.Name));
            ClickOption(keyboard.Window, design, next);
            return true;
        }
        if (key == VK_ESCAPE)
            return keyboard.Keys->OnEscape();
        return false;
    case WM_CHAR:
        if (key == '\r') {
            if (IsPushButton(control))
                PressButton(keyboard.Window, control);
            else
                keyboard.Keys->OnEnter(control);
            return true;
        }
        // Tab and Escape were taken as keys; their characters would only beep.
        return key == '\t' || key == 0x1B;
    case WM_SYSKEYDOWN:
        // The key still goes on to Windows, which would otherwise take the Alt released after
        // it for Alt alone and open the system menu.
        TakeAccessKey(keyboard.Window, design, key);
        return false;
    case WM_SYSCHAR:
        return key <= 0x7F && AccessKeyControl(design, static_cast<char>(key)) != nullptr;
    default:
        return false;
    }
}

LRESULT CALLBACK KeyboardProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                              DWORD_PTR data)
{
    const auto &keyboard = *reinterpret_cast<const Keyboard *>(data);
    if (message == WM_GETDLGCODE)
        return DLGC_WANTALLKEYS | DefSubclassProc(control, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        RemoveWindowSubclass(control, KeyboardProc, KeyboardSubclass);
        delete &keyboard;
    } else if (ControlKey(keyboard, control, message, wParam)) {
        return 0;
    }
    return DefSubclassProc(control, message, wParam, lParam);
}

} // namespace

void AttachKeyboard(HWND window, const WindowDesign &design, KeyHandler &keys)
{
    for (const ControlDesign &control : design.Controls)
        if (HWND child = Control(window, design, control.Name))
            SetWindowSubclass(child, KeyboardProc, KeyboardSubclass,
                              reinterpret_cast<DWORD_PTR>(new Keyboard{window, &design, &keys}));
}

bool HandleWindowKey(HWND window, const WindowDesign &design, KeyHandler &keys, UINT message,
                     WPARAM wParam)
{
    const Keyboard keyboard{window, &design, &keys};
    return ControlKey(keyboard, window, message, wParam);
}

} // namespace pevrand::win32
