#include "frmPevrand.h"

#include "ui/about/win32/frmAbout.h"
#include "ui/common/win32/Controls.h"
#include "ui/common/win32/Keyboard.h"
#include "ui/common/win32/Placement.h"
#include "ui/common/win32/ProgramMessage.h"
#include "ui/common/win32/Text.h"
#include "ui/common/win32/WindowColours.h"
#include "ui/main/MainWindowDesign.h"

#include <algorithm>

namespace pevrand::win32
{
namespace
{

using main_window::Window;

constexpr DWORD FrameStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

} // namespace

HWND frmPevrand::Open(HINSTANCE instance, int show)
{
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    if (!GetClassInfoExW(instance, MainWindowClass, &windowClass)) {
        windowClass.lpfnWndProc = WindowProc;
        windowClass.hInstance = instance;
        windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(1));
        windowClass.hIconSm = static_cast<HICON>(
            LoadImageW(instance, MAKEINTRESOURCEW(1), IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                       GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR));
        windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        windowClass.lpszClassName = MainWindowClass;
        if (!RegisterClassExW(&windowClass))
            return nullptr;
    }
    HWND window =
        CreateWindowExW(0, MainWindowClass, Widen(Window.Caption).c_str(), FrameStyle,
                        CW_USEDEFAULT, CW_USEDEFAULT, 0, 0, nullptr, nullptr, instance, nullptr);
    if (window == nullptr)
        return nullptr;
    ShowWindow(window, show);
    UpdateWindow(window);
    return window;
}

frmPevrand::frmPevrand(HWND window)
    : ProgramWindow(window, Window), background_(CreateSolidBrush(ColourOf(*Window.Background)))
{
}

frmPevrand::~frmPevrand()
{
    DeleteObject(background_);
}

LRESULT CALLBACK frmPevrand::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return Dispatch(window, message, wParam, lParam,
                    [](HWND created) -> ProgramWindow * { return new frmPevrand(created); });
}

LRESULT frmPevrand::handle(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        CreateControls(window_, Window, dpi_);
        AttachKeyboard(window_, Window, *this);
        reactions_.Form_Load();
        fonts_.Apply(window_, Window, dpi_);
        PlaceWindow(window_, Window, dpi_);
        lastFocus_ = control("txtInputVal");
        return 0;
    case WM_COMMAND:
        if (lParam != 0)
            onCommand(reinterpret_cast<HWND>(lParam), HIWORD(wParam));
        return 0;
    case WM_CTLCOLORSTATIC:
        return colourStatic(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_ERASEBKGND: {
        RECT client{};
        GetClientRect(window_, &client);
        FillRect(reinterpret_cast<HDC>(wParam), &client, background_);
        return 1;
    }
    case WM_PAINT:
        paint();
        return 0;
    case WM_LBUTTONDOWN: {
        // Frames let clicks through to the window; a click inside one lands here.
        const POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        for (const char *frame : {"fraUnitsIn", "fraUnitsOut"}) {
            const RECT box = PixelRect(FindControl(Window, frame)->Box, dpi_);
            if (PtInRect(&box, at))
                reactions_.Click(frame);
        }
        return 0;
    }
    default:
        break;
    }
    return handleShared(message, wParam, lParam);
}

HWND frmPevrand::control(std::string_view name) const
{
    return Control(window_, Window, name);
}

void frmPevrand::onCommand(HWND child, int code)
{
    const ControlDesign *design = DesignOf(Window, child);
    if (design == nullptr)
        return;
    // A label's click comes as STN_CLICKED, which has the number of BN_CLICKED.
    if (code == BN_CLICKED)
        reactions_.Click(design->Name);
    else if (code == EN_CHANGE)
        reactions_.Change(design->Name);
}

bool frmPevrand::OnEnter(HWND box)
{
    if (const ControlDesign *design = DesignOf(Window, box))
        reactions_.KeyPress(design->Name, '\r');
    return true;
}

// Labels, frames and options in the window's colour with black text, which stays readable on
// the fixed pale cyan whatever the desktop's colour scheme; the read-only output box keeps a
// text box's system colours.
LRESULT frmPevrand::colourStatic(HDC dc, HWND child)
{
    const ControlDesign *design = DesignOf(Window, child);
    if (design && design->Kind == ControlKind::TextBox) {
        SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
        SetBkColor(dc, GetSysColor(COLOR_WINDOW));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
    }
    SetTextColor(dc, ColourOf(design && design->TextColour ? *design->TextColour : Black));
    SetBkColor(dc, ColourOf(*Window.Background));
    return reinterpret_cast<LRESULT>(background_);
}

// The divider, one pixel (at 96 DPI) in the text colour, across the whole window.
void frmPevrand::paint()
{
    PAINTSTRUCT paint{};
    HDC dc = BeginPaint(window_, &paint);
    const ControlDesign &line = *FindControl(Window, "Line1");
    RECT divider = PixelRect(line.Box, dpi_);
    divider.bottom = divider.top + std::max(1, Scaled(1, dpi_));
    FillRect(dc, &divider, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    EndPaint(window_, &paint);
}

void frmPevrand::applyDpi(int dpi)
{
    dpi_ = dpi;
    PlaceControls(window_, Window, dpi_);
    fonts_.Apply(window_, Window, dpi_);
    InvalidateRect(window_, nullptr, TRUE);
}

std::string frmPevrand::BoxText(std::string_view box) const
{
    return WindowText(control(box));
}

// In an entry box the caret goes after the new text, where typing goes on, as after typing it;
// the locked output box keeps it where it was.
void frmPevrand::SetBoxText(std::string_view box, std::string_view text)
{
    HWND edit = control(box);
    SetText(edit, text);
    if ((GetWindowLongW(edit, GWL_STYLE) & ES_READONLY) == 0) {
        const auto end = static_cast<WPARAM>(GetWindowTextLengthW(edit));
        SendMessageW(edit, EM_SETSEL, end, static_cast<LPARAM>(end));
    }
}

void frmPevrand::LockOutput()
{
    SendMessageW(control("txtOutputVal"), EM_SETREADONLY, TRUE, 0);
}

std::optional<Quantity> frmPevrand::SelectedUnit(std::string_view frame) const
{
    const ControlDesign *option = SelectedOption(window_, Window, frame);
    return option ? option->Unit : std::nullopt;
}

void frmPevrand::SelectOption(std::string_view option)
{
    if (const ControlDesign *design = FindControl(Window, option))
        CheckOption(window_, Window, *design);
}

// Remembered too, so that the window gives the focus back there when it is activated again.
void frmPevrand::MoveFocus(std::string_view name)
{
    lastFocus_ = control(name);
    FocusControl(window_, Window, name);
}

// The message box returns once the user has pressed OK. The box at fault takes the focus with
// its caret where it was, not selected as by a label's click.
void frmPevrand::ShowMessage(std::string_view text, std::string_view focusAfter)
{
    ShowProgramMessage(window_, text);
    if (focusAfter.empty())
        return;
    lastFocus_ = control(focusAfter);
    SetFocus(lastFocus_);
}

void frmPevrand::OpenAbout()
{
    frmAbout::ShowFor(reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(window_, GWLP_HINSTANCE)),
                      window_);
}

// Quit may come from a key, whose handler runs in the focused control's procedure: the window
// closes once that has returned, not under it.
void frmPevrand::CloseWindow()
{
    PostMessageW(window_, WM_CLOSE, 0, 0);
}

} // namespace pevrand::win32
