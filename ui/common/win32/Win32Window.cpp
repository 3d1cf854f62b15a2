#include "Win32Window.h"

#include "resources/ProgramIdentity.h"
#include "ui/common/FontFamilies.h"

#include <commctrl.h>

#include <algorithm>
#include <array>
#include <vector>

namespace pevrand::win32
{
namespace
{

constexpr UINT_PTR KeyboardSubclass = 1;
// The dialog font never shrinks below this many pixels at 96 DPI.
constexpr int SmallestDialogPixels = 9;

struct Keyboard {
    HWND Window;
    const WindowDesign *Design;
    KeyHandler *Keys;
};

int Scaled(int pixelsAt96, int dpi)
{
    return MulDiv(pixelsAt96, dpi, StandardDpi);
}

int CALLBACK NoteFace(const LOGFONTW *, const TEXTMETRICW *, DWORD, LPARAM found)
{
    *reinterpret_cast<bool *>(found) = true;
    return 0;
}

bool FaceExists(const wchar_t *face)
{
    LOGFONTW wanted{};
    wanted.lfCharSet = DEFAULT_CHARSET;
    lstrcpynW(wanted.lfFaceName, face, LF_FACESIZE);
    bool found = false;
    HDC screen = GetDC(nullptr);
    EnumFontFamiliesExW(screen, &wanted, NoteFace, reinterpret_cast<LPARAM>(&found), 0);
    ReleaseDC(nullptr, screen);
    return found;
}

// The design's face, or the first of its stand-ins present, in the order every toolkit tries.
std::wstring FaceFor(std::string_view family)
{
    if (const FaceFamilies *known = FindFaceFamilies(family))
        return AvailableFace(known->Families);
    return Widen(family);
}

HFONT MakeDesignFont(const FontDesign &font, int dpi)
{
    LOGFONTW face{};
    face.lfHeight = -static_cast<LONG>(font.Points * dpi / 72.0 + 0.5);
    face.lfWeight = FW_NORMAL;
    face.lfItalic = font.Italic ? TRUE : FALSE;
    face.lfCharSet = DEFAULT_CHARSET;
    face.lfQuality = CLEARTYPE_QUALITY;
    const std::wstring name = FaceFor(font.Family);
    lstrcpynW(face.lfFaceName, name.c_str(), LF_FACESIZE);
    return CreateFontIndirectW(&face);
}

LOGFONTW SystemDialogFont(int dpi)
{
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (!SystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0,
                                    static_cast<UINT>(dpi))) {
        // The stock dialog face, at its size on a screen of 96 DPI.
        LOGFONTW fallback{};
        GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof fallback, &fallback);
        fallback.lfHeight = -Scaled(11, dpi);
        return fallback;
    }
    return metrics.lfMessageFont;
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

// The pixels a caption's text may take in its control: the box less the radio mark of an
// option, a push button's edges, a frame's corners.
int TextRoom(const ControlDesign &design, int width, int dpi)
{
    switch (design.Kind) {
    case ControlKind::Option:
        return width - GetSystemMetricsForDpi(SM_CXMENUCHECK, static_cast<UINT>(dpi)) -
               Scaled(4, dpi);
    case ControlKind::Button:
        return width - Scaled(6, dpi);
    case ControlKind::Frame:
        return width - Scaled(16, dpi);
    default:
        return width;
    }
}

std::string_view NameOf(const WindowDesign &design, HWND window, HWND control)
{
    if (GetParent(control) != window)
        return {};
    const ControlDesign *found = DesignOf(design, control);
    return found ? found->Name : std::string_view{};
}

void PressButton(HWND window, HWND button)
{
    SendMessageW(window, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED),
                 reinterpret_cast<LPARAM>(button));
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

// A label shows only where no control made after it lies (the input box lies over the end of
// its label): its window keeps its designed box, its visible region loses the overlaps.
void ShowUnderLaterControls(const WindowDesign &design, const ControlDesign &label, HWND child,
                            int dpi)
{
    const RECT own = PixelRect(ClientBox(design, label), dpi);
    HRGN visible = CreateRectRgn(0, 0, own.right - own.left, own.bottom - own.top);
    bool later = false;
    for (const ControlDesign &control : design.Controls) {
        if (&control == &label) {
            later = true;
            continue;
        }
        if (!later || ClassOf(control.Kind) == nullptr)
            continue;
        const RECT other = PixelRect(ClientBox(design, control), dpi);
        RECT overlap{};
        if (IntersectRect(&overlap, &own, &other)) {
            HRGN hole = CreateRectRgn(overlap.left - own.left, overlap.top - own.top,
                                      overlap.right - own.left, overlap.bottom - own.top);
            CombineRgn(visible, visible, hole, RGN_DIFF);
            DeleteObject(hole);
        }
    }
    SetWindowRgn(child, visible, TRUE); // the window owns the region from here on
}

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

// The designed tooltips, shown by one tooltip window of `window`, which goes with it.
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

} // namespace

