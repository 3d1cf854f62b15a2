// Drives the real Pevrand.exe under Wine the way a user or an assistive tool could: it starts
// the program, finds its window by title, and works only through window messages (text set and
// read, button clicks, posted keys) and the message boxes it finds by their title. The Convert
// command's core is linked in as the oracle for every result and message.
//
//   program_driver PEVRAND_EXE CHECK
//
// CHECK is one of startup, pairs, messages, clearing, keys, about, lifetime, dpi. Prints PASS
// or FAIL with the evidence for each row and a closing count; exits non-zero when a row failed.
#include "ui/about/AboutWindowDesign.h"
#include "ui/main/ConvertCommand.h"
#include "ui/main/MainWindowDesign.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace
{

using namespace pevrand;
using main_window::Window;
namespace about = about_window;

int failures = 0;

void Row(const std::string &name, bool passed, const std::string &evidence = {})
{
    std::printf("%s %s%s%s\n", passed ? "PASS" : "FAIL", name.c_str(), evidence.empty() ? "" : ": ",
                evidence.c_str());
    std::fflush(stdout);
    failures += passed ? 0 : 1;
}

std::wstring Widen(std::string_view text)
{
    std::wstring wide(text.size() + 1, L'\0');
    const int length = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                           wide.data(), static_cast<int>(wide.size()));
    wide.resize(static_cast<std::size_t>(std::max(length, 0)));
    return wide;
}

std::string Narrow(std::wstring_view text)
{
    std::string narrow(text.size() * 3 + 1, '\0');
    const int length =
        WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), narrow.data(),
                            static_cast<int>(narrow.size()), nullptr, nullptr);
    narrow.resize(static_cast<std::size_t>(std::max(length, 0)));
    return narrow;
}

void Pause(int milliseconds)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

// Polls `done` every 20 ms for up to `milliseconds`; true once it holds.
bool WaitFor(const std::function<bool()> &done, int milliseconds = 5000)
{
    for (int waited = 0; waited < milliseconds; waited += 20) {
        if (done())
            return true;
        Pause(20);
    }
    return done();
}

// ---- the program's windows, seen from outside -------------------------------------------

std::string Text(HWND window)
{
    wchar_t text[512] = {};
    DWORD_PTR length = 0;
    SendMessageTimeoutW(window, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text), SMTO_NORMAL, 5000,
                        &length);
    return Narrow(std::wstring_view(text, length));
}

std::string ClassOf(HWND window)
{
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return Narrow(name);
}

struct Program {
    PROCESS_INFORMATION Process{};
    HWND Main = nullptr;

    HWND Control(std::string_view name) const
    {
        return GetDlgItem(Main, Window.FirstControlId + ControlIndex(Window, name));
    }
    std::string Output() const { return Text(Control("txtOutputVal")); }
    bool Checked(std::string_view option) const
    {
        return SendMessageW(Control(option), BM_GETCHECK, 0, 0) == BST_CHECKED;
    }
    // The control with the keyboard focus in the program, or null.
    HWND Focus() const
    {
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        return GetGUIThreadInfo(Process.dwThreadId, &info) ? info.hwndFocus : nullptr;
    }
    std::string FocusName() const
    {
        const HWND focus = Focus();
        for (const ControlDesign &control : Window.Controls)
            if (focus != nullptr && Control(control.Name) == focus)
                return std::string(control.Name);
        return focus == nullptr ? "(nothing)" : "(" + ClassOf(focus) + " " + Text(focus) + ")";
    }
    bool Running() const { return WaitForSingleObject(Process.hProcess, 0) == WAIT_TIMEOUT; }
};

// The visible top-level windows of a process with a given title.
struct WindowSearch {
    DWORD Process;
    std::wstring Title;
    std::vector<HWND> Found;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM data)
{
    auto &search = *reinterpret_cast<WindowSearch *>(data);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    wchar_t text[128] = {};
    GetWindowTextW(window, text, 128);
    if (owner == search.Process && IsWindowVisible(window) && search.Title == text)
        search.Found.push_back(window);
    return TRUE;
}

