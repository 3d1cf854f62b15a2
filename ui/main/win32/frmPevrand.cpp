#include "frmPevrand.h"

#include "ui/about/win32/frmAbout.h"
#include "ui/main/ConvertCommand.h"
#include "ui/main/MainWindowDesign.h"

namespace pevrand::win32
{
namespace
{

using main_window::Window;

constexpr DWORD FrameStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

COLORREF ColourOf(Rgb colour)
{
    return RGB(colour.Red, colour.Green, colour.Blue);
}

std::optional<Quantity> Selected(HWND window, std::string_view frame)
{
    const ControlDesign *option = SelectedOption(window, Window, frame);
    return option ? option->Unit : std::nullopt;
}

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
        Form_Load();
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
                std::string_view(frame) == "fraUnitsIn" ? fraUnitsIn_Click() : fraUnitsOut_Click();
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

std::string_view frmPevrand::nameOf(HWND control) const
{
    const ControlDesign *design = DesignOf(Window, control);
    return design ? design->Name : std::string_view{};
}

void frmPevrand::onCommand(HWND control, int code)
{
    const ControlDesign *design = DesignOf(Window, control);
    if (design == nullptr)
        return;
    const std::string_view name = design->Name;
    if (design->Kind != ControlKind::Label && code == BN_CLICKED) {
        if (name == "cmdConvert")
            cmdConvert_Click();
        else if (name == "cmdQuit")
            cmdQuit_Click();
        else if (name == "cmdAbout")
            cmdAbout_Click();
        else if (design->Frame == "fraUnitsIn")
            fraUnitsIn_OptionClick();
        else if (design->Frame == "fraUnitsOut")
            fraUnitsOut_OptionClick();
    } else if (code == EN_CHANGE) {
        if (name == "txtInputVal")
            txtInputVal_Change();
        else if (name == "txtTwotheta")
            txtTwotheta_Change();
        else if (name == "txtTotalflightpath")
            txtTotalflightpath_Change();
    }
    // A label's click comes as STN_CLICKED, which has the number of BN_CLICKED.
    if (design->Kind == ControlKind::Label && code == STN_CLICKED) {
        if (name == "lblInputValue")
            lblInputValue_Click();
        else if (name == "lblTwotheta")
            lblTwotheta_Click();
        else if (name == "Label2")
            Label2_Click();
    }
}

bool frmPevrand::OnEnter(HWND box)
{
    const std::string_view name = nameOf(box);
    if (name == "txtInputVal")
        txtInputVal_KeyPress('\r');
    else if (name == "txtTwotheta")
        txtTwotheta_KeyPress('\r');
    else if (name == "txtTotalflightpath")
        txtTotalflightpath_KeyPress('\r');
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
    divider.bottom = divider.top + std::max(1, MulDiv(1, dpi_, StandardDpi));
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

void frmPevrand::clearOutput()
{
    SetText(control("txtOutputVal"), "");
}

void frmPevrand::Form_Load()
{
    SendMessageW(control("txtOutputVal"), EM_SETREADONLY, TRUE, 0);
    SetText(control("txtInputVal"), "25");
    // The caret after the value, where typing goes on, as after typing it.
    const auto end = static_cast<WPARAM>(GetWindowTextLengthW(control("txtInputVal")));
    SendMessageW(control("txtInputVal"), EM_SETSEL, end, static_cast<LPARAM>(end));
    SendMessageW(control("optEnergyIn"), BM_SETCHECK, BST_CHECKED, 0);
    SendMessageW(control("optWavelengthOut"), BM_SETCHECK, BST_CHECKED, 0);
    cmdConvert_Click();
}

void frmPevrand::cmdConvert_Click()
{
    const ConvertOutcome outcome =
        RunConvert({WindowText(control("txtInputVal")), WindowText(control("txtTwotheta")),
                    WindowText(control("txtTotalflightpath")), Selected(window_, "fraUnitsIn"),
                    Selected(window_, "fraUnitsOut")});
    if (!outcome.Message.empty()) {
        clearOutput();
        ShowProgramMessage(window_, outcome.Message);
        moveFocusAfterMessage(outcome.Focus);
    }
    SetText(control("txtOutputVal"), outcome.OutputText);
}

void frmPevrand::moveFocusAfterMessage(FocusTarget target)
{
    const char *name = nullptr;
    switch (target) {
    case FocusTarget::Unchanged:
        return;
    case FocusTarget::InputVal:
        name = "txtInputVal";
        break;
    case FocusTarget::TwoTheta:
        name = "txtTwotheta";
        break;
    case FocusTarget::TotalFlightPath:
        name = "txtTotalflightpath";
        break;
    case FocusTarget::EnergyIn:
        name = "optEnergyIn";
        break;
    case FocusTarget::EnergyOut:
        name = "optEnergyOut";
        break;
    }
    lastFocus_ = control(name);
    SetFocus(lastFocus_);
}

void frmPevrand::cmdQuit_Click()
{
    DestroyWindow(window_);
}

void frmPevrand::cmdAbout_Click()
{
    frmAbout::ShowFor(reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(window_, GWLP_HINSTANCE)),
                      window_);
}

void frmPevrand::txtInputVal_Change()
{
    clearOutput();
}

void frmPevrand::txtInputVal_KeyPress(int key)
{
    if (key == '\r')
        cmdConvert_Click();
}

// The angle box only matters, and so only clears a result, when exactly one side is Q or
// d-spacing.
void frmPevrand::txtTwotheta_Change()
{
    if (NeedsAngle(Selected(window_, "fraUnitsIn"), Selected(window_, "fraUnitsOut")))
        clearOutput();
}

void frmPevrand::txtTwotheta_KeyPress(int key)
{
    if (key == '\r')
        cmdConvert_Click();
}

// The flight path divides out unless exactly one side is time-of-flight.
void frmPevrand::txtTotalflightpath_Change()
{
    if (NeedsFlightPath(Selected(window_, "fraUnitsIn"), Selected(window_, "fraUnitsOut")))
        clearOutput();
}

void frmPevrand::txtTotalflightpath_KeyPress(int key)
{
    if (key == '\r')
        cmdConvert_Click();
}

void frmPevrand::lblInputValue_Click()
{
    FocusControl(window_, Window, "txtInputVal");
}

void frmPevrand::lblTwotheta_Click()
{
    FocusControl(window_, Window, "txtTwotheta");
}

void frmPevrand::Label2_Click()
{
    FocusControl(window_, Window, "txtTotalflightpath");
}

void frmPevrand::fraUnitsIn_Click()
{
    SetFocus(control("optEnergyIn"));
}

void frmPevrand::fraUnitsOut_Click()
{
    SetFocus(control("optEnergyOut"));
}

// A click clears the output even on the option already selected.
void frmPevrand::fraUnitsIn_OptionClick()
{
    clearOutput();
}

void frmPevrand::fraUnitsOut_OptionClick()
{
    clearOutput();
}

} // namespace pevrand::win32