std::wstring AvailableFace(std::span<const std::string_view> families)
{
    for (std::string_view family : families)
        if (!family.empty() && FaceExists(Widen(family).c_str()))
            return Widen(family);
    return families.empty() ? std::wstring() : Widen(families.front());
}

std::wstring Widen(std::string_view text)
{
    if (text.empty())
        return {};
    const int size = static_cast<int>(text.size());
    const int length = MultiByteToWideChar(CP_UTF8, 0, text.data(), size, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), size, wide.data(), length);
    return wide;
}

std::string Narrow(std::wstring_view text)
{
    if (text.empty())
        return {};
    const int size = static_cast<int>(text.size());
    const int length =
        WideCharToMultiByte(CP_UTF8, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
    std::string narrow(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), size, narrow.data(), length, nullptr, nullptr);
    return narrow;
}

std::string WindowText(HWND window)
{
    const int length = GetWindowTextLengthW(window);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const int copied = GetWindowTextW(window, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(std::max(copied, 0)));
    return Narrow(text);
}

void SetText(HWND window, std::string_view text)
{
    SetWindowTextW(window, Widen(text).c_str());
}

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

int WindowDpi(HWND window)
{
    const UINT dpi = window ? GetDpiForWindow(window) : 0;
    return dpi ? static_cast<int>(dpi) : StandardDpi;
}

RECT PixelRect(TwipsRect box, int dpi)
{
    const int left = TwipsToPixels(box.Left, dpi);
    const int top = TwipsToPixels(box.Top, dpi);
    return {left, top, left + TwipsToPixels(box.Width, dpi), top + TwipsToPixels(box.Height, dpi)};
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

void PlaceControls(HWND window, const WindowDesign &design, int dpi)
{
    for (const ControlDesign &control : design.Controls) {
        if (HWND child = Control(window, design, control.Name)) {
            const RECT box = PixelRect(ClientBox(design, control), dpi);
            SetWindowPos(child, nullptr, box.left, box.top, box.right - box.left,
                         box.bottom - box.top, SWP_NOZORDER | SWP_NOACTIVATE);
            if (control.Kind == ControlKind::Label)
                ShowUnderLaterControls(design, control, child, dpi);
            // A frame lets the mouse through to the window: its tooltip is an area of that.
            if (HWND tips = static_cast<HWND>(GetPropW(window, ToolTipsProperty));
                tips && control.Kind == ControlKind::Frame) {
                TTTOOLINFOW tool = FrameTool(window, design, control);
                tool.rect = box;
                SendMessageW(tips, TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&tool));
            }
        }
    }
}

