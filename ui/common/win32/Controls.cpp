#include "Controls.h"

#include "Placement.h"
#include "Text.h"
#include "ToolTips.h"

namespace pevrand::win32
{
namespace
{

// The first option of a frame opens its radio group: the controls lie in the table's order,
// first on top, and a group runs from a WS_GROUP control to the next one.
bool OpensRadioGroup(const WindowDesign &design, std::size_t index)
{
    const ControlDesign &control = design.Controls[index];
    if (control.Kind != ControlKind::Option)
        return true;
    return index == 0 || design.Controls[index - 1].Frame != control.Frame;
}

DWORD StyleOf(const WindowDesign &design, std::size_t index)
{
    const ControlDesign &control = design.Controls[index];
    DWORD style = WS_CHILD | WS_VISIBLE;
    if (OpensRadioGroup(design, index))
        style |= WS_GROUP;
    if (control.TabIndex >= 0)
        style |= WS_TABSTOP;
    switch (control.Kind) {
    case ControlKind::Label:
        style |= SS_LEFT | SS_NOTIFY;
        if (AccessKey(control.Caption) == 0)
            style |= SS_NOPREFIX;
        break;
    case ControlKind::TextBox:
        style |= ES_LEFT | ES_AUTOHSCROLL;
        break;
    case ControlKind::Frame:
        style |= BS_GROUPBOX;
        break;
    case ControlKind::Option:
        style |= BS_AUTORADIOBUTTON;
        break;
    case ControlKind::Button:
        style |= BS_PUSHBUTTON;
        break;
    case ControlKind::Line:
    case ControlKind::Picture:
        break;
    }
    return style;
}

} // namespace

int ControlId(const WindowDesign &design, std::string_view name)
{
    const int index = ControlIndex(design, name);
    return index < 0 ? -1 : design.FirstControlId + index;
}

HWND Control(HWND window, const WindowDesign &design, std::string_view name)
{
    const int id = ControlId(design, name);
    return id < 0 ? nullptr : GetDlgItem(window, id);
}

const ControlDesign *DesignOf(const WindowDesign &design, HWND control)
{
    if (control == nullptr)
        return nullptr;
    const int index = GetDlgCtrlID(control) - design.FirstControlId;
    if (index < 0 || index >= static_cast<int>(design.Controls.size()))
        return nullptr;
    return &design.Controls[static_cast<std::size_t>(index)];
}

const wchar_t *ClassOf(ControlKind kind)
{
    switch (kind) {
    case ControlKind::Label:
        return L"Static";
    case ControlKind::TextBox:
        return L"Edit";
    case ControlKind::Frame:
    case ControlKind::Option:
    case ControlKind::Button:
        return L"Button";
    case ControlKind::Line:
    case ControlKind::Picture:
        break;
    }
    return nullptr;
}

void CreateControls(HWND window, const WindowDesign &design, int dpi)
{
    const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(window, GWLP_HINSTANCE));
    HWND previous = nullptr;
    for (std::size_t i = 0; i < design.Controls.size(); ++i) {
        const ControlDesign &control = design.Controls[i];
        const wchar_t *className = ClassOf(control.Kind);
        if (className == nullptr)
            continue;
        const DWORD exStyle = control.Kind == ControlKind::TextBox ? WS_EX_CLIENTEDGE : 0;
        HWND child = CreateWindowExW(exStyle, className, Widen(control.Caption).c_str(),
                                     StyleOf(design, i), 0, 0, 0, 0, window,
                                     reinterpret_cast<HMENU>(static_cast<INT_PTR>(
                                         design.FirstControlId + static_cast<int>(i))),
                                     instance, nullptr);
        // The table's order is the windows' order, first on top, as in a dialog: a screen
        // reader names a box after the label just before it.
        SetWindowPos(child, previous ? previous : HWND_TOP, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        previous = child;
    }
    AddToolTips(window, design);
    PlaceControls(window, design, dpi);
}

const ControlDesign *SelectedOption(HWND window, const WindowDesign &design, std::string_view frame)
{
    for (const ControlDesign *option : FrameOptions(design, frame))
        if (SendMessageW(Control(window, design, option->Name), BM_GETCHECK, 0, 0) == BST_CHECKED)
            return option;
    return nullptr;
}

void FocusControl(HWND window, const WindowDesign &design, std::string_view name)
{
    const ControlDesign *control = FindControl(design, name);
    if (control == nullptr)
        return;
    if (control->Kind == ControlKind::Frame) {
        const ControlDesign *selected = SelectedOption(window, design, name);
        if (selected == nullptr) {
            const auto options = FrameOptions(design, name);
            if (options.empty())
                return;
            selected = options.front();
        }
        control = selected;
    }
    HWND target = Control(window, design, control->Name);
    SetFocus(target);
    if (control->Kind == ControlKind::TextBox)
        SendMessageW(target, EM_SETSEL, 0, -1);
}

void CheckOption(HWND window, const WindowDesign &design, const ControlDesign &option)
{
    for (const ControlDesign *other : FrameOptions(design, option.Frame))
        SendMessageW(Control(window, design, other->Name), BM_SETCHECK,
                     other == &option ? BST_CHECKED : BST_UNCHECKED, 0);
}

void ClickOption(HWND window, const WindowDesign &design, const ControlDesign &option)
{
    CheckOption(window, design, option);
    PressButton(window, Control(window, design, option.Name));
}

void PressButton(HWND window, HWND button)
{
    SendMessageW(window, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED),
                 reinterpret_cast<LPARAM>(button));
}

} // namespace pevrand::win32
