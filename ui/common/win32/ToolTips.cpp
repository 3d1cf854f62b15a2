#include "ToolTips.h"

#include "Controls.h"
#include "Text.h"

#include <commctrl.h>

#include <string>

namespace pevrand::win32
{
namespace
{

constexpr wchar_t ToolTipsProperty[] = L"PevrandToolTips";

TTTOOLINFOW FrameTool(HWND window, const WindowDesign &design, const ControlDesign &frame)
{
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_SUBCLASS;
    tool.hwnd = window;
    tool.uId = static_cast<UINT_PTR>(ControlId(design, frame.Name));
    return tool;
}

} // namespace

void AddToolTips(HWND window, const WindowDesign &design)
{
    HWND tips = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, window,
                                nullptr, nullptr, nullptr);
    if (tips == nullptr)
        return;
    SetPropW(window, ToolTipsProperty, tips);
    for (const ControlDesign &control : design.Controls) {
        HWND child = Control(window, design, control.Name);
        if (control.ToolTip.empty() || child == nullptr)
            continue;
        std::wstring text = Widen(control.ToolTip);
        TTTOOLINFOW tool{};
        if (control.Kind == ControlKind::Frame) {
            tool = FrameTool(window, design, control);
        } else {
            tool.cbSize = sizeof tool;
            tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
            tool.hwnd = window;
            tool.uId = reinterpret_cast<UINT_PTR>(child);
        }
        tool.lpszText = text.data();
        SendMessageW(tips, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }
}

// A frame lets the mouse through to the window: its tooltip is an area of that.
void PlaceFrameToolTip(HWND window, const WindowDesign &design, const ControlDesign &frame,
                       RECT box)
{
    HWND tips = static_cast<HWND>(GetPropW(window, ToolTipsProperty));
    if (tips == nullptr)
        return;
    TTTOOLINFOW tool = FrameTool(window, design, frame);
    tool.rect = box;
    SendMessageW(tips, TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&tool));
}

void ForgetToolTips(HWND window)
{
    RemovePropW(window, ToolTipsProperty);
}

} // namespace pevrand::win32