void PlaceWindow(HWND window, const WindowDesign &design, int dpi, HWND over)
{
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE));
    const auto exStyle = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_EXSTYLE));
    RECT frame{0, 0, TwipsToPixels(design.ClientWidth, dpi),
               TwipsToPixels(design.ClientHeight, dpi)};
    AdjustWindowRectExForDpi(&frame, style, FALSE, exStyle, static_cast<UINT>(dpi));
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;

    HMONITOR monitor = MonitorFromWindow(over ? over : window, MONITOR_DEFAULTTOPRIMARY);
    MONITORINFO info{};
    info.cbSize = sizeof info;
    GetMonitorInfoW(monitor, &info);
    const RECT work = info.rcWork;
    RECT centre = work;
    if (over && IsWindowVisible(over))
        GetWindowRect(over, &centre);
    int left = (centre.left + centre.right - width) / 2;
    int top = (centre.top + centre.bottom - height) / 2;
    // The whole frame, title bar included, inside the work area where it fits.
    left =
        std::max(static_cast<int>(work.left), std::min(left, static_cast<int>(work.right) - width));
    top =
        std::max(static_cast<int>(work.top), std::min(top, static_cast<int>(work.bottom) - height));
    SetWindowPos(window, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

WindowFonts::~WindowFonts()
{
    Release();
}

void WindowFonts::Release()
{
    for (HFONT *font : {&dialog_, &caption_, &second_}) {
        if (*font)
            DeleteObject(*font);
        *font = nullptr;
    }
}

HFONT WindowFonts::Font(const FontDesign &font) const
{
    if (font.Family.empty())
        return dialog_;
    if (caption_ && font.Family == captionDesign_.Family && font.Italic == captionDesign_.Italic)
        return caption_;
    if (second_ && font.Family == secondDesign_.Family && font.Italic == secondDesign_.Italic)
        return second_;
    return dialog_;
}

bool CaptionFits(HWND control, const ControlDesign &design, HFONT font, int dpi)
{
    std::wstring text = Widen(WindowText(control));
    if (text.empty() || design.Kind == ControlKind::TextBox)
        return true;
    RECT client{};
    GetClientRect(control, &client);
    const int room = TextRoom(design, client.right, dpi);
    HDC dc = GetDC(control);
    HGDIOBJ before = SelectObject(dc, font);
    RECT needed{0, 0, room, 0};
    UINT format = DT_CALCRECT | (design.Kind == ControlKind::Label ? DT_WORDBREAK : DT_SINGLELINE);
    if (AccessKey(design.Caption) == 0 && design.Kind == ControlKind::Label)
        format |= DT_NOPREFIX;
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &needed, format);
    // A label breaks only between words: a word wider than the box is cut. A frame's caption
    // sits on its top edge, so only its width counts.
    bool fits = needed.right <= room;
    if (design.Kind != ControlKind::Frame)
        fits = fits && needed.bottom <= client.bottom;
    SelectObject(dc, before);
    ReleaseDC(control, dc);
    return fits;
}

void WindowFonts::Apply(HWND window, const WindowDesign &design, int dpi)
{
    // The controls keep the old fonts until they have the new ones.
    WindowFonts old;
    std::swap(old.dialog_, dialog_);
    std::swap(old.caption_, caption_);
    std::swap(old.second_, second_);
    for (const ControlDesign &control : design.Controls) {
        if (control.Font.Family.empty() || Font(control.Font) != dialog_)
            continue;
        if (!caption_) {
            caption_ = MakeDesignFont(control.Font, dpi);
            captionDesign_ = control.Font;
        } else if (!second_) {
            second_ = MakeDesignFont(control.Font, dpi);
            secondDesign_ = control.Font;
        }
    }

    LOGFONTW face = SystemDialogFont(dpi);
    const LONG largest = std::abs(face.lfHeight);
    const LONG smallest = Scaled(SmallestDialogPixels, dpi);
    for (LONG height = largest; height >= std::min(smallest, largest); --height) {
        face.lfHeight = -height;
        HFONT candidate = CreateFontIndirectW(&face);
        bool all = true;
        for (const ControlDesign &control : design.Controls)
            if (HWND child = Control(window, design, control.Name);
                child && control.Font.Family.empty())
                all = all && CaptionFits(child, control, candidate, dpi);
        if (dialog_)
            DeleteObject(dialog_);
        dialog_ = candidate;
        dialogHeight_ = static_cast<int>(height);
        if (all)
            break;
    }
    for (const ControlDesign &control : design.Controls)
        if (HWND child = Control(window, design, control.Name))
            SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(Font(control.Font)), TRUE);
}

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

void ClickOption(HWND window, const WindowDesign &design, const ControlDesign &option)
{
    for (const ControlDesign *other : FrameOptions(design, option.Frame))
        SendMessageW(Control(window, design, other->Name), BM_SETCHECK,
                     other == &option ? BST_CHECKED : BST_UNCHECKED, 0);
    HWND control = Control(window, design, option.Name);
    PressButton(window, control);
}

void ShowProgramMessage(HWND owner, std::string_view text)
{
    MessageBoxW(owner, Widen(text).c_str(), Widen(PEVRAND_TITLE).c_str(),
                MB_OK | MB_APPLMODAL | MB_SETFOREGROUND);
}

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
        RemovePropW(window, ToolTipsProperty);
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