std::vector<HWND> WindowsOf(DWORD process, const std::wstring &title)
{
    WindowSearch search{process, title, {}};
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&search));
    return search.Found;
}

// The first visible top-level window of process `process` with title `title`, or null.
HWND FindWindowOf(DWORD process, const std::wstring &title)
{
    const auto found = WindowsOf(process, title);
    return found.empty() ? nullptr : found.front();
}

int CountWindowsOf(DWORD process, const std::wstring &title)
{
    return static_cast<int>(WindowsOf(process, title).size());
}

std::wstring WindowsPath(std::string path)
{
    if (!path.empty() && path[0] == '/')
        path = "Z:" + path; // Wine's drive Z: is the Unix root
    for (char &c : path)
        c = c == '/' ? '\\' : c;
    return Widen(path);
}

std::optional<Program> Start(const std::string &exe)
{
    Program program;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    std::wstring command = L"\"" + WindowsPath(exe) + L"\"";
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &program.Process)) {
        Row("Pevrand.exe starts", false, "CreateProcess error " + std::to_string(GetLastError()));
        return std::nullopt;
    }
    const std::wstring title = Widen(Window.Caption);
    if (!WaitFor([&] { return (program.Main = FindWindowOf(program.Process.dwProcessId, title)); },
                 20000)) {
        Row("the main window appears", false, "no window \"" + std::string(Window.Caption) + "\"");
        TerminateProcess(program.Process.hProcess, 1);
        return std::nullopt;
    }
    WaitForInputIdle(program.Process.hProcess, 5000);
    return program;
}

void Stop(Program &program)
{
    if (program.Running()) {
        TerminateProcess(program.Process.hProcess, 1);
        WaitForSingleObject(program.Process.hProcess, 5000);
    }
    CloseHandle(program.Process.hThread);
    CloseHandle(program.Process.hProcess);
}

// ---- acting on the window -----------------------------------------------------------------

void SetText(const Program &program, std::string_view box, std::string_view text)
{
    const std::wstring wide = Widen(text);
    SendMessageW(program.Control(box), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(wide.c_str()));
}

// The message box the program shows: its text, owner and buttons.
struct MessageSeen {
    std::string Text;
    HWND Owner = nullptr;
    int Buttons = 0;
    bool Icon = false;
};

// The open message box of the program (title "Pevrand"), or null.
HWND MessageBoxOf(const Program &program)
{
    return FindWindowOf(program.Process.dwProcessId, Widen(PEVRAND_TITLE));
}

// Reads the open message box and presses its OK; empty when none came within `milliseconds`.
std::optional<MessageSeen> TakeMessage(const Program &program, int milliseconds)
{
    HWND box = nullptr;
    if (!WaitFor([&] { return (box = MessageBoxOf(program)); }, milliseconds))
        return std::nullopt;
    MessageSeen seen;
    seen.Owner = GetWindow(box, GW_OWNER);
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        const std::string kind = ClassOf(child);
        const LONG style = GetWindowLongW(child, GWL_STYLE);
        if (kind == "Button" && IsWindowVisible(child))
            ++seen.Buttons;
        else if (kind == "Static" && (style & SS_TYPEMASK) == SS_ICON)
            seen.Icon = seen.Icon || SendMessageW(child, STM_GETICON, 0, 0) != 0;
        else if (kind == "Static" && !Text(child).empty())
            seen.Text = Text(child);
    }
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    WaitFor([&] { return !IsWindow(box); });
    return seen;
}

// Presses a button with BM_CLICK. A message box it opens is read and closed; returns it.
std::optional<MessageSeen> Click(const Program &program, std::string_view button)
{
    DWORD_PTR ignored = 0;
    if (SendMessageTimeoutW(program.Control(button), BM_CLICK, 0, 0, SMTO_NORMAL, 500, &ignored))
        return std::nullopt;
    auto seen = TakeMessage(program, 5000);
    // The click's handler goes on after the box has closed.
    SendMessageTimeoutW(program.Main, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &ignored);
    return seen;
}

