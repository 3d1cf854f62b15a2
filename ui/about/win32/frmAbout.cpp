#include "frmAbout.h"

#include "FactorsPainter.h"
#include "ui/about/AboutTexts.h"
#include "ui/about/AboutWindowDesign.h"
#include "ui/about/SysInfoLauncher.h"
#include "ui/common/win32/Controls.h"
#include "ui/common/win32/Keyboard.h"
#include "ui/common/win32/Placement.h"
#include "ui/common/win32/ProgramMessage.h"
#include "ui/common/win32/Text.h"
#include "ui/common/win32/WindowColours.h"

#include <algorithm>
#include <string>

namespace pevrand::win32
{
namespace
{

using about_window::Window;

// A fixed dialog frame with the close box, out of the task bar.
constexpr DWORD FrameStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU;
constexpr DWORD FrameExStyle = WS_EX_DLGMODALFRAME | WS_EX_TOOLWINDOW;

HICON LoadProgramIcon(HINSTANCE instance, int dpi)
{
    const int size = TwipsToPixels(FindControl(Window, "Image2")->Box.Width, dpi);
    return static_cast<HICON>(
        LoadImageW(instance, MAKEINTRESOURCEW(1), IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
}

} // namespace

HWND frmAbout::ShowFor(HINSTANCE instance, HWND mainWindow)
{
    if (HWND open = FindProgramWindow(AboutWindowClass)) {
        if (IsIconic(open))
            ShowWindow(open, SW_RESTORE);
        SetForegroundWindow(open);
        return open;
    }
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    if (!GetClassInfoExW(instance, AboutWindowClass, &windowClass)) {
        windowClass.lpfnWndProc = WindowProc;
        windowClass.hInstance = instance;
        windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
        windowClass.lpszClassName = AboutWindowClass;
        if (!RegisterClassExW(&windowClass))
            return nullptr;
    }
    // No owner: the About window lives on its own once the main window is gone.
    HWND window = CreateWindowExW(FrameExStyle, AboutWindowClass, L"", FrameStyle, CW_USEDEFAULT,
                                  CW_USEDEFAULT, 0, 0, nullptr, nullptr, instance, nullptr);
    if (window == nullptr)
        return nullptr;
    PlaceWindow(window, Window, WindowDpi(window), mainWindow);
    ShowWindow(window, SW_SHOWNORMAL);
    SetForegroundWindow(window);
    return window;
}

frmAbout::frmAbout(HWND window) : ProgramWindow(window, Window) {}

frmAbout::~frmAbout()
{
    if (icon_)
        DestroyIcon(icon_);
}

LRESULT CALLBACK frmAbout::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return Dispatch(window, message, wParam, lParam,
                    [](HWND created) -> ProgramWindow * { return new frmAbout(created); });
}

LRESULT frmAbout::handle(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        CreateControls(window_, Window, dpi_);
        SendMessageW(Control(window_, Window, "cmdOK"), BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
        AttachKeyboard(window_, Window, *this);
        Form_Load();
        applyDpi(dpi_);
        lastFocus_ = Control(window_, Window, "cmdOK");
        return 0;
    case WM_COMMAND:
        if (HIWORD(wParam) == BN_CLICKED) {
            const ControlDesign *design = DesignOf(Window, reinterpret_cast<HWND>(lParam));
            if (design && design->Name == "cmdOK")
                cmdOK_Click();
            else if (design && design->Name == "cmdSysInfo")
                cmdSysInfo_Click();
        }
        return 0;
    case WM_CTLCOLORSTATIC: {
        const ControlDesign *design = DesignOf(Window, reinterpret_cast<HWND>(lParam));
        const auto dc = reinterpret_cast<HDC>(wParam);
        SetTextColor(dc, design && design->TextColour ? ColourOf(*design->TextColour)
                                                      : GetSysColor(COLOR_BTNTEXT));
        SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    }
    case WM_PAINT:
        paint();
        return 0;
    default:
        break;
    }
    return handleShared(message, wParam, lParam);
}

bool frmAbout::OnEnter(HWND)
{
    cmdOK_Click();
    return true;
}

bool frmAbout::OnEscape()
{
    cmdOK_Click();
    return true;
}

// The icon, the factors picture and the etched separator: the white line, and over its upper
// row the grey one.
void frmAbout::paint()
{
    PAINTSTRUCT paint{};
    HDC dc = BeginPaint(window_, &paint);
    const RECT iconBox = PixelRect(FindControl(Window, "Image2")->Box, dpi_);
    if (icon_)
        DrawIconEx(dc, iconBox.left, iconBox.top, icon_, iconBox.right - iconBox.left,
                   iconBox.bottom - iconBox.top, 0, nullptr, DI_NORMAL);
    PaintFactors(dc, PixelRect(FindControl(Window, "Image1")->Box, dpi_), dpi_);

    const int scale = std::max(1, Scaled(1, dpi_));
    for (const ControlDesign &line : Window.Controls) {
        if (line.Kind != ControlKind::Line)
            continue;
        const bool white = line.TextColour == about_window::SeparatorWhite;
        RECT box = PixelRect(line.Box, dpi_);
        box.bottom = box.top +
                     scale * (white ? about_window::WhiteLinePixels : about_window::GreyLinePixels);
        HBRUSH brush = CreateSolidBrush(ColourOf(line.TextColour.value_or(Black)));
        FillRect(dc, &box, brush);
        DeleteObject(brush);
    }
    EndPaint(window_, &paint);
}

void frmAbout::applyDpi(int dpi)
{
    dpi_ = dpi;
    if (icon_)
        DestroyIcon(icon_);
    icon_ = LoadProgramIcon(reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(window_, GWLP_HINSTANCE)),
                            dpi_);
    PlaceControls(window_, Window, dpi_);
    fonts_.Apply(window_, Window, dpi_);
    InvalidateRect(window_, nullptr, TRUE);
}

void frmAbout::Form_Load()
{
    const AboutWindowTexts texts = AboutTexts();
    SetText(window_, texts.Caption);
    SetText(Control(window_, Window, "lblVersion"), texts.Version);
    SetText(Control(window_, Window, "lblTitle"), texts.Title);
    SetText(Control(window_, Window, "lblDisclaimer"), texts.Disclaimer);
    SetText(Control(window_, Window, "lblDescription"), texts.Description);
}

// Enter and Escape press OK from within the focused control's procedure: the window closes
// once that has returned, not under it.
void frmAbout::cmdOK_Click()
{
    PostMessageW(window_, WM_CLOSE, 0, 0);
}

void frmAbout::cmdSysInfo_Click()
{
    HWND window = window_;
    const auto platform =
        MakeSystemPlatform([window](const std::string &text) { ShowProgramMessage(window, text); });
    StartSysInfo(*platform);
}

} // namespace pevrand::win32