// Posts a key to the focused control, as the keyboard would: key down, key up. Alt keys come
// as system keys with the context bit set.
void PostKey(const Program &program, WORD key, bool alt = false)
{
    const HWND target = program.Focus() ? program.Focus() : program.Main;
    const LPARAM context = alt ? (1 << 29) : 0;
    const UINT down = alt ? WM_SYSKEYDOWN : WM_KEYDOWN;
    const UINT up = alt ? WM_SYSKEYUP : WM_KEYUP;
    PostMessageW(target, down, key, 1 | context);
    PostMessageW(target, up, key, 1 | context | (1 << 30) | (1u << 31));
}

// Waits until the program has handled everything posted so far and no message box came; the
// message box when one did.
std::optional<MessageSeen> Settle(const Program &program)
{
    auto seen = TakeMessage(program, 400);
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(program.Main, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &ignored);
    return seen;
}

// The name of the focused control once it is `wanted`, or after 2 s whatever it is then:
// Windows gives the focus back to a window's control a moment after a message box has gone.
std::string FocusOnceSettled(const Program &program, const std::string &wanted)
{
    WaitFor([&] { return program.FocusName() == wanted; }, 2000);
    return program.FocusName();
}

// Clicks the control `name` with the mouse, near its top left corner. A frame lets a click
// through to the window beneath (it answers HTTRANSPARENT), so a click on a frame's lower
// edge, below its options, is the main window's.
void ClickInto(const Program &program, std::string_view name)
{
    HWND target = program.Control(name);
    POINT at{3, 3};
    if (FindControl(Window, name)->Kind == ControlKind::Frame) {
        RECT frame{};
        GetWindowRect(target, &frame);
        MapWindowPoints(nullptr, program.Main, reinterpret_cast<POINT *>(&frame), 2);
        at = {frame.left + 8, frame.bottom - 4};
        target = program.Main;
    }
    PostMessageW(target, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
    PostMessageW(target, WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
    Settle(program);
}

// Sets the three entry texts and the two unit choices, as clicks.
void Enter(const Program &program, const ConvertRequest &request)
{
    SetText(program, "txtInputVal", request.InputText);
    SetText(program, "txtTwotheta", request.TwoThetaText);
    SetText(program, "txtTotalflightpath", request.FlightPathText);
    for (const ControlDesign &option : Window.Controls) {
        if (option.Kind != ControlKind::Option)
            continue;
        const auto &wanted = option.Frame == "fraUnitsIn" ? request.Input : request.Output;
        if (wanted == option.Unit)
            Click(program, option.Name);
    }
}

std::string QuantityName(Quantity unit)
{
    for (const ControlDesign &option : Window.Controls)
        if (option.Unit == unit && option.Frame == "fraUnitsIn")
            return std::string(option.Name.substr(3, option.Name.size() - 5));
    return "?";
}

std::string FocusName(FocusTarget target, const std::string &before)
{
    switch (target) {
    case FocusTarget::Unchanged:
        return before;
    case FocusTarget::InputVal:
        return "txtInputVal";
    case FocusTarget::TwoTheta:
        return "txtTwotheta";
    case FocusTarget::TotalFlightPath:
        return "txtTotalflightpath";
    case FocusTarget::EnergyIn:
        return "optEnergyIn";
    case FocusTarget::EnergyOut:
        return "optEnergyOut";
    }
    return "?";
}

// ---- the checks ---------------------------------------------------------------------------

// The window as it opens, and every control as the table gives it.
void Startup(Program &program)
{
    Row("title", Text(program.Main) == Window.Caption, Text(program.Main));
    Row("start-up result 25 meV to wavelength", program.Output() == "1.8087", program.Output());
    Row("value box holds 25", Text(program.Control("txtInputVal")) == "25");
    Row("angle and flight path boxes empty",
        Text(program.Control("txtTwotheta")).empty() &&
            Text(program.Control("txtTotalflightpath")).empty());
    const std::string focus = FocusOnceSettled(program, "txtInputVal");
    Row("focus in the value box", focus == "txtInputVal", focus);
    std::string checked;
    for (const ControlDesign &option : Window.Controls)
        if (option.Kind == ControlKind::Option && program.Checked(option.Name))
            checked += std::string(option.Name) + " ";
    Row("selected: optEnergyIn and optWavelengthOut only",
        checked == "optEnergyIn optWavelengthOut ", checked);
    Row("output box read-only",
        (GetWindowLongW(program.Control("txtOutputVal"), GWL_STYLE) & ES_READONLY) != 0);

    // Each control a standard window of its kind, showing its designed caption.
    for (const ControlDesign &control : Window.Controls) {
        if (control.Kind == ControlKind::Line || control.Kind == ControlKind::Picture)
            continue;
        const HWND window = program.Control(control.Name);
        const LONG type = GetWindowLongW(window, GWL_STYLE) & BS_TYPEMASK;
        std::string expected;
        bool style = true;
        switch (control.Kind) {
        case ControlKind::Label:
            expected = "Static";
            break;
        case ControlKind::TextBox:
            expected = "Edit";
            break;
        case ControlKind::Frame:
            expected = "Button";
            style = type == BS_GROUPBOX;
            break;
        case ControlKind::Option:
            expected = "Button";
            style = type == BS_AUTORADIOBUTTON;
            break;
        case ControlKind::Button:
            expected = "Button";
            style = type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON;
            break;
        default:
            break;
        }
        const bool caption =
            control.Kind == ControlKind::TextBox || Text(window) == control.Caption;
        Row("control " + std::string(control.Name) + ": " + expected + ", designed caption",
            window != nullptr && ClassOf(window) == expected && style && caption,
            window == nullptr ? "no window" : ClassOf(window) + " \"" + Text(window) + "\"");
    }
}

// Every control at its designed twips converted at `dpi`, in the main window's client area.
void Geometry(Program &program, int dpi)
{
    RECT client{};
    GetClientRect(program.Main, &client);
    const int width = TwipsToPixels(Window.ClientWidth, dpi);
    const int height = TwipsToPixels(Window.ClientHeight, dpi);
    Row("client area " + std::to_string(width) + "x" + std::to_string(height) + " at " +
            std::to_string(dpi) + " DPI",
        client.right == width && client.bottom == height,
        std::to_string(client.right) + "x" + std::to_string(client.bottom));
    for (const ControlDesign &control : Window.Controls) {
        if (control.Kind == ControlKind::Line || control.Kind == ControlKind::Picture)
            continue;
        RECT box{};
        GetWindowRect(program.Control(control.Name), &box);
        MapWindowPoints(nullptr, program.Main, reinterpret_cast<POINT *>(&box), 2);
        const TwipsRect twips = ClientBox(Window, control);
        const RECT want{TwipsToPixels(twips.Left, dpi), TwipsToPixels(twips.Top, dpi),
                        TwipsToPixels(twips.Left, dpi) + TwipsToPixels(twips.Width, dpi),
                        TwipsToPixels(twips.Top, dpi) + TwipsToPixels(twips.Height, dpi)};
        auto shown = [](RECT r) {
            return std::to_string(r.left) + "," + std::to_string(r.top) + " " +
                   std::to_string(r.right - r.left) + "x" + std::to_string(r.bottom - r.top);
        };
        Row(std::string(control.Name) + " at " + shown(want), EqualRect(&box, &want) != 0,
            shown(box));
    }
}

// All 100 pairs of units, each against RunConvert on the same texts.
void Pairs(Program &program)
{
    const std::initializer_list<Quantity> units{
        Quantity::Energy,   Quantity::Wavelength,  Quantity::Nu,    Quantity::Velocity,
        Quantity::Momentum, Quantity::Temperature, Quantity::Invcm, Quantity::Q,
        Quantity::Dspacing, Quantity::Tof};
    for (const Quantity in : units) {
        for (const Quantity out : units) {
            const ConvertRequest request{"7.25", "60", "12.5", in, out};
            const ConvertOutcome expected = RunConvert(request);
            Enter(program, request);
            const auto message = Click(program, "cmdConvert");
            const std::string shown =
                message ? "message \"" + message->Text + "\"" : program.Output();
            const std::string wanted = expected.Message.empty()
                                           ? expected.OutputText
                                           : "message \"" + expected.Message + "\"";
            Row("7.25 " + QuantityName(in) + " to " + QuantityName(out) + " = " + wanted,
                shown == wanted, shown);
        }
    }
}

struct MessageRow {
    const char *Name;
    ConvertRequest Request;
    const char *Message;
    const char *Focus; // empty: where it was (on Convert, which was clicked)
};

// Every message the window can reach, with its box and its focus move; never a result beside it.
void Messages(Program &program)
{
    using Q = Quantity;
    const MessageRow rows[] = {
        {"empty value",
         {"", "", "", Q::Energy, Q::Wavelength},
         "No input value specified",
         "txtInputVal"},
        {"value 0", {"0", "", "", Q::Energy, Q::Wavelength}, "Non-positive values not allowed", ""},
        {"value of blanks",
         {"  ", "", "", Q::Energy, Q::Wavelength},
         "Non-positive values not allowed",
         ""},
        {"flight path needed, empty",
         {"5", "", "", Q::Energy, Q::Tof},
         "Total flight path not specified",
         "txtTotalflightpath"},
        {"flight path 0",
         {"5", "", "0", Q::Tof, Q::Energy},
         "Total flight path must be positive",
         "txtTotalflightpath"},
        {"angle needed, empty",
         {"5", "", "", Q::Energy, Q::Q},
         "Scattering angle not specified",
         "txtTwotheta"},
        {"angle 181",
         {"5", "181", "", Q::Dspacing, Q::Energy},
         "2 theta must be in the range 0 to 180 degrees",
         "txtTwotheta"},
        {"angle 0 for d-spacing",
         {"5", "0", "", Q::Energy, Q::Dspacing},
         "2 theta must be greater than 0 for this conversion",
         "txtTwotheta"},
        {"decimal comma",
         {"2,5", "", "", Q::Energy, Q::Wavelength},
         "Use a period as the decimal point",
         "txtInputVal"},
        {"square overflows",
         {"1e20", "", "", Q::Energy, Q::Wavelength},
         "Value out of range for this conversion",
         "txtInputVal"},
    };
    for (const MessageRow &row : rows) {
        // A result on show first: the message must take it away.
        Enter(program, {"25", "", "", Quantity::Energy, Quantity::Wavelength});
        Click(program, "cmdConvert");
        Enter(program, row.Request);
        const auto seen = Click(program, "cmdConvert");
        const std::string wantFocus = *row.Focus ? row.Focus : "cmdConvert";
        const std::string focus = FocusOnceSettled(program, wantFocus);
        const ConvertOutcome oracle = RunConvert(row.Request);
        Row(std::string(row.Name) + ": \"" + row.Message + "\", focus " + wantFocus +
                ", output empty",
            seen && seen->Text == row.Message && oracle.Message == row.Message &&
                FocusName(oracle.Focus, "cmdConvert") == wantFocus && focus == wantFocus &&
                program.Output().empty(),
            (seen ? "\"" + seen->Text + "\"" : std::string("no message")) + ", focus " + focus +
                ", output \"" + program.Output() + "\"");
        if (seen)
            Row(std::string(row.Name) + ": box owned by the main window, one OK, no icon",
                seen->Owner == program.Main && seen->Buttons == 1 && !seen->Icon,
                std::to_string(seen->Buttons) + " buttons" + (seen->Icon ? ", an icon" : "") +
                    (seen->Owner == program.Main ? "" : ", another owner"));
    }
}

struct ClearingRow {
    const char *Name;
    Quantity In, Out;
    std::function<void(const Program &)> Act;
    bool Clears;
};

// Which changes take a shown result away, and which leave it.
void Clearing(Program &program)
{
    using Q = Quantity;
    auto typeInto = [](const char *box) {
        return [box](const Program &p) {
            ClickInto(p, box);
            PostMessageW(p.Control(box), WM_CHAR, '1', 1);
        };
    };
    auto click = [](const char *option) {
        return [option](const Program &p) { Click(p, option); };
    };
    const ClearingRow rows[] = {
        {"typing in the value box", Q::Energy, Q::Wavelength, typeInto("txtInputVal"), true},
        {"another input unit", Q::Energy, Q::Wavelength, click("optNuIn"), true},
        {"another output unit", Q::Energy, Q::Wavelength, click("optNuOut"), true},
        {"the selected input unit again", Q::Energy, Q::Wavelength, click("optEnergyIn"), true},
        {"time-of-flight in", Q::Energy, Q::Wavelength, click("optTofIn"), true},
        {"time-of-flight out", Q::Energy, Q::Wavelength, click("optTofOut"), true},
        {"angle typed, angle needed (energy to Q)", Q::Energy, Q::Q, typeInto("txtTwotheta"), true},
        {"angle typed, not needed (Q to d-spacing)", Q::Q, Q::Dspacing, typeInto("txtTwotheta"),
         false},
        {"angle typed, not needed (energy to wavelength)", Q::Energy, Q::Wavelength,
         typeInto("txtTwotheta"), false},
        {"flight path typed, needed (energy to time-of-flight)", Q::Energy, Q::Tof,
         typeInto("txtTotalflightpath"), true},
        {"flight path typed, not needed (time-of-flight both sides)", Q::Tof, Q::Tof,
         typeInto("txtTotalflightpath"), false},
        {"flight path typed, not needed (energy to wavelength)", Q::Energy, Q::Wavelength,
         typeInto("txtTotalflightpath"), false},
    };
    for (const ClearingRow &row : rows) {
        Enter(program, {"3", "90", "10", row.In, row.Out});
        Click(program, "cmdConvert");
        const std::string before = program.Output();
        row.Act(program);
        Settle(program);
        const std::string after = program.Output();
        Row(std::string(row.Name) + (row.Clears ? ": output cleared" : ": result stays"),
            !before.empty() && after.empty() == row.Clears,
            "\"" + before + "\" -> \"" + after + "\"");
    }
}

// Enter, access keys, arrow keys and the Tab order, as posted keys.
void Keys(Program &program)
{
    // Enter in each entry box converts.
    for (const char *box : {"txtInputVal", "txtTwotheta", "txtTotalflightpath"}) {
        Enter(program, {"25", "", "", Quantity::Energy, Quantity::Wavelength});
        Click(program, "optEnergyIn"); // the output cleared
        ClickInto(program, box);
        PostKey(program, VK_RETURN);
        const auto message = Settle(program);
        Row(std::string("Enter in ") + box + " converts", program.Output() == "1.8087" && !message,
            "output \"" + program.Output() + "\", focus " + program.FocusName());
    }

    struct AccessRow {
        char Key;
        const char *Focus;
        const char *Selected; // the option selected by the key, or empty
    };
    const AccessRow access[] = {{'S', "txtTwotheta", ""},
                                {'I', "txtInputVal", ""},
                                {'T', "txtTotalflightpath", ""},
                                {'E', "optEnergyIn", "optEnergyIn"},
                                {'N', "optEnergyOut", "optEnergyOut"}};
    for (const AccessRow &row : access) {
        Enter(program, {"25", "", "", Quantity::Nu, Quantity::Nu});
        Click(program, "cmdConvert");
        PostKey(program, static_cast<WORD>(row.Key), true);
        Settle(program);
        const bool selected = !*row.Selected || program.Checked(row.Selected);
        Row(std::string("Alt+") + row.Key + " to " + row.Focus +
                (*row.Selected ? " and selects it, output cleared" : ""),
            FocusOnceSettled(program, row.Focus) == row.Focus && selected &&
                (!*row.Selected || program.Output().empty()),
            "focus " + program.FocusName() + ", output \"" + program.Output() + "\"");
    }
    Enter(program, {"25", "", "", Quantity::Energy, Quantity::Wavelength});
    SetText(program, "txtInputVal", "25");
    PostKey(program, 'C', true);
    Settle(program);
    Row("Alt+C converts", program.Output() == "1.8087", program.Output());

    struct ArrowRow {
        const char *From;
        WORD Key;
        const char *To;
    };
    const ArrowRow arrows[] = {
        {"optEnergyIn", VK_DOWN, "optWavelengthIn"}, {"optWavelengthIn", VK_UP, "optEnergyIn"},
        {"optTofIn", VK_DOWN, "optEnergyIn"},        {"optEnergyOut", VK_UP, "optTofOut"},
        {"optNuOut", VK_RIGHT, "optVelocityOut"},    {"optNuOut", VK_LEFT, "optWavelengthOut"}};
    Enter(program, {"25", "90", "10", Quantity::Energy, Quantity::Wavelength});
    for (const ArrowRow &row : arrows) {
        Click(program, row.From);    // selected, with the focus
        PostKey(program, 'C', true); // converts, the focus stays
        Settle(program);
        const std::string before = program.Output();
        PostKey(program, row.Key);
        Settle(program);
        Row(std::string(row.From) + " and an arrow key select " + row.To + ", output cleared",
            program.Checked(row.To) && !program.Checked(row.From) &&
                FocusOnceSettled(program, row.To) == row.To && !before.empty() &&
                program.Output().empty(),
            "focus " + program.FocusName() + ", output \"" + before + "\" -> \"" +
                program.Output() + "\"");
    }

    // A click on a label or a frame moves the focus to its control; it changes nothing else.
    const std::pair<const char *, const char *> clicks[] = {{"lblInputValue", "txtInputVal"},
                                                            {"lblTwotheta", "txtTwotheta"},
                                                            {"Label2", "txtTotalflightpath"},
                                                            {"fraUnitsIn", "optEnergyIn"},
                                                            {"fraUnitsOut", "optEnergyOut"}};
    for (const auto &[clicked, focus] : clicks) {
        Enter(program, {"25", "", "", Quantity::Nu, Quantity::Nu});
        Click(program, "cmdConvert");
        ClickInto(program, clicked);
        Row(std::string("a click on ") + clicked + " focuses " + focus + ", the result stays",
            FocusOnceSettled(program, focus) == focus && program.Output() == "25",
            "focus " + program.FocusName() + ", output \"" + program.Output() + "\"");
    }

    // Escape does nothing, and the output box takes no typing.
    ClickInto(program, "txtOutputVal");
    PostKey(program, VK_ESCAPE);
    PostMessageW(program.Control("txtOutputVal"), WM_CHAR, '9', 1);
    Settle(program);
    Row("Escape and typing in the output box change nothing",
        program.Output() == "25" && IsWindowVisible(program.Main) && !MessageBoxOf(program),
        "output \"" + program.Output() + "\"");

    // Tab from the value box: one stop per option group, on its selected option.
    Enter(program, {"25", "", "", Quantity::Nu, Quantity::Q});
    ClickInto(program, "txtInputVal");
    std::string visited = program.FocusName();
    for (int i = 0; i < 9; ++i) {
        PostKey(program, VK_TAB);
        Settle(program);
        visited += " " + program.FocusName();
    }
    const std::string order = "txtInputVal txtTwotheta txtTotalflightpath optNuIn optQOut "
                              "cmdConvert cmdQuit txtOutputVal cmdAbout txtInputVal";
    Row("Tab order, a group's stop on its selected option", visited == order, visited);
}

// About opens once, modeless and unowned; OK closes it.
void About(Program &program)
{
    const std::wstring title = Widen(about::Window.Caption);
    const DWORD id = program.Process.dwProcessId;
    Click(program, "cmdAbout");
    HWND about = nullptr;
    WaitFor([&] { return (about = FindWindowOf(id, title)); });
    Row("About opens \"About Pevrand\"", about != nullptr);
    Click(program, "cmdAbout");
    PostKey(program, 'A', true);
    Settle(program);
    Row("About pressed three times: one window", CountWindowsOf(id, title) == 1,
        std::to_string(CountWindowsOf(id, title)) + " windows");
    Row("About has no owner", about && GetWindow(about, GW_OWNER) == nullptr);
    Enter(program, {"4", "", "", Quantity::Wavelength, Quantity::Nu});
    Click(program, "cmdConvert");
    Row("the main window stays usable beside it", program.Output() == "1.2361", program.Output());
    const HWND ok =
        GetDlgItem(about, about::Window.FirstControlId + ControlIndex(about::Window, "cmdOK"));
    SendMessageTimeoutW(ok, BM_CLICK, 0, 0, SMTO_NORMAL, 5000, nullptr);
    Row("OK closes it", WaitFor([&] { return !IsWindow(about); }));
    Row("the program runs on with its main window", program.Running() && IsWindow(program.Main));
}

// The program ends only when its last window has closed.
void Lifetime(Program &program, const std::string &exe)
{
    const std::wstring title = Widen(about::Window.Caption);
    Click(program, "cmdAbout");
    HWND about = nullptr;
    WaitFor([&] { return (about = FindWindowOf(program.Process.dwProcessId, title)); });
    PostMessageW(program.Control("cmdQuit"), BM_CLICK, 0, 0);
    const bool mainGone = WaitFor([&] { return !IsWindow(program.Main); });
    Pause(500);
    Row("Quit with About open: the main window closes, the program runs on",
        mainGone && program.Running() && about && IsWindow(about));
    PostMessageW(about, WM_SYSCOMMAND, SC_CLOSE, 0);
    const bool ended = WaitForSingleObject(program.Process.hProcess, 10000) == WAIT_OBJECT_0;
    DWORD code = 1;
    GetExitCodeProcess(program.Process.hProcess, &code);
    Row("closing About, the last window, ends the program", ended && code == 0,
        "exit code " + std::to_string(code));

    auto again = Start(exe);
    if (!again)
        return;
    PostMessageW(again->Main, WM_SYSCOMMAND, SC_CLOSE, 0);
    const bool closed = WaitForSingleObject(again->Process.hProcess, 10000) == WAIT_OBJECT_0;
    Row("the close box alone ends the program", closed);
    Stop(*again);
}

} // namespace

int main(int argc, char **argv)
{
    SetProcessDPIAware(); // real pixels, as the program itself is per-monitor aware
    if (argc != 3) {
        std::fprintf(stderr, "usage: program_driver PEVRAND_EXE "
                             "startup|pairs|messages|clearing|keys|about|lifetime|dpi\n");
        return 2;
    }
    const std::string exe = argv[1], check = argv[2];
    auto program = Start(exe);
    if (!program)
        return 1;
    if (check == "startup") {
        Startup(*program);
        Geometry(*program, 96);
    } else if (check == "dpi") {
        Geometry(*program, 144);
    } else if (check == "pairs") {
        Pairs(*program);
    } else if (check == "messages") {
        Messages(*program);
    } else if (check == "clearing") {
        Clearing(*program);
    } else if (check == "keys") {
        Keys(*program);
    } else if (check == "about") {
        About(*program);
    } else if (check == "lifetime") {
        Lifetime(*program, exe);
    } else {
        std::fprintf(stderr, "no such check: %s\n", check.c_str());
        Stop(*program);
        return 2;
    }
    Stop(*program);
    std::printf("%s: %d failed\n", check.c_str(), failures);
    return failures == 0 ? 0 : 1;
}
